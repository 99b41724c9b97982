#include "render/Projection.h"

#include <glm/gtc/matrix_transform.hpp>

glm::mat4 computeProjectionMatrix(int width, int height) {
    // A minimised window reports 0 x 0; keep the aspect finite instead of dividing by zero.
    float aspect = height > 0 ? static_cast<float>(width) / static_cast<float>(height) : 1.0f;
    if (aspect <= 0.0f)
        aspect = 1.0f;
    return glm::perspective(glm::radians(60.0f), aspect, 0.1f, 1000.0f);
}
