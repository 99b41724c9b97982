#include "app/PlayControls.h"

#include "app/AppState.h"
#include "platform/Input.h"
#include "platform/Keys.h"
#include "scene/Scene.h"
#include "sound/BackgroundMusic.h"

namespace {

bool paused = false;
bool pauseKeyWasDown = false;
bool enterWasDown = false;
bool keypadEnterWasDown = false;
bool startWasDown = false;
bool buttonAWasDown = false;
bool hadFocus = true;

bool pressedNow(int key, bool& wasDown) {
    bool down = platform::isKeyDown(key);
    bool pressed = down && !wasDown;
    wasDown = down;
    return pressed;
}

bool pressedNow(const GamepadState& pad, int button, bool& wasDown) {
    bool down = pad.buttons[button];
    bool pressed = down && !wasDown;
    wasDown = down;
    return pressed;
}

void setPaused(bool pause, Scene* scene) {
    paused = pause;
    BackgroundMusic* music = scene ? scene->getMusic() : nullptr;
    if (!music)
        return;
    if (pause)
        music->pause();
    else
        music->resume();
}

} // namespace

PlayEvent handlePlayControls(Scene* scene, bool mayPlayAgain) {
    const GamepadState pad = platform::gamepadState();
    bool pauseKey = pressedNow(GLFW_KEY_P, pauseKeyWasDown);
    pauseKey = pressedNow(pad, GLFW_GAMEPAD_BUTTON_START, startWasDown) || pauseKey;
    bool enter = pressedNow(GLFW_KEY_ENTER, enterWasDown);
    enter = pressedNow(GLFW_KEY_KP_ENTER, keypadEnterWasDown) || enter;
    enter = pressedNow(pad, GLFW_GAMEPAD_BUTTON_A, buttonAWasDown) || enter;
    bool focus = platform::hasFocus();
    bool focusLost = hadFocus && !focus;
    hadFocus = focus;

    PlayEvent event = PlayEvent::None;
    if (isGameWon() || isGameOver()) {
        if (enter && mayPlayAgain)
            event = PlayEvent::PlayAgain;
    } else if (paused) {
        if (pauseKey)
            event = PlayEvent::Resumed;
    } else if (pauseKey || focusLost) {
        event = PlayEvent::Paused;
    }
    applyPlayEvent(event, scene);
    return event;
}

void applyPlayEvent(PlayEvent event, Scene* scene) {
    switch (event) {
    case PlayEvent::Paused:
        setPaused(true, scene);
        break;
    case PlayEvent::Resumed:
        setPaused(false, scene);
        break;
    case PlayEvent::PlayAgain:
        paused = false;
        if (scene)
            scene->restartRace();
        else
            resetRace();
        break;
    case PlayEvent::None:
        break;
    }
}

bool isPaused() {
    return paused;
}

void resetPlayControls() {
    paused = false;
    pauseKeyWasDown = false;
    enterWasDown = false;
    keypadEnterWasDown = false;
    startWasDown = false;
    buttonAWasDown = false;
    hadFocus = true;
}
