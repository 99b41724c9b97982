#pragma once

#include <set>

#include "platform/KeySource.h"

// Key states, mouse buttons and the cursor set by a test or a scripted driver instead of a
// keyboard and a mouse.
class ScriptedKeys : public KeySource {
  public:
    bool isDown(int key) override { return down.count(key) != 0; }
    void press(int key) { down.insert(key); }
    void release(int key) { down.erase(key); }
    void set(int key, bool pressed) { pressed ? press(key) : release(key); }
    void releaseAll() { down.clear(); }
    bool hasFocus() override { return focused; }
    void setFocus(bool hasIt) { focused = hasIt; }
    bool isMouseButtonDown(int button) override { return buttons.count(button) != 0; }
    void setMouseButton(int button, bool pressed) {
        pressed ? (void)buttons.insert(button) : (void)buttons.erase(button);
    }
    bool cursorPosition(double& x, double& y) override {
        x = cursorX;
        y = cursorY;
        return cursorInside;
    }
    void moveCursor(double x, double y) {
        cursorX = x;
        cursorY = y;
        cursorInside = true;
    }

  private:
    std::set<int> down;
    std::set<int> buttons;
    bool focused = true;
    double cursorX = 0.0;
    double cursorY = 0.0;
    bool cursorInside = false;
};
