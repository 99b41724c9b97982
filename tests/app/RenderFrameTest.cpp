#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include <glm/glm.hpp>

#include "QuietScene.h"
#include "SkyOnlyLevel.h"
#include "app/DisplayOptions.h"
#include "app/FrameDrawing.h"
#include "app/FrameView.h"
#include "hud/BitmapFont.h"
#include "physics/RaceState.h"
#include "platform/Clock.h"
#include "platform/Input.h"
#include "platform/Keys.h"
#include "platform/ScriptedClock.h"
#include "platform/ScriptedKeys.h"
#include "platform/Window.h"
#include "scene/Scene.h"
#include "session/PauseMenu.h"
#include "session/WinRecord.h"
#include "support/GlTestContext.h"
#include "support/TestFiles.h"

// Most frames here are composed without a scene and without the application's font: they
// check which branch runs and what it leaves behind. One frame of play is checked picture for
// picture, with a scene under the HUD and the game's own font.
namespace {

class RenderFrameTest : public ::testing::Test {
  protected:
    // Each test describes its frame and hands the drawing the parts it draws with.
    FrameDrawing drawing{1024, 768};
    FrameView view;

    void SetUp() override {
        if (!ensureGlContext(1024, 768))
            GTEST_SKIP() << "no display";
        resetDisplayOptions();
        platform::setKeySource(&keys);
    }
    void TearDown() override {
        platform::setKeySource(nullptr);
        resetDisplayOptions();
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    }
    void draw() { drawing.draw(view); }
    void frameWith(int key) {
        keys.press(key);
        draw();
        keys.release(key);
        draw();
    }

    ScriptedKeys keys;
};

} // namespace

TEST_F(RenderFrameTest, KeysStillSwitchBehindAnEndScreenButNoLineCountsDown) {
    for (bool won : {true, false}) {
        resetDisplayOptions();
        view.race.outcome = won ? RaceState::Outcome::Won : RaceState::Outcome::GameOver;
        frameWith(GLFW_KEY_F2);
        for (int i = 0; i < 5; ++i)
            draw();
        EXPECT_TRUE(isShowFpsOn());
        EXPECT_EQ(getStatusFrames(2), 100) << (won ? "winner" : "game over");
    }
}

TEST_F(RenderFrameTest, WithoutAnEndScreenEachFrameCountsTheLinesDown) {
    frameWith(GLFW_KEY_F2);
    EXPECT_EQ(getStatusFrames(2), 98);
    // Setting the flag freezes the count where it is.
    view.race.outcome = RaceState::Outcome::GameOver;
    draw();
    EXPECT_EQ(getStatusFrames(2), 98);
}

TEST_F(RenderFrameTest, TheViewportFollowsTheWindowSizeAndHudStateIsReleased) {
    drawing.setWindowSize(800, 600);
    draw();
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 600);
    GLint program = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(program, 0);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}

namespace {

std::vector<unsigned char> readWindow() {
    std::vector<unsigned char> pixels(1024 * 768 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 1024, 768, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

std::vector<unsigned char> presentedFrame;
void keepPresentedFrame() {
    presentedFrame = readWindow();
}

// Pixels that differ between two frames inside a HUD box (left, bottom, right, top).
int changedPixels(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b,
                  glm::ivec4 box) {
    int changed = 0;
    for (int y = box.y; y < box.w; ++y)
        for (int x = box.x; x < box.z; ++x) {
            size_t i = (static_cast<size_t>(y + 384) * 1024 + static_cast<size_t>(x + 512)) * 3;
            changed += a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2];
        }
    return changed;
}

} // namespace

TEST_F(RenderFrameTest, DuringPlayTheHudIsDrawnOverTheSceneAtItsPlaces) {
    setenv("ALSOFT_DRIVERS", "null", 1);
    Scene scene;
    startSceneQuietly(scene, skyOnlyLevel("play"));

    BitmapFont font("data/basicFont_0.tga", "data/basicFont.fnt");
    font.loadShader();
    unsigned int icon = 0;
    const unsigned char red[4] = {255, 0, 0, 255};
    glGenTextures(1, &icon);
    glBindTexture(GL_TEXTURE_2D, icon);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, red);
    glBindTexture(GL_TEXTURE_2D, 0);

    // Fifty-one frames in a second and a quarter: 40.8 frames a second, shown truncated.
    ScriptedClock time(10.0);
    platform::setTimeSource(&time);
    Clock clock;
    for (int i = 0; i < 51; ++i) {
        time.set(i < 50 ? 10.0 + 0.02 * i : 11.25);
        clock.tick();
        clock.countFrame();
    }

    drawing.setFont(&font);
    drawing.usePicture(FrameDrawing::Picture::LifeIcon, icon);
    view.scene = &scene;
    view.race.lives = 2;
    view.fps = clock.getFps();
    platform::setBeforeSwapHook(keepPresentedFrame);
    keys.press(GLFW_KEY_F2); // frame rate on, status slot 2
    keys.press(GLFW_KEY_F8); // culling off, status slot 8
    draw();
    platform::setBeforeSwapHook(nullptr);

    // The same scene with each element drawn at its place from the layout alone.
    scene.render();
    std::vector<unsigned char> bare = readWindow();
    glActiveTexture(GL_TEXTURE0);
    glEnable(GL_TEXTURE_2D);
    font.drawText("40 Fps  full", 480.0f, 375.0f, false);
    font.drawIcons(2, icon, 64.0f, 48.0f);
    font.drawText("Zeit: 5:00", -500.0f, 330.0f, true);
    font.drawText("Fps ON", 0.0f, 375.0f, false);
    font.drawText("Frustum Culling OFF", 0.0f, 225.0f, false);
    std::vector<unsigned char> expected = readWindow();

    drawing.setFont(nullptr);
    drawing.usePicture(FrameDrawing::Picture::LifeIcon, 0);
    glDeleteTextures(1, &icon);

    platform::setTimeSource(nullptr);

    // Each element shows on the scene where it belongs...
    const glm::ivec4 boxes[5] = {{380, 340, 480, 376},
                                 {-512, 330, -400, 381},
                                 {-500, 295, -380, 331},
                                 {-100, 340, 0, 376},
                                 {-250, 190, 0, 226}};
    for (const glm::ivec4& box : boxes)
        EXPECT_GT(changedPixels(expected, bare, box), 20) << box.x << "," << box.y;
    // ...and the frame is that picture, pixel for pixel.
    EXPECT_EQ(changedPixels(presentedFrame, expected, glm::ivec4(-512, -384, 512, 384)), 0);
}

namespace {

// The game's font and one plain red picture for the life icons and both end screens.
class FramePictureTest : public RenderFrameTest {
  protected:
    void SetUp() override {
        RenderFrameTest::SetUp();
        if (IsSkipped())
            return;
        font = new BitmapFont("data/basicFont_0.tga", "data/basicFont.fnt");
        font->loadShader();
        const unsigned char pixel[4] = {255, 0, 0, 255};
        glGenTextures(1, &red);
        glBindTexture(GL_TEXTURE_2D, red);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
        glBindTexture(GL_TEXTURE_2D, 0);
        for (FrameDrawing::Picture which : redPictures)
            drawing.usePicture(which, red);
        drawing.setFont(font);
        platform::setBeforeSwapHook(keepPresentedFrame);
    }
    void TearDown() override {
        platform::setBeforeSwapHook(nullptr);
        drawing.setFont(nullptr);
        for (FrameDrawing::Picture which : redPictures)
            drawing.usePicture(which, 0);
        glDeleteTextures(1, &red);
        delete font;
        RenderFrameTest::TearDown();
    }

    static constexpr FrameDrawing::Picture redPictures[] = {FrameDrawing::Picture::LifeIcon,
                                                            FrameDrawing::Picture::GameOver,
                                                            FrameDrawing::Picture::Winner};
    BitmapFont* font = nullptr;
    unsigned int red = 0;
};

const glm::ivec4 bottomStrip(-512, -384, 512, -280);
const glm::ivec4 aboveBottomStrip(-512, -280, 512, 384);

} // namespace

// Whatever the lines say, each end screen has its line of keys along the bottom.
TEST_F(FramePictureTest, EachEndScreenDrawsItsKeyLineOverThePicture) {
    for (RaceState::Outcome end : {RaceState::Outcome::Won, RaceState::Outcome::GameOver}) {
        view.race.outcome = end;
        draw();
        int notRed = 0;
        for (size_t i = 0; i < 1024 * 84 * 3; i += 3)
            notRed += presentedFrame[i] != 255 || presentedFrame[i + 1] != 0;
        EXPECT_GT(notRed, 100) << (view.race.isWon() ? "winner" : "game over");
        EXPECT_EQ(presentedFrame[1024 * 400 * 3], 255) << "the end picture fills the window";
    }
}

TEST_F(FramePictureTest, AReplayIsLabelledOnTheHud) {
    draw();
    const std::vector<unsigned char> played = presentedFrame;
    view.replaying = true;
    draw();
    EXPECT_GT(changedPixels(presentedFrame, played, glm::ivec4(380, 300, 512, 384)), 20);
}

// F3 draws the level in wire; the pictures and letters over it stay whole.
TEST_F(FramePictureTest, TheWireframeLeavesEndScreensAndTheHudFilled) {
    frameWith(GLFW_KEY_F3);
    ASSERT_TRUE(isWireframeOn());
    draw();
    int redIcon = 0; // the first life icon's visible part, inside the window
    for (int y = 340; y < 376; ++y)
        for (int x = -510; x < -460; ++x)
            redIcon += presentedFrame[(static_cast<size_t>(y + 384) * 1024 + (x + 512)) * 3] == 255;
    EXPECT_EQ(redIcon, 36 * 50);
    view.race.outcome = RaceState::Outcome::GameOver;
    draw();
    EXPECT_EQ(presentedFrame[(1024 * 500 + 300) * 3], 255) << "the end picture fills the window";
}

// A pause shows the last picture as it was, whatever changes behind it, under its key line.
// A pause holds the last picture, dimmed, under a large title and its key line.
TEST_F(FramePictureTest, APauseDimsAndHoldsThePictureUnderItsTitleAndKeyLine) {
    draw();
    const std::vector<unsigned char> beforePause = presentedFrame;
    view.paused = true;
    view.menu = PauseMenu(GameOptions(), false).view();
    draw();
    const std::vector<unsigned char> firstPaused = presentedFrame;
    keys.press(GLFW_KEY_F2); // the frame rate and its status line, behind the pause
    draw();
    EXPECT_EQ(changedPixels(presentedFrame, firstPaused, glm::ivec4(-512, -384, 512, 384)), 0);
    size_t icon = 0; // a texel of a red life icon
    while (icon + 2 < beforePause.size() &&
           !(beforePause[icon] == 255 && beforePause[icon + 1] == 0))
        icon += 3;
    ASSERT_LT(icon + 2, beforePause.size());
    EXPECT_GT(presentedFrame[icon], 60) << "still there";
    EXPECT_LT(presentedFrame[icon], 200) << "but dimmed";
    EXPECT_GT(changedPixels(presentedFrame, beforePause, glm::ivec4(-100, 100, 100, 200)), 100);
    EXPECT_GT(changedPixels(presentedFrame, beforePause, bottomStrip), 100);
    view.paused = false;
    draw();
    EXPECT_GT(changedPixels(presentedFrame, beforePause, aboveBottomStrip), 100);
}

// After a lost life the HUD says why and what is left, in letters the game's font has, for
// two seconds of the race.
TEST_F(FramePictureTest, ALostLifeIsExplainedForTwoSecondsOfTheRace) {
    const struct {
        LifeLoss cause;
        int lives;
        const char* line;
    } cases[] = {
        {LifeLoss::OffCourse, 2, "Off the course - 3 attempts left"},
        {LifeLoss::Barrier, 1, "Hit by the barrier - 2 attempts left"},
        {LifeLoss::Saw, 0, "Hit by the saw - last attempt"},
        {LifeLoss::TimeUp, 2, "Time's up - 3 attempts left"},
    };
    RaceState race;
    race.simulationTime = 41.0;
    EXPECT_EQ(lifeLostLine(race), "") << "nothing lost yet";
    for (const auto& c : cases) {
        race.lastLoss = c.cause;
        race.lives = c.lives;
        race.lastLossTime = 40.0;
        EXPECT_EQ(lifeLostLine(race), c.line);
        for (char letter : std::string(c.line))
            EXPECT_GT(font->glyph(static_cast<unsigned char>(letter)).xadvance, 0) << letter;
    }
    race.simulationTime = 42.0;
    EXPECT_EQ(lifeLostLine(race), "");

    // Without a scene nothing clears the window: each frame starts from an empty one, not from
    // what an earlier test left in it.
    glClear(GL_COLOR_BUFFER_BIT);
    draw();
    const std::vector<unsigned char> quiet = presentedFrame;
    view.race = race;
    view.race.simulationTime = 41.0;
    glClear(GL_COLOR_BUFFER_BIT);
    draw();
    EXPECT_GT(changedPixels(presentedFrame, quiet, glm::ivec4(-150, 60, 150, 150)), 500);
}

// The winner's lines sit on the picture's lower part at every window size, never over its
// own "You win!" line (rows 59 % to 66 % down the picture).
TEST_F(FramePictureTest, TheWinnersLinesLeaveThePicturesOwnLineClear) {
    WinRecord win;
    win.known = win.hasBest = win.newBest = win.hadPreviousBest = true;
    win.seconds = win.bestSeconds = 62.35;
    win.previousBestSeconds = 70.0;
    view.win = win;
    view.race.outcome = RaceState::Outcome::Won;
    for (glm::ivec2 size : {glm::ivec2(640, 480), glm::ivec2(800, 600), glm::ivec2(1024, 768)}) {
        drawing.setWindowSize(size.x, size.y);
        draw();
        auto notRedInRows = [&](int fromTop, int toTop) {
            int count = 0;
            for (int row = size.y - toTop; row < size.y - fromTop; ++row)
                for (int x = 0; x < size.x; ++x)
                    count += presentedFrame[(static_cast<size_t>(row) * 1024 + x) * 3 + 1] != 0;
            return count;
        };
        EXPECT_EQ(notRedInRows(size.y * 59 / 100, size.y * 66 / 100), 0) << size.x;
        EXPECT_GT(notRedInRows(size.y * 66 / 100, size.y * 85 / 100), 1000) << size.x;
    }
    drawing.setWindowSize(1024, 768);
}
