#include "platform/WebPage.h"

#include <emscripten.h>

#include <cstdio>
#include <iostream>

#include "platform/Keys.h"

// src/platform/web/PageFocus.js: 1 while the page is shown and has the keyboard.
extern "C" int quillorb_page_focused(void);

namespace {

bool keyTapped[GLFW_KEY_LAST + 1] = {};

void rememberTap(GLFWwindow*, int key, int, int action, int) {
    if (action == GLFW_PRESS && key >= 0 && key <= GLFW_KEY_LAST)
        keyTapped[key] = true;
}

struct PageLoop {
    platform::PageFrame frame = nullptr;
    platform::PageFinish finish = nullptr;
    void* game = nullptr;
};
PageLoop loop;

void runOneFrame() {
    if (loop.frame(loop.game))
        return;
    emscripten_cancel_main_loop();
    platform::endInPage(loop.finish(loop.game));
}

} // namespace

namespace platform {

bool pageHasFocus() {
    return quillorb_page_focused() != 0;
}

void keepKeyTaps(GLFWwindow* window) {
    glfwSetKeyCallback(window, rememberTap);
}

bool takeKeyTap(int key) {
    if (key < 0 || key > GLFW_KEY_LAST)
        return false;
    const bool tapped = keyTapped[key];
    keyTapped[key] = false;
    return tapped;
}

void runInPage(PageFrame frame, PageFinish finish, void* game) {
    loop = PageLoop{frame, finish, game};
    // 0 frames a second: the browser's own refresh paces the frames, as vsync would.
    emscripten_set_main_loop(runOneFrame, 0, false);
}

void endInPage(int exitCode) {
    // The page shows the last line printed; nothing may be left in a buffer.
    std::cout << std::flush;
    std::fflush(nullptr);
    emscripten_force_exit(exitCode);
    __builtin_unreachable();
}

} // namespace platform
