#pragma once

#include <cstdint>

#include <glm/glm.hpp>

class Shader;

// Everything flat on the screen: text in a BMFont bitmap font, full-window pictures and the
// life icons, drawn in HUD coordinates (origin at the window centre, y up, one unit a pixel).
class BitmapFont {
  public:
    struct Glyph {
        uint16_t x, y, width, height, xoffset, yoffset, xadvance, page;
    };

    BitmapFont(const char* textureFile, const char* fontFile);
    ~BitmapFont();
    BitmapFont(const BitmapFont&) = delete;
    BitmapFont& operator=(const BitmapFont&) = delete;

    void loadShader();
    void drawText(const char* text, float x, float y, bool leftToRight);
    void drawQuad(float x, float y, unsigned int texture, float width, float height);
    void drawIcons(int count, unsigned int texture, float width, float height);

    const Glyph& glyph(unsigned char code) const { return glyphs[code]; }
    uint16_t getLineHeight() const { return lineHeight; }
    uint16_t getBase() const { return base; }
    uint16_t getScaleW() const { return scaleW; }
    uint16_t getScaleH() const { return scaleH; }
    uint16_t getPages() const { return pages; }
    unsigned int getTexture() const { return fontTexture; }

  private:
    Shader* hudShader = nullptr;
    unsigned int fontTexture = 0;
    uint16_t lineHeight = 0;
    uint16_t base = 0;
    uint16_t scaleW = 0;
    uint16_t scaleH = 0;
    uint16_t pages = 0;
    Glyph glyphs[256] = {};
    glm::vec4* quadVertices = nullptr;
};
