#include "app/FrameDrawing.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include <string>
#include <vector>

#include "app/DisplayOptions.h"
#include "assets/TextureLoader.h"
#include "hud/BitmapFont.h"
#include "hud/ClockText.h"
#include "hud/HudCanvas.h"
#include "hud/MenuLayout.h"
#include "hud/OverlayLayout.h"
#include "hud/RaceHud.h"
#include "platform/GlTarget.h"
#include "platform/Input.h"
#include "platform/Window.h"
#include "render/PassTimer.h"
#include "scene/Scene.h"

namespace {

// In the order of FrameDrawing::Picture.
const char* const pictureFiles[FrameDrawing::pictureCount] = {
    "texture/sphereMitte.png",
    "texture/TestLoadingScreen.bmp",
    "texture/GameOver.bmp",
    "texture/WinnerScreen.bmp",
};

const char* const playAgainKeys = "Enter or A: play again    Escape: quit";
// A watched race's end: Enter starts nothing there.
const char* const watchedEndKeys = "Escape: quit";
// Under the clock the first time the game starts for a player.
const char* const firstStartHint = "P or Start: menu and options";
// What a paused picture keeps of its brightness: dim enough to read as stopped, light enough
// to see where the marble stands.
const float pausedBrightness = 0.45f;
// How long the line after a lost life stays, in the race's time.
const double lifeLostSeconds = 2.0;
// The middle of the winner's plate, over the lower part of the picture and clear of its
// "You win!" line, on the canvas.
const float winPlateCentre = -0.265f * HudCanvas::height;

std::vector<OverlayLayout::Line> winLines(const WinRecord& win) {
    std::vector<OverlayLayout::Line> lines{{"Your time: " + formatRaceTime(win.seconds)}};
    if (win.hasBest)
        lines.push_back({"Best time: " + formatRaceTime(win.bestSeconds)});
    if (win.newBest)
        lines.push_back({"New best time!"});
    if (win.hadPreviousBest) {
        const double difference = win.seconds - win.previousBestSeconds;
        char text[64];
        std::snprintf(text, sizeof text, "Against the best before: %c%.2f s",
                      difference < 0.0 ? '-' : '+', std::fabs(difference));
        lines.push_back({text});
    }
    return lines;
}

// The race's time on a plate over the lower part of the winner picture, never down onto the
// key line's plate.
void drawWinLines(OverlayLayout& overlay, const WinRecord& win, const std::string& keys) {
    const std::vector<OverlayLayout::Line> lines = winLines(win);
    const float height = overlay.plateSize(lines).y;
    const float centre = overlay.canvas().at(HudCanvas::Anchor::Centre, {0.0f, winPlateCentre}).y;
    const float lowest = overlay.keyLineBox(keys).top + overlay.margin() + height;
    overlay.drawPlate(
        overlay.placePlate(lines, std::floor(std::max(centre + height / 2.0f, lowest))));
}

// The frame rate is not known before the clock's first second; a nought there would read as
// a stalled game.
std::string fpsLine(const FrameView& view) {
    const int fps = static_cast<int>(view.fps);
    return (fps > 0 ? std::to_string(fps) : std::string("--")) + " Fps  " + rungName(view.rung);
}

} // namespace

std::string lifeLostLine(const RaceState& race) {
    if (race.isOver() || race.lastLoss == LifeLoss::None ||
        race.simulationTime - race.lastLossTime >= lifeLostSeconds)
        return "";
    const char* why = "";
    switch (race.lastLoss) {
    case LifeLoss::OffCourse:
        why = "Off the course";
        break;
    case LifeLoss::Barrier:
        why = "Hit by the barrier";
        break;
    case LifeLoss::Saw:
        why = "Hit by the saw";
        break;
    case LifeLoss::TimeUp:
        why = "Time's up";
        break;
    case LifeLoss::None:
        break;
    }
    // The font has no long dash; the attempt under way counts as one left.
    const int attempts = race.lives + 1;
    return std::string(why) + " - " +
           (attempts == 1 ? std::string("last attempt")
                          : std::to_string(attempts) + " attempts left");
}

FrameDrawing::FrameDrawing(int windowWidth, int windowHeight)
    : width(windowWidth), height(windowHeight) {}

FrameDrawing::~FrameDrawing() {
    releaseTextures();
}

void FrameDrawing::loadPictures() {
    gltarget::enableTexturing();
    glGenTextures(pictureCount, pictures);
    picturesLoaded = true;
    for (int slot = 0; slot < pictureCount; ++slot)
        loadTexture(pictureFiles[slot], pictures, slot, false, false);
}

void FrameDrawing::usePicture(Picture which, unsigned int texture) {
    pictures[static_cast<int>(which)] = texture;
}

void FrameDrawing::releaseTextures() {
    if (picturesLoaded)
        glDeleteTextures(pictureCount, pictures);
    picturesLoaded = false;
    std::fill(pictures, pictures + pictureCount, 0u);
    releaseFrozenFrame();
    shownMenu.reset();
}

void FrameDrawing::setWindowSize(int newWidth, int newHeight) {
    width = newWidth;
    height = newHeight;
    if (writer)
        writer->setScreenSize(width, height);
    glViewport(0, 0, width, height);
    // A paused picture of the old size would be stretched: the next frame keeps a new one.
    releaseFrozenFrame();
    shownMenu.reset();
}

int FrameDrawing::menuLineAtCursor() const {
    double x = 0.0;
    double y = 0.0;
    if (!shownMenu || !platform::cursorPosition(x, y))
        return -1;
    return shownMenu->lineAt(x, y);
}

void FrameDrawing::drawFullWindow(unsigned int texture) {
    writer->drawQuad(static_cast<float>(-(width / 2)), static_cast<float>(height) / 2.0f, texture,
                     static_cast<float>(width), static_cast<float>(height));
}

void FrameDrawing::showLoadingScreen() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (writer)
        drawFullWindow(picture(Picture::Loading));
    platform::swapBuffers();
}

// End screens cover the whole window and stand in for the scene and the HUD.
void FrameDrawing::showEndScreen(const FrameView& view, Picture which, const WinRecord* win) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (writer) {
        drawFullWindow(picture(which));
        OverlayLayout overlay(*writer, HudCanvas(width, height));
        const std::string keys = view.replaying ? watchedEndKeys : playAgainKeys;
        if (win && win->known)
            drawWinLines(overlay, *win, keys);
        overlay.keyLine(keys);
    }
    platform::swapBuffers();
}

// The last picture before a pause, shown again while the game stands still.
void FrameDrawing::freezeFrame() {
    if (frozenFrame == 0)
        glGenTextures(1, &frozenFrame);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, frozenFrame);
    glReadBuffer(GL_BACK);
    glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 0, 0, width, height, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
}

void FrameDrawing::releaseFrozenFrame() {
    if (frozenFrame != 0)
        glDeleteTextures(1, &frozenFrame);
    frozenFrame = 0;
}

// While paused nothing moves: the frozen picture costs a quad instead of a whole scene. It is
// dimmed (a second pass multiplies what the first drew) so the game reads as paused, not
// frozen, under the pause menu.
void FrameDrawing::showPausedFrame(const FrameView& view) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (writer) {
        drawFullWindow(frozenFrame);
        glEnable(GL_BLEND);
        glBlendColor(pausedBrightness, pausedBrightness, pausedBrightness, 1.0f);
        glBlendFunc(GL_ZERO, GL_CONSTANT_COLOR);
        drawFullWindow(frozenFrame);
        glDisable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ZERO);
        shownMenu = std::make_unique<MenuLayout>(*writer, HudCanvas(width, height), view.menu);
        shownMenu->draw();
    }
    glUseProgram(0);
    glBindTexture(GL_TEXTURE_2D, 0);
    platform::swapBuffers();
}

void FrameDrawing::drawHud(const FrameView& view) {
    RaceHudView hud;
    if (isShowFpsOn())
        hud.fpsLine = fpsLine(view);
    hud.lives = view.race.lives;
    hud.lifeIcon = picture(Picture::LifeIcon);
    hud.replaying = view.replaying;
    hud.showClock = view.scene != nullptr;
    hud.remainingTime = view.race.remainingTime;
    hud.statusLines = takeStatusLines();
    hud.message = lifeLostLine(view.race);
    if (view.hint)
        hud.hint = firstStartHint;
    if (writer)
        RaceHud(*writer, HudCanvas(width, height)).draw(hud);
}

void FrameDrawing::draw(const FrameView& view) {
    handleDisplayOptions(view.scene);
    shownMenu.reset();
    // The wireframe is the scene's: the HUD and the overlays on it are always drawn filled.
    gltarget::setWireframe(false);
    glViewport(0, 0, width, height);

    // The race keeps running behind the winner screen and may still use up the last life
    // there; the win stands. Only a race watched from the menu leaves the menu over its end.
    if (view.race.isOver() && !view.paused)
        releaseFrozenFrame();
    if (view.race.isWon() && !view.paused) {
        showEndScreen(view, Picture::Winner, &view.win);
        return;
    }
    if (view.race.isGameOver() && !view.paused) {
        showEndScreen(view, Picture::GameOver, nullptr);
        return;
    }
    if (!view.paused) {
        releaseFrozenFrame();
    } else if (frozenFrame != 0) {
        showPausedFrame(view);
        return;
    }
    // The first paused frame draws the race once more to keep it, then shows it paused.

    if (view.scene) {
        gltarget::setWireframe(isWireframeOn());
        view.scene->render();
        gltarget::setWireframe(false);
    }
    glActiveTexture(GL_TEXTURE0);
    gltarget::enableTexturing();
    {
        PassTiming timing("HUD");
        drawHud(view);
    }
    if (view.paused) {
        freezeFrame();
        showPausedFrame(view);
        return;
    }

    // Leave no HUD texture or program behind for the next frame's passes.
    glActiveTexture(GL_TEXTURE0);
    gltarget::disableTexturing();
    glUseProgram(0);
    glBindTexture(GL_TEXTURE_2D, 0);
    platform::swapBuffers();
}
