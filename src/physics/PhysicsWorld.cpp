#include "physics/PhysicsWorld.h"

#include <cmath>

#include "app/AppState.h"
#include "assets/Sphere.h"
#include "physics/Camera.h"
#include "physics/CollisionWorld.h"
#include "physics/GamepadInput.h"
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

void PhysicsWorld::step() {
    step(static_cast<float>(Clock::instance()->getFrameTime()), playerInput());
}

// A fall restarts the step from the start position once; should the start itself fall
// out, the marble simply waits there for the next step.
void PhysicsWorld::step(float dt, const RaceInput& input) {
    runStep(dt, input, 1);
}

RaceInput PhysicsWorld::keyboardInput() {
    RaceInput input;
    if (platform::isKeyDown(GLFW_KEY_W))
        input.keyMask |= RaceInput::Forward;
    if (platform::isKeyDown(GLFW_KEY_A))
        input.keyMask |= RaceInput::Left;
    if (platform::isKeyDown(GLFW_KEY_S))
        input.keyMask |= RaceInput::Back;
    if (platform::isKeyDown(GLFW_KEY_D))
        input.keyMask |= RaceInput::Right;
    return input;
}

RaceInput PhysicsWorld::playerInput() {
    return combineInputs(keyboardInput(), gamepadInput(platform::gamepadState()));
}

namespace {
bool raceOver() {
    return isGameWon() || isGameOver();
}
} // namespace

void PhysicsWorld::runStep(float dt, const RaceInput& input, int repeatsLeft) {
    if (marble == nullptr || camera == nullptr)
        return;
    // Touching a deadly obstacle costs the life whatever the step's length. The last life
    // lost ends the race with the marble held at the start.
    if (collisionWorld->touchesDeadlyObstacle(marble->getBoundingCenter())) {
        loseLife();
        if (raceOver())
            return;
    }

    // The velocity comes from dividing by dt: a step without time moves nothing.
    if (!(dt > 0.0f) || !std::isfinite(dt)) {
        followCamera();
        centreSkybox();
        return;
    }

    steer(input, dt);
    velocity = velocity + gravity * dt;
    glm::vec3 displacement = velocity * dt;
    const glm::vec3 start = marble->getBoundingCenter();
    glm::vec3 end = collisionWorld->collideAndSlide(start, displacement, 0);

    // The marble stops on the finish: what it would have done after it (a fall through the
    // meadow under a long step's unslid displacement) must not cost the won race a life.
    if (isGameWon()) {
        velocity = glm::vec3(0.0f);
        marble->roll(end - marble->getBoundingCenter());
        followCamera();
        centreSkybox();
        return;
    }

    if (collisionWorld->fallsOut(end, displacement)) {
        loseLife();
        if (repeatsLeft > 0 && !raceOver()) {
            runStep(dt, input, repeatsLeft - 1);
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

void PhysicsWorld::steer(const RaceInput& input, float dt) {
    const glm::vec3 m = marble->getBoundingCenter();
    const glm::vec3 e = camera->getPosition();
    glm::vec3 f(m.x - e.x, 0.0f, m.z - e.z);
    // With the eye straight above the marble (or on it) there is no forward: keep the last.
    if (glm::length(f) > minHorizontalShare * glm::length(m - e) && std::isfinite(f.x + f.z))
        lastForward = glm::normalize(f);
    f = lastForward;
    const glm::vec3 right(-f.z, 0.0f, f.x);

    glm::vec3 a(0.0f);
    if (input.keyMask & RaceInput::Forward)
        a += f;
    if (input.keyMask & RaceInput::Left)
        a -= right;
    if (input.keyMask & RaceInput::Back)
        a -= f;
    if (input.keyMask & RaceInput::Right)
        a += right;
    if (glm::length(a) != 0.0f)
        a = glm::normalize(a);

    // A stick adds its own direction; together with the keys it never pushes harder than
    // the keys alone.
    if (input.stickX != 0.0f || input.stickY != 0.0f) {
        a += f * input.stickY + right * input.stickX;
        float length = glm::length(a);
        if (length > 1.0f)
            a /= length;
    }

    velocity = (velocity + (a * steeringAcceleration) * dt) - (velocity * dragFactor) * dt;
    if (glm::length(velocity) < restSpeed)
        velocity = glm::vec3(0.0f);
}
