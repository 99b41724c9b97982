#include "physics/PhysicsWorld.h"

#include <algorithm>
#include <cmath>

#include "assets/Sphere.h"
#include "physics/Camera.h"
#include "physics/CollisionWorld.h"

namespace {

const glm::vec3 gravity(0.0f, -42.0f, 0.0f);
const float steeringAcceleration = 24.0f;
const float dragFactor = 0.45f;
const float restSpeed = 0.001f;
// Below this share of the eye-to-marble distance a horizontal offset is rounding noise.
const float minHorizontalShare = 1e-4f;

} // namespace

PhysicsWorld::PhysicsWorld(Camera* camera, Sphere* marble, Model** groundModels, int groundCount,
                           Model** staticModels, int staticCount, AnimationModel** animatedModels,
                           int animatedCount, Model* finishArea, int planeCount,
                           Model** planeModels, Model* sawBeam, Model* sawBlade)
    : camera(camera), marble(marble), velocity(0.0f),
      collisionWorld(new CollisionWorld(groundModels, groundCount, staticModels, staticCount,
                                        animatedModels, animatedCount, finishArea, planeCount,
                                        planeModels, sawBeam, sawBlade)) {}

PhysicsWorld::~PhysicsWorld() {
    delete collisionWorld;
}

// A fall restarts the step from the start position once; should the start itself fall
// out, the marble simply waits there for the next step.
StepResult PhysicsWorld::step(float dt, const RaceInput& input, RaceState& race) {
    StepResult result;
    runStep(dt, input, race, result, 1);
    result.gameOver = race.isGameOver();
    result.speed = glm::length(velocity);
    return result;
}

void PhysicsWorld::runStep(float dt, const RaceInput& input, RaceState& race, StepResult& result,
                           int repeatsLeft) {
    if (marble == nullptr || camera == nullptr)
        return;
    // Touching a deadly obstacle costs the life whatever the step's length. The last life
    // lost ends the race with the marble held at the start.
    const LifeLoss hit = collisionWorld->deadlyObstacleAt(marble->getBoundingCenter());
    if (hit != LifeLoss::None) {
        loseLife(race, result, hit);
        if (race.isOver())
            return;
    }

    // The velocity comes from dividing by dt: a step without time moves nothing.
    if (!(dt > 0.0f) || !std::isfinite(dt)) {
        followCamera();
        return;
    }

    steer(input, dt);
    velocity = velocity + gravity * dt;
    glm::vec3 displacement = velocity * dt;
    const glm::vec3 unslid = displacement;
    const glm::vec3 start = marble->getBoundingCenter();
    glm::vec3 end = collisionWorld->collideAndSlide(start, displacement, 0);

    // The marble stops on the finish: what it would have done after it (a fall through the
    // meadow under a long step's unslid displacement) must not cost the won race a life.
    if (collisionWorld->finishReached()) {
        race.outcome = RaceState::Outcome::Won;
        race.winningTime = race.simulationTime;
        result.finishReached = true;
        velocity = glm::vec3(0.0f);
        marble->roll(end - marble->getBoundingCenter());
        followCamera();
        return;
    }

    if (collisionWorld->fallsOut(end, displacement)) {
        loseLife(race, result, LifeLoss::OffCourse);
        if (repeatsLeft > 0 && !race.isOver())
            runStep(dt, input, race, result, repeatsLeft - 1);
        else
            followCamera();
        return;
    }

    // The slide keeps the speed along the surface; what pointed into it is gone, and that
    // loss is how hard the marble met the surface.
    velocity = displacement / dt;
    result.touching = displacement != unslid;
    result.impactSpeed = std::max(result.impactSpeed, glm::length(unslid - displacement) / dt);
    marble->roll(end - marble->getBoundingCenter());
    followCamera();
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
