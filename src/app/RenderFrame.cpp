#include "app/RenderFrame.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include <string>
#include <vector>

#include "app/DisplayOptions.h"
#include "app/Game.h"
#include "hud/BitmapFont.h"
#include "hud/ClockText.h"
#include "hud/HudCanvas.h"
#include "hud/MenuScreen.h"
#include "hud/RaceHud.h"
#include "hud/ScreenLayout.h"
#include "platform/GlTarget.h"
#include "platform/Window.h"
#include "render/PassTimer.h"
#include "scene/Scene.h"
#include "session/RaceSession.h"

namespace {

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

HudCanvas canvasOf(const Game& game) {
    return HudCanvas(game.windowWidth(), game.windowHeight());
}

void drawFullWindow(const Game& game, BitmapFont* font, unsigned int texture) {
    float width = static_cast<float>(game.windowWidth());
    float height = static_cast<float>(game.windowHeight());
    font->drawQuad(static_cast<float>(-(game.windowWidth() / 2)), height / 2.0f, texture, width,
                   height);
}

std::vector<ScreenLayout::Line> winLines(const WinRecord& win) {
    std::vector<ScreenLayout::Line> lines{{"Your time: " + formatRaceTime(win.seconds)}};
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
void drawWinLines(ScreenLayout& screen, const WinRecord& win, const std::string& keys) {
    const std::vector<ScreenLayout::Line> lines = winLines(win);
    const float height = screen.plateSize(lines).y;
    const float centre = screen.canvas().at(HudCanvas::Anchor::Centre, {0.0f, winPlateCentre}).y;
    const float lowest = screen.keyLineBox(keys).top + screen.margin() + height;
    screen.plate(lines, std::floor(std::max(centre + height / 2.0f, lowest)));
}

bool watchingARace(const Game& game) {
    const RaceSession* session = game.getRaceSession();
    return session && session->isReplaying();
}

// End screens cover the whole window and stand in for the scene and the HUD.
void showEndScreen(const Game& game, unsigned int texture, const WinRecord* win) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (BitmapFont* font = game.getFont()) {
        drawFullWindow(game, font, texture);
        ScreenLayout screen(*font, canvasOf(game));
        const std::string keys = watchingARace(game) ? watchedEndKeys : playAgainKeys;
        if (win && win->known)
            drawWinLines(screen, *win, keys);
        screen.keyLine(keys);
    }
    platform::swapBuffers();
}

// The last picture before a pause, shown again while the game stands still.
void freezeFrame(Game& game) {
    unsigned int& frozenFrame = game.frozenFrame();
    if (frozenFrame == 0)
        glGenTextures(1, &frozenFrame);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, frozenFrame);
    glReadBuffer(GL_BACK);
    glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 0, 0, game.windowWidth(), game.windowHeight(), 0);
    glBindTexture(GL_TEXTURE_2D, 0);
}

void releaseFrozenFrame(Game& game) {
    unsigned int& frozenFrame = game.frozenFrame();
    if (frozenFrame != 0)
        glDeleteTextures(1, &frozenFrame);
    frozenFrame = 0;
}

// While paused nothing moves: the frozen picture costs a quad instead of a whole scene. It is
// dimmed (a second pass multiplies what the first drew) so the game reads as paused, not
// frozen, under the pause menu.
void showPausedFrame(Game& game) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (BitmapFont* font = game.getFont()) {
        drawFullWindow(game, font, game.frozenFrame());
        glEnable(GL_BLEND);
        glBlendColor(pausedBrightness, pausedBrightness, pausedBrightness, 1.0f);
        glBlendFunc(GL_ZERO, GL_CONSTANT_COLOR);
        drawFullWindow(game, font, game.frozenFrame());
        glDisable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ZERO);
        MenuScreen(*font, canvasOf(game)).draw(game.menu().page());
    }
    glUseProgram(0);
    glBindTexture(GL_TEXTURE_2D, 0);
    platform::swapBuffers();
}

// The frame rate is not known before the clock's first second; a nought there would read as
// a stalled game.
std::string fpsLine(Game& game) {
    const int fps = static_cast<int>(game.clock().getFps());
    return (fps > 0 ? std::to_string(fps) : std::string("--")) + " Fps  " +
           rungName(game.qualityRung());
}

void drawHud(Game& game, BitmapFont* font, const Scene* scene) {
    RaceHudView view;
    if (isShowFpsOn())
        view.fpsLine = fpsLine(game);
    view.lives = game.race().lives;
    view.lifeIcon = game.getScreenTexture(0);
    view.replaying = watchingARace(game);
    view.showClock = scene != nullptr;
    if (scene)
        view.remainingTime = scene->getRemainingTime();
    view.statusLines = takeStatusLines();
    view.message = lifeLostLine(game.race());
    if (game.hintTimeLeft() > 0.0)
        view.hint = firstStartHint;
    if (font)
        RaceHud(*font, canvasOf(game)).draw(view);
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

void releaseFrameResources(Game& game) {
    releaseFrozenFrame(game);
}

void renderFrame(Game& game) {
    Scene* scene = game.getScene();
    handleDisplayOptions(scene);
    // The wireframe is the scene's: the HUD and the screens over it are always drawn filled.
    gltarget::setWireframe(false);
    glViewport(0, 0, game.windowWidth(), game.windowHeight());

    // The race keeps running behind the winner screen and may still use up the last life
    // there; the win stands. Only a race watched from the menu leaves the menu over its end.
    const RaceState& race = game.race();
    const bool paused = game.controls().isPaused();
    if (race.isOver() && !paused)
        releaseFrozenFrame(game);
    if (race.isWon() && !paused) {
        showEndScreen(game, game.getScreenTexture(3), &game.wins().record());
        return;
    }
    if (race.isGameOver() && !paused) {
        showEndScreen(game, game.getScreenTexture(2), nullptr);
        return;
    }
    if (!paused) {
        releaseFrozenFrame(game);
    } else if (game.frozenFrame() != 0) {
        showPausedFrame(game);
        return;
    }
    // The first paused frame draws the race once more to keep it, then shows it paused.

    if (scene) {
        gltarget::setWireframe(isWireframeOn());
        scene->render();
        gltarget::setWireframe(false);
    }
    glActiveTexture(GL_TEXTURE0);
    gltarget::enableTexturing();
    {
        PassTiming timing("HUD");
        drawHud(game, game.getFont(), scene);
    }
    if (paused) {
        freezeFrame(game);
        showPausedFrame(game);
        return;
    }

    // Leave no HUD texture or program behind for the next frame's passes.
    glActiveTexture(GL_TEXTURE0);
    gltarget::disableTexturing();
    glUseProgram(0);
    glBindTexture(GL_TEXTURE_2D, 0);
    platform::swapBuffers();
}
