#include "hud/BitmapFont.h"

#include <GL/glew.h>

#include <algorithm>
#include <iostream>
#include <vector>

#include <glm/gtc/type_ptr.hpp>

#include "assets/Shader.h"
#include "assets/TextureLoader.h"
#include "hud/FontParser.h"
#include "hud/HudMatrix.h"
#include "hud/TextLayout.h"
#include "platform/DataFileReport.h"
#include "platform/GlTarget.h"

namespace {

const glm::vec2 quadTexCoords[4] = {{0.0f, 0.0f}, {1.0f, 0.0f}, {1.0f, 1.0f}, {0.0f, 1.0f}};
const uint32_t quadIndices[6] = {0, 1, 2, 0, 2, 3};

const int maxIcons = 3;

} // namespace

BitmapFont::BitmapFont(const char* textureFile, const char* fontFile)
    : hudMatrix(computeHudMatrix(1024, 768)) {
    glGenTextures(1, &fontTexture);
    loadTexture(textureFile, &fontTexture, 0, true, false);

    FontParser parser(font);
    if (!parser.parseFile(fontFile)) {
        std::cerr << "Error while reading font file." << std::endl;
        reportBrokenDataFile(fontFile, parser.problem());
    }

    quadVertices = new glm::vec4[4];
}

BitmapFont::~BitmapFont() {
    delete[] quadVertices;
    delete hudShader;
    glDeleteTextures(1, &fontTexture);
}

void BitmapFont::loadShader() {
    delete hudShader;
    hudShader = new Shader();
    hudShader->loadHud("shader/hud_shader.vert", "shader/hud_shader.frag");
}

// Binds the texture to the active unit with linear filtering and points the HUD program at
// it and at the current HUD matrix; the program must already be in use.
void BitmapFont::setScreenSize(int width, int height) {
    hudMatrix = computeHudMatrix(width, height);
}

void BitmapFont::bindForDrawing(unsigned int texture, const glm::vec4& colour) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    hudShader->setInt(0, "colorTexture");
    glUniform4fv(glGetUniformLocation(hudShader->program(), "tint"), 1, glm::value_ptr(colour));
    glm::mat4 view = hudMatrix;
    glUniformMatrix4fv(glGetUniformLocation(hudShader->program(), "view"), 1, GL_FALSE,
                       glm::value_ptr(view));
}

void BitmapFont::drawText(const char* text, float x, float y, bool leftToRight, float scale,
                          const glm::vec4& colour) {
    if (!hudShader || !hudShader->isUsable())
        return;
    TextLayout layout(font, text, x, y, leftToRight);
    std::vector<glm::vec4> corners = layout.positions();
    const glm::vec4 pen(x, y, 0.0f, 0.0f);
    for (glm::vec4& corner : corners)
        corner = pen + (corner - pen) * glm::vec4(scale, scale, 1.0f, 1.0f);

    glDisable(GL_DEPTH_TEST);
    glUseProgram(hudShader->program());
    bindForDrawing(fontTexture, colour);
    hudShader->drawTextured(corners.data(), layout.texCoords().data(), layout.indices().data(),
                            layout.indexCount());
    glEnable(GL_DEPTH_TEST);
}

void BitmapFont::drawQuad(float x, float y, unsigned int texture, float width, float height) {
    if (!hudShader || !hudShader->isUsable())
        return;
    quadVertices[0] = glm::vec4(x, y - height, 0.0f, 1.0f);
    quadVertices[1] = glm::vec4(x + width, y - height, 0.0f, 1.0f);
    quadVertices[2] = glm::vec4(x + width, y, 0.0f, 1.0f);
    quadVertices[3] = glm::vec4(x, y, 0.0f, 1.0f);

    glUseProgram(hudShader->program());
    glDisable(GL_DEPTH_TEST);
    glActiveTexture(GL_TEXTURE0);
    gltarget::enableTexturing();
    bindForDrawing(texture, white);
    hudShader->drawTextured(quadVertices, quadTexCoords, quadIndices, 6);
    glEnable(GL_DEPTH_TEST);
}

void BitmapFont::drawIcons(int count, unsigned int texture, float width, float height,
                           glm::vec2 topLeft, float spacing) {
    if (count < 1 || count > maxIcons)
        return;
    for (int i = 0; i < count; ++i)
        drawQuad(topLeft.x + spacing * static_cast<float>(i), topLeft.y, texture, width, height);
}

float BitmapFont::textWidth(const char* text) const {
    float width = 0.0f;
    for (const char* c = text; c && *c; ++c)
        width += font.glyphs[static_cast<unsigned char>(*c)].xadvance;
    return width;
}

HudRect BitmapFont::textBox(const char* text, float x, float y, bool leftToRight,
                            float scale) const {
    if (!text || !*text)
        return HudRect{x, y, x, y};
    const float advance = textWidth(text) * scale;
    HudRect box{leftToRight ? x : x - advance, y - font.lineHeight * scale,
                leftToRight ? x + advance : x, y};
    TextLayout layout(font, text, x, y, leftToRight);
    for (const glm::vec4& corner : layout.positions()) {
        const glm::vec2 scaled = glm::vec2(x, y) + (glm::vec2(corner) - glm::vec2(x, y)) * scale;
        box.left = std::min(box.left, scaled.x);
        box.right = std::max(box.right, scaled.x);
        box.bottom = std::min(box.bottom, scaled.y);
        box.top = std::max(box.top, scaled.y);
    }
    return box;
}
