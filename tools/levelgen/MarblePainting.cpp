#include "MarblePainting.h"

#include <algorithm>
#include <cmath>

#include "Image.h"
#include "Noise.h"

void paintMarble(Image& image, glm::vec2 centre, glm::vec2 radius) {
    const glm::vec3 light = glm::normalize(glm::vec3(-0.5f, 0.6f, 0.65f));
    for (int y = static_cast<int>(centre.y - radius.y) - 1; y <= centre.y + radius.y + 1; ++y) {
        for (int x = static_cast<int>(centre.x - radius.x) - 1; x <= centre.x + radius.x + 1; ++x) {
            glm::vec2 q = (glm::vec2(x + 0.5f, y + 0.5f) - centre) / radius;
            float r2 = glm::dot(q, q);
            float coverage = std::clamp(
                (1.0f - std::sqrt(r2)) * std::min(radius.x, radius.y) + 0.5f, 0.0f, 1.0f);
            if (coverage <= 0.0f)
                continue;
            glm::vec3 n(q.x, q.y, std::sqrt(std::max(0.0f, 1.0f - r2)));
            float vein = std::pow(1.0f - std::abs(std::sin(6.0f * n.x + 3.0f * n.y +
                                                           4.0f * noise::solid(n * 2.5f, 401u))),
                                  18.0f);
            glm::vec3 base = glm::mix(glm::vec3(0.04f, 0.04f, 0.05f), glm::vec3(0.85f), vein);
            float diffuse = std::max(0.0f, glm::dot(n, light));
            float specular = std::pow(
                std::max(0.0f, glm::dot(glm::reflect(-light, n), glm::vec3(0, 0, 1))), 40.0f);
            glm::vec3 c = base * (0.25f + 0.85f * diffuse) + glm::vec3(0.9f) * specular;
            c += glm::vec3(0.10f, 0.14f, 0.22f) * std::pow(1.0f - n.z, 3.0f); // sky rim light
            image.blend(x, y, glm::vec4(c, 1.0f), coverage);
        }
    }
}
