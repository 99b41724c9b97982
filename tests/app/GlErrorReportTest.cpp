#include <gtest/gtest.h>

#include <GL/glew.h>

#include "GlTestContext.h"
#include "PrintedOutput.h"
#include "app/Game.h"
#include "hud/BitmapFont.h"
#include "hud/HudMatrix.h"
#include "render/Projection.h"
#include "scene/Scene.h"

namespace {

TEST(CheckGLError, ReportsOneErrorAFrameWithItsText) {
    if (!ensureGlContext())
        GTEST_SKIP() << "no display";
    Game game;
    while (glGetError() != GL_NO_ERROR) {
    }
    // Mesa keeps a single error flag, so each frame here raises one error of its own.
    glEnable(0xFFFF);
    EXPECT_EQ(printedBy([&] { game.checkGLError(); }), "GL: enum argument out of range.\n");

    glLineWidth(-1.0f);
    EXPECT_EQ(printedBy([&] { game.checkGLError(); }), "GL: Numeric argument out of range.\n");

    EXPECT_EQ(printedBy([&] { game.checkGLError(); }), "");
}

TEST(OnWindowResize, SetsViewportAndBothMatrices) {
    if (!ensureGlContext())
        GTEST_SKIP() << "no display";
    Game game;
    Scene scene;
    BitmapFont font("data/basicFont_0.tga", "data/basicFont.fnt");
    game.setScene(&scene);
    game.setFont(&font);
    game.onWindowResize(201, 99);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 201);
    EXPECT_EQ(viewport[3], 99);
    EXPECT_EQ(game.windowWidth(), 201);
    EXPECT_EQ(font.getHudMatrix(), computeHudMatrix(201, 99));
    EXPECT_EQ(scene.getProjectionMatrix(), computeProjectionMatrix(201, 99));
}

} // namespace
