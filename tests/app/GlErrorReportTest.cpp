#include <gtest/gtest.h>

#include <GL/glew.h>

#include "GlTestContext.h"
#include "PrintedOutput.h"
#include "app/FrameDrawing.h"
#include "app/GamePlay.h"
#include "hud/BitmapFont.h"
#include "hud/HudMatrix.h"
#include "platform/GlErrorReport.h"
#include "render/Projection.h"
#include "scene/Scene.h"

namespace {

TEST(CheckGLError, ReportsOneErrorAFrameWithItsText) {
    if (!ensureGlContext())
        GTEST_SKIP() << "no display";
    while (glGetError() != GL_NO_ERROR) {
    }
    // Mesa keeps a single error flag, so each frame here raises one error of its own.
    glEnable(0xFFFF);
    EXPECT_EQ(printedBy([&] { platform::reportGlError(); }), "GL: enum argument out of range.\n");

    glLineWidth(-1.0f);
    EXPECT_EQ(printedBy([&] { platform::reportGlError(); }),
              "GL: Numeric argument out of range.\n");

    EXPECT_EQ(printedBy([&] { platform::reportGlError(); }), "");
}

// The frame's drawing and the game's scene each follow the window's new size.
TEST(OnWindowResize, SetsViewportAndBothMatrices) {
    if (!ensureGlContext())
        GTEST_SKIP() << "no display";
    Scene scene;
    GamePlay play;
    play.setScene(&scene);
    BitmapFont font("data/basicFont_0.tga", "data/basicFont.fnt");
    FrameDrawing drawing(1024, 768);
    drawing.setFont(&font);
    drawing.setWindowSize(201, 99);
    play.onWindowResize(201, 99);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 201);
    EXPECT_EQ(viewport[3], 99);
    EXPECT_EQ(drawing.windowWidth(), 201);
    EXPECT_EQ(font.getHudMatrix(), computeHudMatrix(201, 99));
    EXPECT_EQ(scene.getProjectionMatrix(), computeProjectionMatrix(201, 99));
    glViewport(0, 0, 1024, 768);
}

} // namespace
