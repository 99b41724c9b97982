#include "physics/Camera.h"

#include <glm/gtc/matrix_transform.hpp>

void Camera::lookAt(const glm::vec3& eye, const glm::vec3& centre) {
    view = glm::lookAt(eye, centre, glm::vec3(0.0f, 1.0f, 0.0f));
}

glm::vec3 Camera::getPosition() const {
    return glm::vec3(glm::inverse(view) * glm::vec4(0.0f, 0.0f, 0.0f, 1.0f));
}
