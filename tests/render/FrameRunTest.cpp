// Whole frames of the real level, driven without the main loop: no GL error in any of them.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cstdlib>
#include <filesystem>

#include "QuietScene.h"
#include "RenderFixture.h"
#include "TestFiles.h"
#include "level/LevelTable.h"
#include "platform/Clock.h"
#include "platform/ScriptedClock.h"
#include "scene/Scene.h"
#include "session/PlayerInput.h"

namespace {

namespace fs = std::filesystem;

TEST(FrameRun, ThreeHundredFramesOfTheLevelRaiseNoGlError) {
    if (!fixture::scene())
        GTEST_SKIP() << "no display";
    fs::path run = runDir();
    if (!fs::exists(run / level::sphereFile) || !fs::exists(run / level::path2File))
        GTEST_SKIP() << "the generated level is not in run/ yet";

    Scene* scene = new Scene();
    startSceneQuietly(*scene, run);
    scene->setViewSize(fixture::width, fixture::height);
    glViewport(0, 0, fixture::width, fixture::height);
    while (glGetError() != GL_NO_ERROR) {
    }

    Clock frameClock;
    Clock* clock = &frameClock;
    int framesWithErrors = 0;
    GLenum firstError = GL_NO_ERROR;
    for (int frame = 0; frame < 300; ++frame) {
        fixture::clock().advance(1.0 / 60.0);
        clock->tick();
        clock->countFrame();
        scene->advance(clock->getFrameTime(), playerInput());
        scene->setFrameTime(clock->getFrameTime());
        scene->render();
        GLenum error = glGetError();
        if (error != GL_NO_ERROR) {
            ++framesWithErrors;
            if (firstError == GL_NO_ERROR)
                firstError = error;
            while (glGetError() != GL_NO_ERROR) {
            }
        }
    }
    EXPECT_EQ(framesWithErrors, 0) << "first error 0x" << std::hex << firstError;
    delete scene;
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

} // namespace
