#pragma once

#include <glm/glm.hpp>

#include "physics/RaceInput.h"

class Scene;
class Camera;
class Sphere;
class Skybox;
class Model;
class AnimationModel;
class CollisionWorld;

// The marble's motion: steering relative to the camera, drag and gravity, the sweep with
// sliding, the race events (deadly obstacles, falling out, the finish), rolling, and the
// chase camera with the skybox following it.
class PhysicsWorld {
  public:
    PhysicsWorld(Scene* scene, Camera* camera, Sphere* marble, Skybox* skybox, Model** groundModels,
                 int groundCount, Model** staticModels, int staticCount,
                 AnimationModel** animatedModels, int animatedCount, Model* finishArea,
                 int planeCount, Model** planeModels, Model* sawBeam, Model* sawBlade);
    ~PhysicsWorld();
    PhysicsWorld(const PhysicsWorld&) = delete;
    PhysicsWorld& operator=(const PhysicsWorld&) = delete;

    // One step of this frame's time with the player's steering.
    void step();
    void step(float dt, const RaceInput& input);
    void loseLife();
    // The marble back at the start, at rest, seen from the start side.
    void respawn();
    void followCamera();
    void centreSkybox();

    glm::vec3 getVelocity() const { return velocity; }
    void setVelocity(const glm::vec3& v) { velocity = v; }
    CollisionWorld* getCollisionWorld() const { return collisionWorld; }

    // The view a respawned marble is first seen with: it only picks the side the chase
    // camera comes from.
    static glm::mat4 respawnView();
    // The W, A, S, D keys as they are held now.
    static RaceInput keyboardInput();
    // What the player asks for now: the keyboard and the gamepad together.
    static RaceInput playerInput();

  private:
    // repeatsLeft bounds how often a fall may restart the step within one frame.
    void runStep(float dt, const RaceInput& input, int repeatsLeft);
    void steer(const RaceInput& input, float dt);

    Scene* scene;
    Camera* camera;
    Sphere* marble;
    Skybox* skybox;
    glm::vec3 velocity;
    CollisionWorld* collisionWorld;
    glm::vec3 lastForward{0.0f, 0.0f, -1.0f};
};
