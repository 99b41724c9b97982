#pragma once

#include <cstdint>

#include <glm/glm.hpp>

#include "hud/FontDescription.h"
#include "hud/Glyph.h"

class Shader;

// Everything flat on the screen: text in a BMFont bitmap font, full-window pictures and the
// life icons, drawn in HUD coordinates (origin at the window centre, y up, one unit a pixel).
class BitmapFont {
  public:
    using Glyph = ::Glyph;

    // A font file that cannot be read is named and leaves its glyphs empty (or those it held
    // before it broke off); the font still draws. Without a linked HUD program nothing is drawn.
    BitmapFont(const char* textureFile, const char* fontFile);
    ~BitmapFont();
    BitmapFont(const BitmapFont&) = delete;
    BitmapFont& operator=(const BitmapFont&) = delete;

    void loadShader();
    // The window's size in pixels, which HUD coordinates span (1024 x 768 until told).
    void setScreenSize(int width, int height);
    const glm::mat4& getHudMatrix() const { return hudMatrix; }
    // (x, y) is the pen at the top of the line: of the first glyph left to right, of the
    // last glyph right to left. A scale above 1 draws the glyphs that much larger from there.
    void drawText(const char* text, float x, float y, bool leftToRight, float scale = 1.0f);
    // The whole texture on a rectangle with its top-left corner at (x, y).
    void drawQuad(float x, float y, unsigned int texture, float width, float height);
    // One to three copies side by side in the top-left corner; other counts draw nothing.
    void drawIcons(int count, unsigned int texture, float width, float height);

    const Glyph& glyph(unsigned char code) const { return font.glyphs[code]; }
    uint16_t getLineHeight() const { return font.lineHeight; }
    uint16_t getBase() const { return font.base; }
    uint16_t getScaleW() const { return font.scaleW; }
    uint16_t getScaleH() const { return font.scaleH; }
    uint16_t getPages() const { return font.pages; }
    unsigned int getTexture() const { return fontTexture; }
    const FontDescription& description() const { return font; }
    Shader* getShader() const { return hudShader; }

  private:
    void bindForDrawing(unsigned int texture);

    Shader* hudShader = nullptr;
    unsigned int fontTexture = 0;
    FontDescription font;
    glm::vec4* quadVertices = nullptr;
    glm::mat4 hudMatrix;
};
