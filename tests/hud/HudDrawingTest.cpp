#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "PrintedOutput.h"
#include "app/FrameDrawing.h"
#include "app/FrameView.h"
#include "hud/BitmapFont.h"
#include "hud/HudCanvas.h"
#include "hud/MenuLayout.h"
#include "hud/RaceHud.h"
#include "physics/RaceState.h"
#include "platform/Window.h"
#include "session/BestTimes.h"
#include "session/PauseMenu.h"
#include "session/WinRecord.h"
#include "support/GlTestContext.h"
#include "support/TestFiles.h"

namespace {

// The game's window: HUD x = column - 512, HUD y = row - 384.
constexpr int windowWidth = 1024;
constexpr int windowHeight = 768;

struct Rgba {
    unsigned char r, g, b, a;
};

// An uncompressed 32-bit TGA: the glyph page of the test font. The left half of each row is
// transparent green, the right half opaque white.
std::string halfCoveredPage(int size) {
    std::string file(18, '\0');
    file[2] = 2;
    file[12] = static_cast<char>(size);
    file[14] = static_cast<char>(size);
    file[16] = 32;
    file[17] = 8;
    for (int row = 0; row < size; ++row) {
        for (int column = 0; column < size; ++column) {
            bool covered = column >= size / 2;
            const char bgra[4] = {static_cast<char>(covered ? 255 : 0), static_cast<char>(255),
                                  static_cast<char>(covered ? 255 : 0),
                                  static_cast<char>(covered ? 255 : 0)};
            file.append(bgra, 4);
        }
    }
    return file;
}

unsigned int solidTexture(Rgba colour) {
    unsigned int name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    const Rgba pixels[4] = {colour, colour, colour, colour};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    glBindTexture(GL_TEXTURE_2D, 0);
    return name;
}

Rgba pixelAtHud(int hudX, int hudY) {
    Rgba pixel{0, 0, 0, 0};
    glReadPixels(hudX + windowWidth / 2, hudY + windowHeight / 2, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE,
                 &pixel);
    return pixel;
}

bool isRed(Rgba p) {
    return p.r > 200 && p.g < 50 && p.b < 50;
}
bool isWhite(Rgba p) {
    return p.r > 200 && p.g > 200 && p.b > 200;
}
bool isBackground(Rgba p) {
    return p.r < 50 && p.g < 50 && p.b < 50;
}

class HudDrawingTest : public ::testing::Test {
  protected:
    // Whole frames are described by each test and drawn with the parts it hands over.
    FrameDrawing drawing{windowWidth, windowHeight};
    FrameView view;

    void SetUp() override {
        if (!ensureGlContext(windowWidth, windowHeight))
            GTEST_SKIP() << "no display";
        std::string page = writeScratchFile("hud/page.tga", halfCoveredPage(8));
        std::string description =
            writeScratchFile("hud/font.fnt", "common lineHeight=10 base=8 scaleW=8 scaleH=8\n"
                                             "char id=65 x=0 y=0 width=8 height=8 xoffset=2 "
                                             "yoffset=3 xadvance=9 page=0\n");
        font = std::make_unique<BitmapFont>(page.c_str(), description.c_str());
        font->loadShader();
        red = solidTexture({255, 0, 0, 255});
        glViewport(0, 0, windowWidth, windowHeight);
        glEnable(GL_CULL_FACE);
        glEnable(GL_DEPTH_TEST);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    void TearDown() override {
        if (red)
            glDeleteTextures(1, &red);
        font.reset();
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        glUseProgram(0);
    }

    std::unique_ptr<BitmapFont> font;
    unsigned int red = 0;
};

} // namespace

TEST_F(HudDrawingTest, ThreeLifeIconsStartAtMinus520AndStep50) {
    font->drawIcons(3, red, 64.0f, 48.0f);
    // The third icon spans x -420 to -356 and y 332 to 380; the first starts off the window.
    EXPECT_TRUE(isRed(pixelAtHud(-512, 350)));
    EXPECT_TRUE(isRed(pixelAtHud(-357, 379)));
    EXPECT_TRUE(isRed(pixelAtHud(-357, 332)));
    EXPECT_TRUE(isBackground(pixelAtHud(-356, 350)));
    EXPECT_TRUE(isBackground(pixelAtHud(-400, 380)));
    EXPECT_TRUE(isBackground(pixelAtHud(-400, 331)));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
}

TEST_F(HudDrawingTest, IconCountsOutsideOneToThreeDrawNothing) {
    font->drawIcons(2, red, 64.0f, 48.0f);
    // Two icons: the second ends at -406, nothing where only the third would be.
    EXPECT_TRUE(isRed(pixelAtHud(-407, 350)));
    EXPECT_TRUE(isBackground(pixelAtHud(-380, 350)));

    glClear(GL_COLOR_BUFFER_BIT);
    font->drawIcons(1, red, 64.0f, 48.0f);
    EXPECT_TRUE(isRed(pixelAtHud(-457, 350)));
    EXPECT_TRUE(isBackground(pixelAtHud(-440, 350)));

    glClear(GL_COLOR_BUFFER_BIT);
    font->drawIcons(0, red, 64.0f, 48.0f);
    font->drawIcons(4, red, 64.0f, 48.0f);
    font->drawIcons(-1, red, 64.0f, 48.0f);
    for (int x : {-500, -440, -380, -320})
        EXPECT_TRUE(isBackground(pixelAtHud(x, 350))) << x;
}

TEST_F(HudDrawingTest, AFullWindowQuadCoversEveryCorner) {
    glDisable(GL_DEPTH_TEST);
    font->drawQuad(-512.0f, 384.0f, red, 1024.0f, 768.0f);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    for (int x : {-512, 511})
        for (int y : {-384, 383})
            EXPECT_TRUE(isRed(pixelAtHud(x, y))) << x << "," << y;
}

TEST_F(HudDrawingTest, WireframeOutlinesQuads) {
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    font->drawQuad(-100.0f, 100.0f, red, 200.0f, 200.0f);
    // Inside, away from the edges and the diagonal, stays empty; the left edge is drawn.
    EXPECT_TRUE(isBackground(pixelAtHud(-50, 50)));
    bool edge = false;
    for (int x = -102; x <= -98; ++x)
        edge = edge || isRed(pixelAtHud(x, 30));
    EXPECT_TRUE(edge);

    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    font->drawQuad(-100.0f, 100.0f, red, 200.0f, 200.0f);
    EXPECT_TRUE(isRed(pixelAtHud(-50, 50)));
}

TEST_F(HudDrawingTest, TextDrawsOnlyTheCoveredTexelsOfEachGlyph) {
    glDisable(GL_DEPTH_TEST);
    font->drawText("A", 100.0f, 50.0f, true);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    // The glyph spans x 102 to 110 (pen + xoffset 2) and y 39 to 47 (top 50 - yoffset 3);
    // only its right, opaque half is drawn.
    EXPECT_TRUE(isWhite(pixelAtHud(106, 43)));
    EXPECT_TRUE(isWhite(pixelAtHud(109, 39)));
    EXPECT_TRUE(isWhite(pixelAtHud(109, 46)));
    EXPECT_TRUE(isBackground(pixelAtHud(103, 43)));
    EXPECT_TRUE(isBackground(pixelAtHud(110, 43)));
    EXPECT_TRUE(isBackground(pixelAtHud(107, 47)));
    EXPECT_TRUE(isBackground(pixelAtHud(107, 38)));
}

TEST_F(HudDrawingTest, RightToLeftTextEndsAtThePen) {
    font->drawText("AA", 100.0f, 50.0f, false);
    // The last A at 102, the first one advance (9) further left at 93.
    EXPECT_TRUE(isWhite(pixelAtHud(106, 43)));
    EXPECT_TRUE(isWhite(pixelAtHud(98, 43)));
    EXPECT_TRUE(isBackground(pixelAtHud(94, 43)));
    EXPECT_TRUE(isBackground(pixelAtHud(111, 43)));
}

TEST_F(HudDrawingTest, BytesWithoutGlyphsAndEmptyTextDrawNothing) {
    font->drawText("\xE9\x80\xFF", 100.0f, 50.0f, true);
    font->drawText("", 100.0f, 50.0f, true);
    for (int x = 95; x < 115; ++x)
        EXPECT_TRUE(isBackground(pixelAtHud(x, 43))) << x;
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(HudDrawingTest, AMissingFontFileIsReportedAndLeavesEmptyGlyphs) {
    std::string page = writeScratchFile("hud/page2.tga", halfCoveredPage(8));
    capturePrinted();
    BitmapFont empty(page.c_str(), (scratchDir() + "/hud/missing.fnt").c_str());
    std::string output = takePrinted();
    EXPECT_NE(output.find("Error while reading font file.\n"), std::string::npos);
    EXPECT_EQ(empty.getScaleW(), 0);
    for (int code = 0; code < 256; ++code)
        ASSERT_EQ(empty.glyph(static_cast<unsigned char>(code)).xadvance, 0);

    empty.loadShader();
    empty.drawText("Zeit: 5:00", 0.0f, 0.0f, true);
    EXPECT_TRUE(isBackground(pixelAtHud(0, 0)));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// The end screens come out of the whole frame; its centre and corner are read just before the swap.
Rgba presentedCentre;
Rgba presentedCorner;
void readPresentedFrame() {
    presentedCentre = pixelAtHud(0, 0);
    presentedCorner = pixelAtHud(-511, 383);
}

TEST_F(HudDrawingTest, TheWinnerScreenWinsOverGameOver) {
    unsigned int green = solidTexture({0, 255, 0, 255});
    drawing.setFont(font.get());
    drawing.usePicture(FrameDrawing::Picture::GameOver, red);
    drawing.usePicture(FrameDrawing::Picture::Winner, green);
    platform::setBeforeSwapHook(readPresentedFrame);
    view.race.outcome = RaceState::Outcome::GameOver;
    view.race.outcome = RaceState::Outcome::Won;
    drawing.draw(view);
    Rgba winner = presentedCentre;
    Rgba corner = presentedCorner;
    view.race.restart();
    view.race.outcome = RaceState::Outcome::GameOver;
    drawing.draw(view);
    Rgba gameOver = presentedCentre;
    platform::setBeforeSwapHook(nullptr);
    glDeleteTextures(1, &green);

    EXPECT_TRUE(winner.g > 200 && winner.r < 50);
    EXPECT_TRUE(corner.g > 200 && corner.r < 50);
    EXPECT_TRUE(isRed(gameOver));
}

namespace {
// The band across the winner picture where the race's time goes, read before the swap.
constexpr int bandLeft = -250, bandWidth = 500, bandBottom = -300, bandHeight = 200;
Rgba band[bandHeight][bandWidth];
void readBand() {
    glReadPixels(bandLeft + windowWidth / 2, bandBottom + windowHeight / 2, bandWidth, bandHeight,
                 GL_RGBA, GL_UNSIGNED_BYTE, band);
}

struct BandCount {
    int white = 0;
    int dark = 0;
    int rowsWithPlate = 0;
};
BandCount countBand() {
    BandCount count;
    for (const auto& row : band) {
        bool plate = false;
        for (const Rgba& p : row) {
            count.white += isWhite(p);
            bool dark = isBackground(p) || (p.r < 90 && p.g < 50 && p.b < 30);
            count.dark += dark;
            plate = plate || dark;
        }
        count.rowsWithPlate += plate;
    }
    return count;
}
} // namespace

TEST_F(HudDrawingTest, TheWinnerScreenShowsTheRaceTimeAndTheBestOnADarkPlate) {
    BitmapFont gameFont((runDir() + "/data/basicFont_0.tga").c_str(),
                        (runDir() + "/data/basicFont.fnt").c_str());
    gameFont.loadShader();
    unsigned int green = solidTexture({0, 255, 0, 255});
    drawing.setFont(&gameFont);
    drawing.usePicture(FrameDrawing::Picture::Winner, green);
    platform::setBeforeSwapHook(readBand);
    view.race.outcome = RaceState::Outcome::Won;

    drawing.draw(view);
    const BandCount withoutTime = countBand();
    WinRecord win;
    win.known = true;
    win.seconds = 62.35;
    win.hasBest = true;
    win.bestSeconds = 58.1;
    view.win = win;
    drawing.draw(view);
    const BandCount twoLines = countBand();
    win.newBest = true;
    win.bestSeconds = win.seconds;
    view.win = win;
    drawing.draw(view);
    const BandCount threeLines = countBand();

    platform::setBeforeSwapHook(nullptr);
    drawing.setFont(nullptr);
    glDeleteTextures(1, &green);

    EXPECT_EQ(0, withoutTime.white);
    EXPECT_EQ(0, withoutTime.dark);
    // Letters in white on the dark plate, one line of the font (28 rows) more for the news.
    EXPECT_GT(twoLines.white, 400);
    EXPECT_GT(twoLines.dark, 20000);
    EXPECT_GT(threeLines.white, twoLines.white + 200);
    EXPECT_NEAR(threeLines.rowsWithPlate - twoLines.rowsWithPlate, 34, 2);
}

namespace {

struct WindowSize {
    const char* name;
    int width;
    int height;
};

// 4:3 up to 21:9, the smallest window the game supports to 4K, odd sizes, and the two
// narrower than 4:3: 5:4 and an upright 3:4.
const WindowSize windowSizes[] = {
    {"640x480", 640, 480},     {"800x600", 800, 600},     {"801x601", 801, 601},
    {"1024x768", 1024, 768},   {"1280x1024", 1280, 1024}, {"768x1024", 768, 1024},
    {"1366x768", 1366, 768},   {"1920x1080", 1920, 1080}, {"2560x1080", 2560, 1080},
    {"3440x1440", 3440, 1440}, {"3840x2160", 3840, 2160},
};
const WindowSize narrowerThan4To3[] = {{"1280x1024", 1280, 1024}, {"768x1024", 768, 1024}};

// Everything the race's HUD can show at once, each with its longest text.
RaceHudView everythingShown() {
    RaceHudView view;
    view.lives = 3;
    view.showClock = true;
    view.remainingTime = 299.0;
    view.fpsLine = "1999 Fps  medium";
    view.replaying = true;
    view.statusLines = {{2, "Fps OFF"},          {3, "WIREFRAME OFF"}, {4, "NEAREST NEIGHBOR"},
                        {5, "NEAREST NEIGHBOR"}, {6, "VBO"},           {8, "Frustum Culling OFF"},
                        {9, "Transparenz OFF"}};
    view.message = "Off the course - 3 attempts left";
    view.hint = "P or Start: menu and options";
    return view;
}

bool isStatusLine(const RaceHud::Element& element) {
    return element.name.rfind("status", 0) == 0;
}
bool isLifeIcon(const RaceHud::Element& element) {
    return element.name.rfind("life", 0) == 0;
}
// The F-key lines are one list, the life icons one row whose pictures' rims overlap.
bool sameGroup(const RaceHud::Element& a, const RaceHud::Element& b) {
    return (isStatusLine(a) && isStatusLine(b)) || (isLifeIcon(a) && isLifeIcon(b));
}

} // namespace

// The HUD stays whole and readable in every window: each element inside it (a life icon may
// lose no more than the transparent rim of its picture, 20 of its 128 columns, at the left
// edge), none over another,
// and the clock at least as tall as small print.
TEST_F(HudDrawingTest, TheRaceHudFitsEveryWindowWithoutOverlaps) {
    BitmapFont gameFont((runDir() + "/data/basicFont_0.tga").c_str(),
                        (runDir() + "/data/basicFont.fnt").c_str());
    for (const WindowSize& size : windowSizes) {
        const HudCanvas canvas(size.width, size.height);
        const std::vector<RaceHud::Element> elements =
            RaceHud(gameFont, canvas).place(everythingShown());
        ASSERT_EQ(elements.size(), 15u) << size.name;
        const HudRect& window = canvas.window();
        for (const RaceHud::Element& e : elements) {
            HudRect visible = e.box;
            if (isLifeIcon(e))
                visible.left += e.box.width() * 20.0f / 128.0f;
            EXPECT_TRUE(window.holds(visible))
                << size.name << ": " << e.name << " at " << e.box.left << ", " << e.box.top;
            for (const RaceHud::Element& other : elements) {
                if (&other != &e && !sameGroup(e, other)) {
                    EXPECT_FALSE(e.box.overlaps(other.box))
                        << size.name << ": " << e.name << " over " << other.name;
                }
            }
            if (e.name == "clock") {
                EXPECT_GE(e.box.height(), 16.0f) << size.name;
            }
        }
    }
}

// In its last ten seconds the clock's letters turn from white to the warning colour.
TEST_F(HudDrawingTest, TheClockWarnsInItsLastTenSeconds) {
    BitmapFont gameFont((runDir() + "/data/basicFont_0.tga").c_str(),
                        (runDir() + "/data/basicFont.fnt").c_str());
    gameFont.loadShader();
    auto clockPixels = [&](double remaining) {
        glClear(GL_COLOR_BUFFER_BIT);
        RaceHudView view;
        view.showClock = true;
        view.remainingTime = remaining;
        RaceHud(gameFont, HudCanvas(windowWidth, windowHeight)).draw(view);
        // The clock's line: from its pen at (-500, 330) down one line, 120 wide.
        std::vector<Rgba> block(120 * 32);
        glReadPixels(-500 + windowWidth / 2, 300 + windowHeight / 2, 120, 32, GL_RGBA,
                     GL_UNSIGNED_BYTE, block.data());
        int white = 0, warm = 0;
        for (const Rgba& p : block) {
            white += isWhite(p);
            warm += p.r > 200 && p.g < 150 && p.b < 100;
        }
        return std::make_pair(white, warm);
    };
    const auto calm = clockPixels(10.5);
    const auto warned = clockPixels(9.5);
    EXPECT_GT(calm.first, 100);
    EXPECT_EQ(calm.second, 0);
    EXPECT_EQ(warned.first, 0);
    EXPECT_GT(warned.second, 100);
}

// A window narrower than 4:3 shows the layout's whole width: each element is its 1024 x 768
// self scaled by the window's width. Scaled by the height, the corners' elements would be too
// large for the width between them.
TEST_F(HudDrawingTest, BelowFourToThreeTheHudScalesWithTheWindowsWidth) {
    BitmapFont gameFont((runDir() + "/data/basicFont_0.tga").c_str(),
                        (runDir() + "/data/basicFont.fnt").c_str());
    const std::vector<RaceHud::Element> at4To3 =
        RaceHud(gameFont, HudCanvas(1024, 768)).place(everythingShown());
    for (const WindowSize& size : narrowerThan4To3) {
        const float scale = static_cast<float>(size.width) / 1024.0f;
        const std::vector<RaceHud::Element> elements =
            RaceHud(gameFont, HudCanvas(size.width, size.height)).place(everythingShown());
        ASSERT_EQ(elements.size(), at4To3.size()) << size.name;
        for (size_t i = 0; i < elements.size(); ++i) {
            EXPECT_NEAR(elements[i].box.width(), at4To3[i].box.width() * scale, 3.0f)
                << size.name << ": " << elements[i].name;
            EXPECT_NEAR(elements[i].box.height(), at4To3[i].box.height() * scale, 3.0f)
                << size.name << ": " << elements[i].name;
        }
    }
}

namespace {

// Every page of the pause menu as full as it comes: back from a replay (Resume greyed with its
// reason) after a replay that could not be read; five best times.
std::vector<MenuView> everyMenuPage() {
    PauseMenu menu(GameOptions(), true);
    menu.open();
    menu.setUnavailable(PauseMenu::Item::Resume, "The race was left for a replay: restart it");
    menu.setBestTimes(std::vector<BestTimes::Entry>(BestTimes::kept, {299.99, {2026, 12, 31}}), 4);
    menu.setMessage("That replay cannot be played");
    std::vector<MenuView> pages{menu.view()};
    menu.setMessage("");
    const MenuInput down{false, true};
    const MenuInput enter{false, false, false, false, true};
    const MenuInput back{false, false, false, false, false, true};
    menu.handle(down);
    menu.handle(enter);
    pages.push_back(menu.view());
    menu.handle(back);
    menu.handle(down);
    menu.handle(enter);
    pages.push_back(menu.view());
    return pages;
}

} // namespace

// Each page of the menu, its title, plates and key line, stays inside every window, none over
// another.
TEST_F(HudDrawingTest, EveryMenuPageFitsEveryWindow) {
    BitmapFont gameFont((runDir() + "/data/basicFont_0.tga").c_str(),
                        (runDir() + "/data/basicFont.fnt").c_str());
    const std::vector<MenuView> pages = everyMenuPage();
    ASSERT_EQ(pages[1].title, "Options");
    ASSERT_EQ(pages[2].title, "Best times");
    for (const WindowSize& size : windowSizes) {
        const HudCanvas canvas(size.width, size.height);
        for (const MenuView& page : pages) {
            const std::vector<HudRect> boxes = MenuLayout(gameFont, canvas, page).boxes();
            for (size_t i = 0; i < boxes.size(); ++i) {
                EXPECT_TRUE(canvas.window().holds(boxes[i]))
                    << size.name << " " << page.title << " " << i;
                for (size_t j = i + 1; j < boxes.size(); ++j)
                    EXPECT_FALSE(boxes[i].overlaps(boxes[j]))
                        << size.name << " " << page.title << " " << i << " over " << j;
            }
        }
    }
}

// Where the chosen line's band is drawn, the mouse finds that line; on the rest of the plate,
// another or none.
TEST_F(HudDrawingTest, TheMouseFindsTheMenuLineWhereItIsDrawnLit) {
    BitmapFont gameFont((runDir() + "/data/basicFont_0.tga").c_str(),
                        (runDir() + "/data/basicFont.fnt").c_str());
    gameFont.loadShader();
    MenuView page = everyMenuPage()[0];
    page.chosen = static_cast<int>(PauseMenu::Item::Options);
    MenuLayout layout(gameFont, HudCanvas(windowWidth, windowHeight), page);
    layout.draw();
    std::vector<Rgba> pixels(windowWidth * windowHeight);
    glReadPixels(0, 0, windowWidth, windowHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    int litRows = 0;
    for (int row = 0; row < windowHeight; ++row) {
        for (int column = 0; column < windowWidth; ++column) {
            const Rgba p = pixels[row * windowWidth + column];
            // The lit band's own colour, (0.36, 0.22, 0.08), beside the letters.
            if (std::abs(p.r - 92) < 4 && std::abs(p.g - 56) < 4 && std::abs(p.b - 20) < 4) {
                ++litRows;
                EXPECT_EQ(layout.lineAt(column + 0.5, windowHeight - row - 0.5), page.chosen)
                    << "row " << row;
                EXPECT_NE(layout.lineAt(column + 0.5, windowHeight - row - 40.5), page.chosen)
                    << "row " << row;
                break;
            }
        }
    }
    EXPECT_GT(litRows, 20);
}
