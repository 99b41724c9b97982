// Losing a life: one spare life fewer (or game over when none is left), a fresh countdown,
// and the marble back at the start, at rest and upright, seen from the start side.
#include "physics/PhysicsWorld.h"

#include <glm/gtc/matrix_transform.hpp>

#include "assets/Sphere.h"
#include "level/LevelTable.h"
#include "physics/Camera.h"

void PhysicsWorld::loseLife(RaceState& race, StepResult& result, LifeLoss cause) {
    result.lifeLost = true;
    result.lostBy = cause;
    race.lastLoss = cause;
    race.lastLossTime = race.simulationTime;
    int remaining = race.lives - 1;
    if (remaining >= 0) {
        race.lives = remaining;
        race.remainingTime = RaceState::timeLimit;
    } else {
        // No spare life left: the countdown stays spent and the marble waits at the start.
        race.outcome = RaceState::Outcome::GameOver;
    }
    respawn();
}

void PhysicsWorld::respawn() {
    velocity = glm::vec3(0.0f);
    lastForward = glm::vec3(0.0f, 0.0f, -1.0f);
    if (marble != nullptr)
        marble->setTransform(glm::translate(glm::mat4(1.0f), level::startPosition));
    if (camera != nullptr)
        camera->setMatrix(respawnView());
}
