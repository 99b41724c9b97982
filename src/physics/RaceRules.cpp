// Losing a life: one spare life fewer (or game over when none is left), a fresh countdown,
// and the marble back at the start, at rest and upright, seen from the start side.
#include "physics/PhysicsWorld.h"

#include <glm/gtc/matrix_transform.hpp>

#include "app/AppState.h"
#include "assets/Sphere.h"
#include "physics/Camera.h"
#include "scene/LevelTable.h"
#include "scene/Scene.h"

void PhysicsWorld::loseLife() {
    int remaining = getLives() - 1;
    if (remaining >= 0) {
        setLives(remaining);
        if (scene != nullptr)
            scene->resetTime();
    } else {
        // No spare life left: the countdown stays spent, so every later frame lands here
        // again and keeps the marble at the start.
        setGameOver();
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
    centreSkybox();
}
