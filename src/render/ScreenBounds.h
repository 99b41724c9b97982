#pragma once

#include <glm/glm.hpp>

// The rectangle of normalised device coordinates (x and y within [-1, 1]) that a triangle
// mesh can cover under a clip matrix. Triangles are cut at the near plane first, so a mesh
// that reaches behind the eye is still bounded by what lies in front of it.
struct ScreenBounds {
    glm::vec2 low{1.0f};
    glm::vec2 high{-1.0f};
    // Nothing of the mesh reaches the view (or it shows only edge-on).
    bool isEmpty() const { return !(low.x < high.x && low.y < high.y); }
};

// Positions are (x, y, z, 1) in the mesh's own space; `clip` takes them to clip space.
// Indices at or beyond `vertexCount` are skipped. Coordinates that are not finite give the
// whole view, which is never wrong for a caller that only saves work outside the bounds.
ScreenBounds screenBoundsOf(const glm::vec4* positions, int vertexCount,
                            const unsigned int* indices, int indexCount, const glm::mat4& clip);
