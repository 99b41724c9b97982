// The game keeps going when its data is damaged: a broken shader or a missing mesh is
// reported and the level runs without it; every other broken file is named once, in one line.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "GlTestContext.h"
#include "PrintedOutput.h"
#include "ScopedWorkingDirectory.h"
#include "TestFiles.h"
#include "TextCounts.h"
#include "app/FrameDrawing.h"
#include "app/FrameView.h"
#include "hud/BitmapFont.h"
#include "platform/Clock.h"
#include "platform/DataFileReport.h"
#include "platform/Input.h"
#include "platform/ScriptedClock.h"
#include "platform/ScriptedKeys.h"
#include "platform/Window.h"
#include "scene/Scene.h"
#include "session/PlayerInput.h"

namespace fs = std::filesystem;

namespace {

// A copy of the game's data tree in which the test may break things.
fs::path damagedTree(const std::string& name) {
    fs::path tree = freshScratchDir(name);
    fs::path run = runDir();
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
    std::ofstream(tree / "shader" / "simple_shader.vert") << "this is not glsl\n";
    fs::remove(tree / "models" / "ebene2" / "Tree2.mesh.xml");
    ScopedWorkingDirectory inTree(tree);

    ScriptedClock time(5.0);
    platform::setTimeSource(&time);
    {
        Scene scene;
        capturePrinted();
        scene.init();
        Clock frameClock;
        for (int i = 0; i < 3; ++i) {
            time.advance(1.0 / 30.0);
            frameClock.tick();
            scene.advance(frameClock.getFrameTime(), playerInput());
            scene.render();
        }
        std::string out = takePrinted();
        EXPECT_NE(out.find("Vertex-shader compile error:"), std::string::npos);
        EXPECT_NE(out.find("Shader-program link error:"), std::string::npos);
        EXPECT_NE(out.find("Tree2.mesh.xml"), std::string::npos) << out;
        EXPECT_EQ(scene.getTransparentModel(1), nullptr);
        ASSERT_NE(scene.getTransparentModel(0), nullptr);
        // The race itself is untouched.
        EXPECT_LT(scene.getRemainingTime(), 300.0);
        EXPECT_EQ(scene.getRace().lives, 3);
    }
    while (glGetError() != GL_NO_ERROR) {
    }
    platform::setTimeSource(nullptr);
}

// A tree of links to the game's files, so any one of them can be taken away or replaced by a
// file of its own without touching the real one.
class LinkedTree {
  public:
    explicit LinkedTree(const char* name = "linked") : root(freshScratchDir(name)) {
        fs::path run = runDir();
        for (const char* folder : {"shader", "texture", "models", "data"}) {
            fs::create_directories(root / folder);
            for (const fs::directory_entry& entry :
                 fs::recursive_directory_iterator(run / folder)) {
                fs::path inTree = root / fs::relative(entry.path(), run);
                if (entry.is_directory())
                    fs::create_directories(inTree);
                else
                    fs::create_symlink(entry.path(), inTree);
            }
        }
    }
    const fs::path& path() const { return root; }

    void remove(const std::string& file) { fs::remove(root / file); }
    // The link goes first: writing through it would damage the game's own copy.
    void fillWithNoise(const std::string& file, unsigned seed) {
        remove(file);
        std::mt19937 noise(seed);
        std::string bytes(4096, '\0');
        for (char& byte : bytes)
            byte = static_cast<char>(noise() & 0xFF);
        std::ofstream(root / file, std::ios::binary) << bytes;
    }
    void restore(const std::string& file) {
        remove(file);
        fs::create_symlink(fs::path(runDir()) / file, root / file);
    }

  private:
    fs::path root;
};

// The frame as it is presented, read just before the swap.
unsigned char presentedPixel[4];
void readPresentedPixel() {
    glReadPixels(100, 100, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, presentedPixel);
}

struct GameRun {
    std::string output;
    std::vector<GLenum> errors; // every GL error raised while loading and drawing
    bool framesDrawn = true;    // each presented frame showed something of the level
    double remainingTime = 0.0;
};

// The start-up of the font and the level, an F4 reload of the level textures, then a few
// frames composed as the game composes them, all in the current folder as the game's tree.
GameRun playFromTheCurrentFolder(int frames) {
    GameRun run;
    forgetReportedDataFiles();
    ScriptedClock time(5.0);
    ScriptedKeys keys;
    platform::setTimeSource(&time);
    platform::setKeySource(&keys);
    platform::setBeforeSwapHook(readPresentedPixel);
    capturePrinted();
    {
        BitmapFont font("data/basicFont_0.tga", "data/basicFont.fnt");
        font.loadShader();
        Scene scene;
        FrameDrawing drawing(1024, 768);
        drawing.setFont(&font);
        FrameView view;
        view.scene = &scene;
        scene.init();
        scene.loadLevelTextures(false, 1);
        Clock frameClock;
        for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError())
            run.errors.push_back(error);
        for (int i = 0; i < frames; ++i) {
            time.advance(1.0 / 30.0);
            frameClock.tick();
            scene.advance(frameClock.getFrameTime(), playerInput());
            view.race = scene.getRace();
            drawing.draw(view);
            for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError())
                run.errors.push_back(error);
            bool blank = presentedPixel[0] == 0 && presentedPixel[1] == 0 && presentedPixel[2] == 0;
            run.framesDrawn = run.framesDrawn && !blank;
        }
        run.remainingTime = scene.getRemainingTime();
    }
    run.output = takePrinted();
    platform::setBeforeSwapHook(nullptr);
    platform::setKeySource(nullptr);
    platform::setTimeSource(nullptr);
    return run;
}

struct Damage {
    std::vector<std::string> files;
    bool noise;           // replaced by random bytes; otherwise taken away
    const char* problem;  // what the line says of each file
    const char* follows;  // the loader's own message, printed just before the line, if any
    bool levelStillShows; // some program is left to draw the level
};

TEST(BrokenData, EachBrokenFileIsNamedOnceAndTheGameDrawsOnWithoutGlErrors) {
    if (!ensureGlContext())
        GTEST_SKIP() << "no display";
    setenv("ALSOFT_DRIVERS", "null", 1);
    const std::vector<std::string> everyProgram = {
        "shader/simple_shader.vert", "shader/animation_shader.frag", "shader/shadow_shader.vert",
        "shader/alpha_shader.frag",  "shader/skybox_shader.vert",    "shader/water_shader.frag",
        "shader/hud_shader.vert"};
    const Damage damages[] = {
        {{"texture/Ziel.bmp"}, false, "missing", "Texture could not be loaded", true},
        {{"texture/Ziel.bmp"}, true, "not an image", "Texture could not be loaded", true},
        {{"data/basicFont.fnt"}, false, "missing", "Error while reading font file.", true},
        {{"data/basicFont.fnt"},
         true,
         "not a font description",
         "Error while reading font file.",
         true},
        {{"data/background.wav"}, false, "missing", nullptr, true},
        {{"data/background.wav"}, true, "not a wave file", nullptr, true},
        {{"shader/animation_shader.vert"}, false, "missing", nullptr, true},
        {{"shader/animation_shader.vert"}, true, "shader did not compile", nullptr, true},
        // The lookup the level programs share: they go, the sky and the water still draw.
        {{"shader/level_texture.frag"}, false, "missing", nullptr, true},
        {{"shader/level_texture.frag"}, true, "shader did not compile", nullptr, true},
        // Every pass and the HUD lose their program at once.
        {everyProgram, true, "shader did not compile", nullptr, false},
    };

    LinkedTree tree;
    ScopedWorkingDirectory inTree(tree.path());
    for (const Damage& damage : damages) {
        for (size_t i = 0; i < damage.files.size(); ++i) {
            if (damage.noise)
                tree.fillWithNoise(damage.files[i], static_cast<unsigned>(i + 1));
            else
                tree.remove(damage.files[i]);
        }
        GameRun run = playFromTheCurrentFolder(2);
        std::string what = damage.files[0] + (damage.noise ? " replaced by noise" : " removed");
        for (const std::string& file : damage.files) {
            std::string line = "Data file \"" + file + "\": " + damage.problem + "\n";
            EXPECT_EQ(countOf(run.output, "Data file \"" + file + "\""), 1) << what << "\n"
                                                                            << run.output;
            EXPECT_EQ(countOf(run.output, line), 1) << what << "\n" << run.output;
            if (damage.follows) {
                EXPECT_EQ(countOf(run.output, std::string(damage.follows) + "\n" + line), 1)
                    << what << "\n"
                    << run.output;
            }
        }
        // No other file is blamed.
        EXPECT_EQ(countOf(run.output, "Data file \""), static_cast<int>(damage.files.size()))
            << what << "\n"
            << run.output;
        EXPECT_TRUE(run.errors.empty())
            << what << ": GL error 0x" << std::hex << (run.errors.empty() ? 0u : run.errors[0]);
        EXPECT_EQ(run.framesDrawn, damage.levelStillShows) << what;
        EXPECT_LT(run.remainingTime, 300.0) << what;
        for (const std::string& file : damage.files)
            tree.restore(file);
    }
}

// The marble's mesh is also the ball beside the course; a broken one is still named once.
TEST(BrokenData, ABrokenMarbleMeshIsNamedOnce) {
    if (!ensureGlContext())
        GTEST_SKIP() << "no display";
    setenv("ALSOFT_DRIVERS", "null", 1);
    LinkedTree tree("marble");
    tree.fillWithNoise("models/Sphere.mesh.xml", 3);
    ScopedWorkingDirectory inTree(tree.path());
    GameRun run = playFromTheCurrentFolder(2);
    EXPECT_EQ(countOf(run.output, "models/Sphere.mesh.xml"), 1) << run.output;
    EXPECT_TRUE(run.errors.empty());
}

} // namespace
