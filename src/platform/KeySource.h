#pragma once

// Where the game reads key states from (GLFW 3 key codes). The GLFW backend polls the
// window; tests install scripted keys.
class KeySource {
  public:
    virtual ~KeySource() = default;
    virtual bool isDown(int key) = 0;
    // Whether the game's window has the keyboard; a game without it pauses.
    virtual bool hasFocus() { return true; }
};
