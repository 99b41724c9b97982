#include "render/ScreenBounds.h"

#include <cmath>

namespace {

// Signed distance to the near plane in clip space (z >= -w is in front of it).
float inFront(const glm::vec4& p) {
    return p.z + p.w;
}

bool finite(const glm::vec4& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z) && std::isfinite(p.w);
}

void include(ScreenBounds& bounds, bool& any, const glm::vec4& p) {
    // In front of the near plane of a projection w is positive; a matrix that puts a point
    // there without it cannot bound the mesh, so the whole view is taken.
    glm::vec2 low(-1.0f), high(1.0f);
    if (p.w > 0.0f)
        low = high = glm::vec2(p) / p.w;
    bounds.low = any ? glm::min(bounds.low, low) : low;
    bounds.high = any ? glm::max(bounds.high, high) : high;
    any = true;
}

// The part of the triangle in front of the near plane, vertex by vertex.
void includeClipped(ScreenBounds& bounds, bool& any, const glm::vec4 (&corner)[3]) {
    for (int i = 0; i < 3; ++i) {
        const glm::vec4& a = corner[i];
        const glm::vec4& b = corner[(i + 1) % 3];
        float da = inFront(a), db = inFront(b);
        if (da >= 0.0f)
            include(bounds, any, a);
        if ((da >= 0.0f) != (db >= 0.0f))
            include(bounds, any, a + (b - a) * (da / (da - db)));
    }
}

} // namespace

ScreenBounds screenBoundsOf(const glm::vec4* positions, int vertexCount,
                            const unsigned int* indices, int indexCount, const glm::mat4& clip) {
    ScreenBounds bounds;
    if (!positions || !indices)
        return bounds;
    bool any = false;
    for (int t = 0; t + 2 < indexCount; t += 3) {
        glm::vec4 corner[3];
        bool usable = true;
        for (int k = 0; k < 3; ++k) {
            unsigned int index = indices[t + k];
            usable = usable && index < static_cast<unsigned int>(vertexCount);
            if (usable)
                corner[k] = clip * positions[index];
        }
        if (!usable)
            continue;
        if (!finite(corner[0]) || !finite(corner[1]) || !finite(corner[2]))
            return ScreenBounds{glm::vec2(-1.0f), glm::vec2(1.0f)};
        includeClipped(bounds, any, corner);
    }
    if (!any)
        return ScreenBounds();
    bounds.low = glm::clamp(bounds.low, glm::vec2(-1.0f), glm::vec2(1.0f));
    bounds.high = glm::clamp(bounds.high, glm::vec2(-1.0f), glm::vec2(1.0f));
    return bounds;
}
