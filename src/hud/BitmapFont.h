#pragma once

#include <cstdint>

#include <glm/glm.hpp>

#include "hud/FontDescription.h"
#include "hud/Glyph.h"
#include "hud/HudRect.h"

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
    inline static const glm::vec4 white{1.0f, 1.0f, 1.0f, 1.0f};

    // (x, y) is the pen at the top of the line: of the first glyph left to right, of the
    // last glyph right to left. A scale above 1 draws the glyphs that much larger from there.
    // The colour multiplies the glyphs' own (white: as the font page has them).
    void drawText(const char* text, float x, float y, bool leftToRight, float scale = 1.0f,
                  const glm::vec4& colour = white);
    // The whole texture on a rectangle with its top-left corner at (x, y).
    void drawQuad(float x, float y, unsigned int texture, float width, float height);
    // One to three copies side by side, the first with its top-left corner at topLeft (the
    // window's top-left corner unless told), each the next one spacing further right; other
    // counts draw nothing.
    void drawIcons(int count, unsigned int texture, float width, float height,
                   glm::vec2 topLeft = {-520.0f, 380.0f}, float spacing = 50.0f);

    // How far the pen moves over the text at scale 1: the sum of its glyphs' advances.
    float textWidth(const char* text) const;
    // What drawText with these arguments covers: from the pen's line top down one line height,
    // across the glyphs' advances and whatever ink reaches beyond them.
    HudRect textBox(const char* text, float x, float y, bool leftToRight, float scale = 1.0f) const;

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
    void bindForDrawing(unsigned int texture, const glm::vec4& colour);

    Shader* hudShader = nullptr;
    unsigned int fontTexture = 0;
    FontDescription font;
    glm::vec4* quadVertices = nullptr;
    glm::mat4 hudMatrix;
};
