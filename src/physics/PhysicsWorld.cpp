#include "physics/PhysicsWorld.h"

#include <cmath>

#include "assets/Sphere.h"
#include "physics/Camera.h"
#include "physics/CollisionWorld.h"
#include "platform/Input.h"
#include "platform/Keys.h"
#include "scene/Clock.h"

namespace {

const glm::vec3 gravity(0.0f, -42.0f, 0.0f);
const float steeringAcceleration = 24.0f;
const float dragFactor = 0.45f;
const float restSpeed = 0.001f;
// Below this share of the eye-to-marble distance a horizontal offset is rounding noise.
const float minHorizontalShare = 1e-4f;

enum SteeringBit { Forward = 1, Left = 2, Back = 4, Right = 8 };

} // namespace

PhysicsWorld::PhysicsWorld(Scene* scene, Camera* camera, Sphere* marble, Skybox* skybox,
                           Model** groundModels, int groundCount, Model** staticModels,
                           int staticCount, AnimationModel** animatedModels, int animatedCount,
                           Model* finishArea, int planeCount, Model** planeModels, Model* sawBeam,
                           Model* sawBlade)
    : scene(scene), camera(camera), marble(marble), skybox(skybox), velocity(0.0f),
      collisionWorld(new CollisionWorld(groundModels, groundCount, staticModels, staticCount,
                                        animatedModels, animatedCount, finishArea, planeCount,
                                        planeModels, sawBeam, sawBlade)) {}

PhysicsWorld::~PhysicsWorld() {
    delete collisionWorld;
}

// A fall restarts the step from the start position once; should the start itself fall
// out, the marble simply waits there for the next frame.
void PhysicsWorld::step() {
    runStep(1);
}

int PhysicsWorld::readKeyMask() const {
    int mask = 0;
    if (platform::isKeyDown(GLFW_KEY_W))
        mask |= Forward;
    if (platform::isKeyDown(GLFW_KEY_A))
        mask |= Left;
    if (platform::isKeyDown(GLFW_KEY_S))
        mask |= Back;
    if (platform::isKeyDown(GLFW_KEY_D))
        mask |= Right;
    return mask;
}

void PhysicsWorld::runStep(int repeatsLeft) {
    if (marble == nullptr || camera == nullptr)
        return;
    // Touching a deadly obstacle costs the life whatever the frame's length.
    if (collisionWorld->touchesDeadlyObstacle(marble->getBoundingCenter()))
        loseLife();

    const float dt = static_cast<float>(Clock::instance()->getFrameTime());
    // The velocity comes from dividing by dt: a frame without time moves nothing.
    if (!(dt > 0.0f) || !std::isfinite(dt)) {
        followCamera();
        centreSkybox();
        return;
    }

    steer(readKeyMask(), dt);
    velocity = velocity + gravity * dt;
    glm::vec3 displacement = velocity * dt;
    const glm::vec3 start = marble->getBoundingCenter();
    glm::vec3 end = collisionWorld->collideAndSlide(start, displacement, 0);

    if (collisionWorld->fallsOut(end, displacement)) {
        loseLife();
        if (repeatsLeft > 0) {
            runStep(repeatsLeft - 1);
        } else {
            followCamera();
            centreSkybox();
        }
        return;
    }

    // The slide keeps the speed along the surface; what pointed into it is gone.
    velocity = displacement / dt;
    marble->roll(end - marble->getBoundingCenter());
    followCamera();
    centreSkybox();
}

void PhysicsWorld::steer(int keyMask, float dt) {
    const glm::vec3 m = marble->getBoundingCenter();
    const glm::vec3 e = camera->getPosition();
    glm::vec3 f(m.x - e.x, 0.0f, m.z - e.z);
    // With the eye straight above the marble (or on it) there is no forward: keep the last.
    if (glm::length(f) > minHorizontalShare * glm::length(m - e) && std::isfinite(f.x + f.z))
        lastForward = glm::normalize(f);
    f = lastForward;

    glm::vec3 a(0.0f);
    if (keyMask & Forward)
        a += f;
    if (keyMask & Left)
        a += glm::vec3(f.z, 0.0f, -f.x);
    if (keyMask & Back)
        a += glm::vec3(-f.x, 0.0f, -f.z);
    if (keyMask & Right)
        a += glm::vec3(-f.z, 0.0f, f.x);
    if (glm::length(a) != 0.0f)
        a = glm::normalize(a);

    velocity = (velocity + (a * steeringAcceleration) * dt) - (velocity * dragFactor) * dt;
    if (glm::length(velocity) < restSpeed)
        velocity = glm::vec3(0.0f);
}
