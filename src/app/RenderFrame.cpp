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
#include "platform/GlTarget.h"
#include "platform/Window.h"
#include "render/PassTimer.h"
#include "scene/Scene.h"
#include "session/RaceSession.h"

namespace {

const char* const endScreenKeys = "Enter or A: play again    Escape: quit";
const char* const pauseLine = "P or Start: resume    Escape: quit";
// What a paused picture keeps of its brightness: dim enough to read as stopped, light enough
// to see where the marble stands.
const float pausedBrightness = 0.45f;
// The padding round text on its plate, in pixels.
const float plateMargin = 12.0f;

void drawFullWindow(const Game& game, BitmapFont* font, unsigned int texture) {
    float width = static_cast<float>(game.windowWidth());
    float height = static_cast<float>(game.windowHeight());
    font->drawQuad(-width / 2.0f, height / 2.0f, texture, width, height);
}

float textWidth(const BitmapFont* font, const std::string& text) {
    float width = 0.0f;
    for (char c : text)
        width += font->glyph(static_cast<unsigned char>(c)).xadvance;
    return width;
}

// An opaque dark rectangle in HUD coordinates (left, top, size): white letters read on it
// whatever picture lies under them, the winner's chequered band included.
void drawPlate(const Game& game, float left, float top, float width, float height) {
    GLfloat clearColour[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour);
    glEnable(GL_SCISSOR_TEST);
    glScissor(game.windowWidth() / 2 + static_cast<int>(std::floor(left)),
              game.windowHeight() / 2 + static_cast<int>(std::floor(top - height)),
              static_cast<int>(std::ceil(width)), static_cast<int>(std::ceil(height)));
    glClearColor(0.12f, 0.06f, 0.02f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    glClearColor(clearColour[0], clearColour[1], clearColour[2], clearColour[3]);
}

// Near the bottom-left corner, on its own plate.
void drawKeyLine(const Game& game, BitmapFont* font, const char* text) {
    const float x = static_cast<float>(-(game.windowWidth() / 2) + 24);
    const float y = static_cast<float>(-(game.windowHeight() / 2) + 60);
    drawPlate(game, x - plateMargin, y + plateMargin, textWidth(font, text) + 2.0f * plateMargin,
              static_cast<float>(font->getLineHeight()) + 2.0f * plateMargin);
    font->drawText(text, x, y, true);
}

std::vector<std::string> winLines(const WinRecord& win) {
    std::vector<std::string> lines{"Your time: " + formatRaceTime(win.seconds)};
    if (win.hasBest)
        lines.push_back("Best time: " + formatRaceTime(win.bestSeconds));
    if (win.newBest)
        lines.push_back("New best time!");
    if (win.hadPreviousBest) {
        const double difference = win.seconds - win.previousBestSeconds;
        char text[64];
        std::snprintf(text, sizeof text, "Against the best before: %c%.2f s",
                      difference < 0.0 ? '-' : '+', std::fabs(difference));
        lines.push_back(text);
    }
    return lines;
}

// The race's time on a dark plate over the lower part of the winner picture; white letters
// need the dark.
void drawWinLines(const Game& game, BitmapFont* font, const WinRecord& win) {
    const std::vector<std::string> lines = winLines(win);
    const int height = game.windowHeight();
    const float lineStep = static_cast<float>(font->getLineHeight()) + 6.0f;
    const float margin = 14.0f;
    float widest = 0.0f;
    for (const std::string& line : lines)
        widest = std::max(widest, textWidth(font, line));
    const float plateWidth = widest + 4.0f * margin;
    const float plateHeight = lineStep * static_cast<float>(lines.size()) + 2.0f * margin;
    // Over the lower part of the picture, but never down onto the key line's plate.
    const float keyPlateTop = static_cast<float>(-(height / 2) + 60) + plateMargin;
    const float bottom =
        std::max(-0.265f * static_cast<float>(height) - plateHeight / 2.0f, keyPlateTop + margin);
    const float top = bottom + plateHeight;
    drawPlate(game, -plateWidth / 2.0f, top, plateWidth, plateHeight);

    float y = top - margin;
    for (const std::string& line : lines) {
        font->drawText(line.c_str(), std::floor(-textWidth(font, line) / 2.0f), y, true);
        y -= lineStep;
    }
}

// End screens cover the whole window and stand in for the scene and the HUD.
void showEndScreen(const Game& game, unsigned int texture, const WinRecord* win) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (BitmapFont* font = game.getFont()) {
        drawFullWindow(game, font, texture);
        if (win && win->known)
            drawWinLines(game, font, *win);
        drawKeyLine(game, font, endScreenKeys);
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
// frozen, under a large "Paused".
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
        const char* const title = "Paused";
        const float scale = 3.0f;
        // Above the middle, clear of the marble the chase camera keeps there.
        const float top = static_cast<float>(game.windowHeight()) / 6.0f +
                          static_cast<float>(font->getLineHeight()) * scale / 2.0f;
        font->drawText(title, std::floor(-textWidth(font, title) * scale / 2.0f), std::floor(top),
                       true, scale);
        drawKeyLine(game, font, pauseLine);
    }
    glUseProgram(0);
    glBindTexture(GL_TEXTURE_2D, 0);
    platform::swapBuffers();
}

void drawHud(Game& game, BitmapFont* font, const Scene* scene) {
    if (isShowFpsOn()) {
        std::string fps = std::to_string(static_cast<int>(game.clock().getFps())) + " Fps  " +
                          rungName(game.qualityRung());
        font->drawText(fps.c_str(), 480.0f, 375.0f, false);
    }
    font->drawIcons(game.race().lives, game.getScreenTexture(0), 64.0f, 48.0f);
    RaceSession* session = game.getRaceSession();
    if (session && session->isReplaying())
        font->drawText("Replay", -60.0f, 375.0f, true);
    if (scene) {
        std::string clockText = formatClockText(scene->getRemainingTime());
        font->drawText(clockText.c_str(), -500.0f, 330.0f, true);
    }
}

} // namespace

void releaseFrameResources(Game& game) {
    releaseFrozenFrame(game);
}

void renderFrame(Game& game) {
    Scene* scene = game.getScene();
    handleDisplayOptions(scene);
    // The polygon mode holds for everything in the frame, HUD and end screens included.
    gltarget::setWireframe(isWireframeOn());
    glViewport(0, 0, game.windowWidth(), game.windowHeight());

    // The race keeps running behind the winner screen and may still use up the last life
    // there; the win stands.
    const RaceState& race = game.race();
    if (race.isOver())
        releaseFrozenFrame(game);
    if (race.isWon()) {
        showEndScreen(game, game.getScreenTexture(3), &game.wins().record());
        return;
    }
    if (race.isGameOver()) {
        showEndScreen(game, game.getScreenTexture(2), nullptr);
        return;
    }
    const bool paused = game.controls().isPaused();
    if (!paused) {
        releaseFrozenFrame(game);
    } else if (game.frozenFrame() != 0) {
        showPausedFrame(game);
        return;
    }
    // The first paused frame draws the race once more to keep it, then shows it paused.

    if (scene)
        scene->render();
    glActiveTexture(GL_TEXTURE0);
    gltarget::enableTexturing();
    {
        PassTiming timing("HUD");
        if (BitmapFont* font = game.getFont())
            drawHud(game, font, scene);
        drawStatusLines(game.getFont());
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
