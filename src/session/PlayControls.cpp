#include "session/PlayControls.h"

#include "platform/Input.h"
#include "platform/Keys.h"
#include "scene/Scene.h"
#include "sound/BackgroundMusic.h"
#include "sound/SoundEffects.h"

namespace {

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

BackgroundMusic* musicOf(Scene* scene) {
    return scene ? scene->getMusic() : nullptr;
}

SoundEffects* effectsOf(Scene* scene) {
    return scene ? scene->getSoundEffects() : nullptr;
}

} // namespace

void PlayControls::setPaused(bool pause, Scene* scene) {
    paused = pause;
    if (pause)
        fade.fadeOut(platform::getTime());
    else
        fade.fadeIn(platform::getTime(), musicOf(scene), effectsOf(scene));
}

PlayEvent PlayControls::handle(Scene* scene, RaceState& race, bool mayPlayAgain) {
    const GamepadState pad = platform::gamepadState();
    bool pauseKey = pressedNow(GLFW_KEY_P, pauseKeyWasDown);
    pauseKey = pressedNow(pad, gamepad::Start, startWasDown) || pauseKey;
    bool enter = pressedNow(GLFW_KEY_ENTER, enterWasDown);
    enter = pressedNow(GLFW_KEY_KP_ENTER, keypadEnterWasDown) || enter;
    enter = pressedNow(pad, gamepad::A, buttonAWasDown) || enter;
    bool focus = platform::hasFocus();
    bool focusLost = hadFocus && !focus;
    hadFocus = focus;

    PlayEvent event = PlayEvent::None;
    if (race.isOver()) {
        if (enter && mayPlayAgain)
            event = PlayEvent::PlayAgain;
    } else if (paused) {
        if (pauseKey)
            event = PlayEvent::Resumed;
    } else if (pauseKey || focusLost) {
        event = PlayEvent::Paused;
    }
    apply(event, scene, race);
    fade.advance(platform::getTime(), musicOf(scene), effectsOf(scene));
    return event;
}

void PlayControls::apply(PlayEvent event, Scene* scene, RaceState& race) {
    switch (event) {
    case PlayEvent::Paused:
        setPaused(true, scene);
        break;
    case PlayEvent::Resumed:
        setPaused(false, scene);
        break;
    case PlayEvent::PlayAgain:
        // A race started from a pause is heard again.
        if (paused)
            setPaused(false, scene);
        if (scene)
            scene->restartRace();
        else
            race.restart();
        break;
    case PlayEvent::None:
        break;
    }
}
