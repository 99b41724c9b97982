// The game keeps going when its data is damaged: a broken shader or a missing mesh is
// reported and the level runs without it.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "GlTestContext.h"
#include "TestFiles.h"
#include "app/AppState.h"
#include "platform/Input.h"
#include "platform/ScriptedClock.h"
#include "scene/Clock.h"
#include "scene/Scene.h"

namespace fs = std::filesystem;

namespace {

// A copy of the game's data tree in which the test may break things.
fs::path damagedTree(const std::string& name) {
    fs::path tree = fs::path(scratchDir()) / name;
    fs::path run = runDir();
    fs::create_directories(tree);
    fs::copy(run / "shader", tree / "shader", fs::copy_options::recursive);
    fs::copy(run / "models", tree / "models", fs::copy_options::recursive);
    fs::create_directory_symlink(run / "texture", tree / "texture");
    fs::create_directory_symlink(run / "data", tree / "data");
    return tree;
}

TEST(BrokenData, ABrokenShaderAndAMissingMeshAreReportedAndTheLevelRunsOn) {
    if (!ensureGlContext())
        GTEST_SKIP() << "no display";
    setenv("ALSOFT_DRIVERS", "null", 1);
    fs::path tree = damagedTree("broken");
    std::ofstream(tree / "shader" / "simple_shader.vert") << "#version 130\nthis is not glsl\n";
    fs::remove(tree / "models" / "ebene2" / "Tree2.mesh.xml");
    fs::path previous = fs::current_path();
    fs::current_path(tree);

    resetAppState();
    ScriptedClock time(5.0);
    platform::setTimeSource(&time);
    {
        Scene scene;
        testing::internal::CaptureStdout();
        scene.init();
        Clock::instance();
        for (int i = 0; i < 3; ++i) {
            time.advance(1.0 / 30.0);
            Clock::instance()->tick();
            scene.update();
            scene.render();
        }
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_NE(out.find("Vertex-shader compile error:"), std::string::npos);
        EXPECT_NE(out.find("Shader-program link error:"), std::string::npos);
        EXPECT_NE(out.find("Tree2.mesh.xml"), std::string::npos) << out;
        EXPECT_EQ(scene.getTransparentModel(1), nullptr);
        ASSERT_NE(scene.getTransparentModel(0), nullptr);
        // The race itself is untouched.
        EXPECT_LT(scene.getRemainingTime(), 300.0);
        EXPECT_EQ(getLives(), 3);
    }
    while (glGetError() != GL_NO_ERROR) {
    }
    delete Clock::instance();
    platform::setTimeSource(nullptr);
    fs::current_path(previous);
}

} // namespace
