#include "app/RenderFrame.h"

#include <GL/glew.h>

#include <string>

#include "app/AppState.h"
#include "app/Application.h"
#include "app/ClockText.h"
#include "app/DisplayOptions.h"
#include "hud/BitmapFont.h"
#include "platform/Window.h"
#include "scene/Clock.h"
#include "scene/Scene.h"

namespace {
void showEndScreen(unsigned int texture, float x0, float y0) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    getFont()->drawQuad(x0, y0, texture, static_cast<float>(getWindowWidth()),
                        static_cast<float>(getWindowHeight()));
    platform::swapBuffers();
}
} // namespace

void renderFrame() {
    handleDisplayOptions();
    glPolygonMode(GL_FRONT_AND_BACK, isWireframeOn() ? GL_LINE : GL_FILL);
    glViewport(0, 0, getWindowWidth(), getWindowHeight());

    float x0 = -getWindowWidth() / 2.0f;
    float y0 = getWindowHeight() / 2.0f;
    if (isGameWon()) {
        showEndScreen(getScreenTexture(3), x0, y0);
        return;
    }
    if (isGameOver()) {
        showEndScreen(getScreenTexture(2), x0, y0);
        return;
    }

    getScene()->render();
    glActiveTexture(GL_TEXTURE0);
    glEnable(GL_TEXTURE_2D);
    BitmapFont* font = getFont();
    if (isShowFpsOn()) {
        std::string fps = std::to_string(static_cast<int>(Clock::instance()->getFps())) + " Fps";
        font->drawText(fps.c_str(), 480.0f, 375.0f, false);
    }
    font->drawIcons(getLives(), getScreenTexture(0), 64.0f, 48.0f);
    std::string clockText = formatClockText(getScene()->getRemainingTime());
    font->drawText(clockText.c_str(), -500.0f, 330.0f, true);
    drawStatusLines();

    glActiveTexture(GL_TEXTURE0);
    glDisable(GL_TEXTURE_2D);
    glUseProgram(0);
    glBindTexture(GL_TEXTURE_2D, 0);
    platform::swapBuffers();
}
