#pragma once

#include "platform/GamepadState.h"

class TimeSource;
class KeySource;
class GamepadSource;

// The one door through which the game reads time, keys, the mouse and the gamepad. By default they
// come from GLFW; a test replaces them with scripted sources (pass nullptr to go back to GLFW).
namespace platform {

void setTimeSource(TimeSource* source);
void setKeySource(KeySource* source);
void setGamepadSource(GamepadSource* source);

// Seconds since the platform was initialised (0 before that, as GLFW reports).
double getTime();
// True while the key (a GLFW key constant) is held down.
bool isKeyDown(int key);
// Forgets the key and button states read since the window last processed its events; the
// window calls it after each poll. Until then every reader sees the same state.
void forgetInputStates();
// True while the mouse button (a GLFW button constant) is held down.
bool isMouseButtonDown(int button);
// Where the cursor stands over the window, in the window's pixels from its top-left corner;
// false when it is not over the window.
bool cursorPosition(double& x, double& y);
// True while the game's window has the keyboard focus (or when there is no window to ask).
bool hasFocus();
// The first connected gamepad as it is now; all axes 0 and all buttons up when there is none.
GamepadState gamepadState();

} // namespace platform
