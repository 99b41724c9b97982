#pragma once

#include <glm/glm.hpp>

#include "physics/RaceInput.h"
#include "physics/RaceState.h"
#include "physics/StepResult.h"

class Camera;
class Sphere;
class Model;
class AnimationModel;
class CollisionWorld;

// The marble's motion: steering relative to the camera, drag and gravity, the sweep with
// sliding, the race's rules (deadly obstacles, falling out, the finish), rolling, and the
// chase camera. It reads no keys and no clock: each step is handed its time, the player's
// command and the race's state, and says what happened.
class PhysicsWorld {
  public:
    PhysicsWorld(Camera* camera, Sphere* marble, Model** groundModels, int groundCount,
                 Model** staticModels, int staticCount, AnimationModel** animatedModels,
                 int animatedCount, Model* finishArea, int planeCount, Model** planeModels,
                 Model* sawBeam, Model* sawBlade);
    ~PhysicsWorld();
    PhysicsWorld(const PhysicsWorld&) = delete;
    PhysicsWorld& operator=(const PhysicsWorld&) = delete;

    // One step of dt seconds steered by input. The race's lives, countdown and outcome change
    // by the rules; a race already over is left as it is by the caller.
    StepResult step(float dt, const RaceInput& input, RaceState& race);
    // One spare life fewer (game over when none is left), a fresh countdown, and the marble
    // back at the start; the race and the result keep why.
    void loseLife(RaceState& race, StepResult& result, LifeLoss cause);
    // The marble back at the start, at rest, seen from the start side.
    void respawn();
    void followCamera();

    glm::vec3 getVelocity() const { return velocity; }
    void setVelocity(const glm::vec3& v) { velocity = v; }
    CollisionWorld* getCollisionWorld() const { return collisionWorld; }

    // The view a respawned marble is first seen with: it only picks the side the chase
    // camera comes from.
    static glm::mat4 respawnView();

  private:
    // repeatsLeft bounds how often a fall may restart the step within one frame.
    void runStep(float dt, const RaceInput& input, RaceState& race, StepResult& result,
                 int repeatsLeft);
    void steer(const RaceInput& input, float dt);

    Camera* camera;
    Sphere* marble;
    glm::vec3 velocity;
    CollisionWorld* collisionWorld;
    glm::vec3 lastForward{0.0f, 0.0f, -1.0f};
};
