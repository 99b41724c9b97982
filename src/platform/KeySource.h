#pragma once

// Where the game reads key states from (GLFW 3 key codes). The GLFW backend polls the
// window; tests install scripted keys.
class KeySource {
  public:
    virtual ~KeySource() = default;
    virtual bool isDown(int key) = 0;
    // Whether the game's window has the keyboard; a game without it pauses.
    virtual bool hasFocus() { return true; }
    // The mouse: a button (GLFW's button constants) held down, and where the cursor stands in
    // window pixels from the top-left corner (false when it is nowhere over the window).
    virtual bool isMouseButtonDown(int /*button*/) { return false; }
    virtual bool cursorPosition(double& /*x*/, double& /*y*/) { return false; }
};
