#include "hud/BitmapFont.h"

#include <GL/glew.h>

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

// The icons' top-left corners: the life counter in the window's top-left corner.
const float iconLeft = -520.0f;
const float iconTop = 380.0f;
const float iconSpacing = 50.0f;
const int maxIcons = 3;

} // namespace

BitmapFont::BitmapFont(const char* textureFile, const char* fontFile)
    : hudMatrix(computeHudMatrix(1024, 768)) {
    glGenTextures(1, &fontTexture);
    loadTexture(textureFile, &fontTexture, 0, true, false);

    FontParser parser(font);
    if (!parser.parseFile(fontFile)) {
        std::cout << "Error while reading font file." << std::endl;
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

void BitmapFont::bindForDrawing(unsigned int texture) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    hudShader->setInt(0, "colorTexture");
    glm::mat4 view = hudMatrix;
    glUniformMatrix4fv(glGetUniformLocation(hudShader->program(), "view"), 1, GL_FALSE,
                       glm::value_ptr(view));
}

void BitmapFont::drawText(const char* text, float x, float y, bool leftToRight, float scale) {
    if (!hudShader || !hudShader->isUsable())
        return;
    TextLayout layout(font, text, x, y, leftToRight);
    std::vector<glm::vec4> corners = layout.positions();
    const glm::vec4 pen(x, y, 0.0f, 0.0f);
    for (glm::vec4& corner : corners)
        corner = pen + (corner - pen) * glm::vec4(scale, scale, 1.0f, 1.0f);

    glDisable(GL_DEPTH_TEST);
    glUseProgram(hudShader->program());
    bindForDrawing(fontTexture);
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
    bindForDrawing(texture);
    hudShader->drawTextured(quadVertices, quadTexCoords, quadIndices, 6);
    glEnable(GL_DEPTH_TEST);
}

void BitmapFont::drawIcons(int count, unsigned int texture, float width, float height) {
    if (count < 1 || count > maxIcons)
        return;
    for (int i = 0; i < count; ++i)
        drawQuad(iconLeft + iconSpacing * static_cast<float>(i), iconTop, texture, width, height);
}
