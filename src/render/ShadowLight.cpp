#include "render/ShadowLight.h"

#include <glm/gtc/matrix_transform.hpp>

namespace shadowlight {

const glm::mat4& view() {
    static const glm::mat4 matrix =
        glm::lookAt(position, glm::vec3(0.0f, 0.0f, -130.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    return matrix;
}

const glm::mat4& projection() {
    static const glm::mat4 matrix = glm::perspective(glm::radians(90.0f), 1.0f, 220.0f, 260.0f);
    return matrix;
}

const glm::mat4& textureMatrix() {
    static const glm::mat4 matrix = [] {
        glm::mat4 bias(1.0f);
        bias[3] = glm::vec4(0.5f, 0.5f, 0.5f, 1.0f);
        glm::mat4 scale(1.0f);
        scale[0][0] = scale[1][1] = scale[2][2] = 0.5f;
        return bias * scale * projection() * view();
    }();
    return matrix;
}

} // namespace shadowlight
