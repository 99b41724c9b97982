#include "app/RenderFrame.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>

#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/Application.h"
#include "app/ClockText.h"
#include "app/DisplayOptions.h"
#include "app/PlayControls.h"
#include "app/RaceSession.h"
#include "app/WinRecord.h"
#include "hud/BitmapFont.h"
#include "platform/Window.h"
#include "render/PassTimer.h"
#include "scene/Clock.h"
#include "scene/Scene.h"

namespace {

const char* const endScreenKeys = "Enter or A: play again    Escape: quit";
const char* const pauseLine = "Pause    P or Start: resume    Escape: quit";

// The last picture before a pause, shown again while the game stands still.
unsigned int frozenFrame = 0;

void drawFullWindow(BitmapFont* font, unsigned int texture) {
    float width = static_cast<float>(getWindowWidth());
    float height = static_cast<float>(getWindowHeight());
    font->drawQuad(-width / 2.0f, height / 2.0f, texture, width, height);
}

// Near the bottom-left corner, clear of the pictures' own lettering.
void drawKeyLine(BitmapFont* font, const char* text) {
    font->drawText(text, static_cast<float>(-(getWindowWidth() / 2) + 24),
                   static_cast<float>(-(getWindowHeight() / 2) + 60), true);
}

float textWidth(const BitmapFont* font, const std::string& text) {
    float width = 0.0f;
    for (char c : text)
        width += font->glyph(static_cast<unsigned char>(c)).xadvance;
    return width;
}

std::vector<std::string> winLines(const WinRecord& win) {
    std::vector<std::string> lines{"Your time: " + formatRaceTime(win.seconds)};
    if (win.hasBest)
        lines.push_back("Best time: " + formatRaceTime(win.bestSeconds));
    if (win.newBest)
        lines.push_back("New best time!");
    return lines;
}

// The race's time on a dark plate over the lower part of the winner picture, where its own
// line about the keys stood (the key line below says it now); white letters need the dark.
void drawWinLines(BitmapFont* font, const WinRecord& win) {
    const std::vector<std::string> lines = winLines(win);
    const int width = getWindowWidth();
    const int height = getWindowHeight();
    const float lineStep = static_cast<float>(font->getLineHeight()) + 6.0f;
    const float margin = 14.0f;
    float widest = 0.0f;
    for (const std::string& line : lines)
        widest = std::max(widest, textWidth(font, line));
    const float plateWidth = widest + 4.0f * margin;
    const float plateHeight = lineStep * static_cast<float>(lines.size()) + 2.0f * margin;
    const float centreY = -0.265f * static_cast<float>(height);
    const float top = centreY + plateHeight / 2.0f;

    GLfloat clearColour[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour);
    glEnable(GL_SCISSOR_TEST);
    glScissor(width / 2 - static_cast<int>(plateWidth / 2.0f),
              height / 2 + static_cast<int>(top - plateHeight), static_cast<int>(plateWidth),
              static_cast<int>(plateHeight));
    glClearColor(0.22f, 0.1f, 0.03f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    glClearColor(clearColour[0], clearColour[1], clearColour[2], clearColour[3]);

    float y = top - margin;
    for (const std::string& line : lines) {
        font->drawText(line.c_str(), std::floor(-textWidth(font, line) / 2.0f), y, true);
        y -= lineStep;
    }
}

// End screens cover the whole window and stand in for the scene and the HUD.
void showEndScreen(unsigned int texture, const WinRecord* win) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (BitmapFont* font = getFont()) {
        drawFullWindow(font, texture);
        if (win && win->known)
            drawWinLines(font, *win);
        drawKeyLine(font, endScreenKeys);
    }
    platform::swapBuffers();
}

void freezeFrame() {
    if (frozenFrame == 0)
        glGenTextures(1, &frozenFrame);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, frozenFrame);
    glReadBuffer(GL_BACK);
    glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 0, 0, getWindowWidth(), getWindowHeight(), 0);
    glBindTexture(GL_TEXTURE_2D, 0);
}

void releaseFrozenFrame() {
    if (frozenFrame != 0)
        glDeleteTextures(1, &frozenFrame);
    frozenFrame = 0;
}

// While paused nothing moves: the frozen picture costs a quad instead of a whole scene.
void showPausedFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (BitmapFont* font = getFont()) {
        drawFullWindow(font, frozenFrame);
        drawKeyLine(font, pauseLine);
    }
    glUseProgram(0);
    glBindTexture(GL_TEXTURE_2D, 0);
    platform::swapBuffers();
}

void drawHud(BitmapFont* font, const Scene* scene) {
    if (isShowFpsOn()) {
        std::string fps = std::to_string(static_cast<int>(Clock::instance()->getFps())) + " Fps";
        font->drawText(fps.c_str(), 480.0f, 375.0f, false);
    }
    font->drawIcons(getLives(), getScreenTexture(0), 64.0f, 48.0f);
    RaceSession* session = getRaceSession();
    if (session && session->isReplaying())
        font->drawText("Replay", -60.0f, 375.0f, true);
    if (scene) {
        std::string clockText = formatClockText(scene->getRemainingTime());
        font->drawText(clockText.c_str(), -500.0f, 330.0f, true);
    }
}

} // namespace

void releaseFrameResources() {
    releaseFrozenFrame();
}

void renderFrame() {
    handleDisplayOptions();
    // The polygon mode holds for everything in the frame, HUD and end screens included.
    glPolygonMode(GL_FRONT_AND_BACK, isWireframeOn() ? GL_LINE : GL_FILL);
    glViewport(0, 0, getWindowWidth(), getWindowHeight());

    // The race keeps running behind the winner screen and may still use up the last life
    // there; the win stands.
    if (isGameWon() || isGameOver())
        releaseFrozenFrame();
    if (isGameWon()) {
        showEndScreen(getScreenTexture(3), &getWinRecord());
        return;
    }
    if (isGameOver()) {
        showEndScreen(getScreenTexture(2), nullptr);
        return;
    }
    if (!isPaused()) {
        releaseFrozenFrame();
    } else if (frozenFrame != 0) {
        showPausedFrame();
        return;
    }

    Scene* scene = getScene();
    if (scene)
        scene->render();
    glActiveTexture(GL_TEXTURE0);
    glEnable(GL_TEXTURE_2D);
    {
        PassTiming timing("HUD");
        if (BitmapFont* font = getFont())
            drawHud(font, scene);
        drawStatusLines();
    }
    if (isPaused()) {
        freezeFrame();
        if (BitmapFont* font = getFont())
            drawKeyLine(font, pauseLine);
    }

    // Leave no HUD texture or program behind for the next frame's passes.
    glActiveTexture(GL_TEXTURE0);
    glDisable(GL_TEXTURE_2D);
    glUseProgram(0);
    glBindTexture(GL_TEXTURE_2D, 0);
    platform::swapBuffers();
}
