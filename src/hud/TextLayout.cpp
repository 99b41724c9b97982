#include "hud/TextLayout.h"

#include <cstring>

#include "hud/FontDescription.h"

namespace {

int16_t asSigned(uint16_t value) {
    return static_cast<int16_t>(value);
}

// The pen is a 16-bit counter; advancing it wraps the way the stored values do.
int16_t advance(int16_t pen, uint16_t step, bool forward) {
    uint16_t raw = static_cast<uint16_t>(pen);
    raw = static_cast<uint16_t>(forward ? raw + step : raw - step);
    return static_cast<int16_t>(raw);
}

// A page size of zero only comes from a broken or missing font file; its glyphs are empty
// anyway, so map them to the texture's corner instead of dividing by zero.
float toTexture(int pixels, uint16_t size) {
    return size == 0 ? 0.0f : static_cast<float>(pixels) / static_cast<float>(size);
}

} // namespace

TextLayout::TextLayout(const FontDescription& font, const char* text, float x, float y,
                       bool leftToRight) {
    size_t n = text ? std::strlen(text) : 0;
    corners.resize(4 * n);
    coords.resize(4 * n);
    triangleIndices.resize(6 * n);

    int16_t pen = 0;
    for (size_t step = 0; step < n; ++step) {
        size_t i = leftToRight ? step : n - 1 - step;
        unsigned char code = static_cast<unsigned char>(text[i]);
        // Right to left, each glyph steps back by its own advance before it is placed, so
        // glyphs of different widths keep their spacing; the last glyph still starts at x.
        if (!leftToRight && step > 0)
            pen = advance(pen, font.glyphs[code].xadvance, false);
        placeGlyph(font, code, i, pen, x, y);
        if (leftToRight)
            pen = advance(pen, font.glyphs[code].xadvance, true);
    }
}

void TextLayout::placeGlyph(const FontDescription& font, unsigned char code, size_t i, int16_t pen,
                            float x, float y) {
    const Glyph& g = font.glyphs[code];
    int glyphX = asSigned(g.x);
    int glyphY = asSigned(g.y);
    int width = asSigned(g.width);
    int height = asSigned(g.height);
    int xoffset = asSigned(g.xoffset);
    int yoffset = asSigned(g.yoffset);

    float left = static_cast<float>(pen) + x + static_cast<float>(xoffset);
    float right = left + static_cast<float>(width);
    float top = y - static_cast<float>(yoffset);
    float bottom = y - static_cast<float>(height + yoffset);

    float u0 = toTexture(glyphX, font.scaleW);
    float u1 = toTexture(glyphX + width, font.scaleW);
    // Texture coordinates count from the bottom of the page, the font file from its top.
    float vBottom = 1.0f - toTexture(glyphY + height, font.scaleH);
    float vTop = 1.0f - toTexture(glyphY, font.scaleH);

    size_t c = 4 * i;
    corners[c + 0] = glm::vec4(left, bottom, 0.0f, 1.0f);
    corners[c + 1] = glm::vec4(right, bottom, 0.0f, 1.0f);
    corners[c + 2] = glm::vec4(right, top, 0.0f, 1.0f);
    corners[c + 3] = glm::vec4(left, top, 0.0f, 1.0f);
    coords[c + 0] = glm::vec2(u0, vBottom);
    coords[c + 1] = glm::vec2(u1, vBottom);
    coords[c + 2] = glm::vec2(u1, vTop);
    coords[c + 3] = glm::vec2(u0, vTop);

    const uint32_t first = static_cast<uint32_t>(c);
    const uint32_t order[6] = {1, 3, 0, 1, 2, 3};
    for (int k = 0; k < 6; ++k)
        triangleIndices[6 * i + k] = first + order[k];
}
