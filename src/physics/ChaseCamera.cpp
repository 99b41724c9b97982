// The chase camera: after every step the eye sits 15 units from the marble and 4 above its
// centre, on the side it already was.
#include "physics/PhysicsWorld.h"

#include <glm/gtc/matrix_transform.hpp>

#include "assets/Sphere.h"
#include "level/LevelTable.h"
#include "physics/Camera.h"

namespace {

const float followDistance = 15.0f;
const float followHeight = 4.0f;
// Below this horizontal share of the eye direction the eye is as good as straight above
// or below the marble, where looking at it has no defined "up".
const float minHorizontal = 1e-4f;

} // namespace

void PhysicsWorld::followCamera() {
    if (marble == nullptr || camera == nullptr)
        return;
    const glm::vec3 m = marble->getBoundingCenter();
    const glm::vec3 toEye = camera->getPosition() - m;
    glm::vec3 d = glm::length(toEye) > 0.0f ? glm::normalize(toEye) : glm::vec3(0.0f);
    if (!(glm::length(glm::vec2(d.x, d.z)) >= minHorizontal)) {
        // No usable side to come from: stand behind the marble as last steered.
        d = -lastForward;
    }
    glm::vec3 eye = m + followDistance * d;
    eye.y = m.y + followHeight;
    camera->lookAt(eye, m);
}

glm::mat4 PhysicsWorld::respawnView() {
    const glm::mat4 identity(1.0f);
    const glm::mat4 start = glm::translate(identity, level::startPosition);
    return start * glm::translate(identity, glm::vec3(0.0f, -3.0f, -10.0f)) *
           glm::rotate(start, glm::radians(-160.0f), glm::vec3(0.0f, 1.0f, 0.0f));
}
