#pragma once

#include <cstdint>
#include <vector>

#include <glm/glm.hpp>

struct FontDescription;

// The corners, texture coordinates and triangle indices of one string in a bitmap font, in
// HUD coordinates. Character i always owns corners 4i to 4i+3 and indices 6i to 6i+5,
// whichever direction the pen runs.
class TextLayout {
  public:
    // (x, y) is the pen at the top of the line: of the first glyph left to right, of the
    // last glyph right to left. Bytes index the glyph table as unsigned values.
    TextLayout(const FontDescription& font, const char* text, float x, float y, bool leftToRight);

    const std::vector<glm::vec4>& positions() const { return corners; }
    const std::vector<glm::vec2>& texCoords() const { return coords; }
    const std::vector<uint32_t>& indices() const { return triangleIndices; }
    int indexCount() const { return static_cast<int>(triangleIndices.size()); }

  private:
    void placeGlyph(const FontDescription& font, unsigned char code, size_t i, int16_t pen, float x,
                    float y);

    std::vector<glm::vec4> corners;
    std::vector<glm::vec2> coords;
    std::vector<uint32_t> triangleIndices;
};
