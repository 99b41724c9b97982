#pragma once

#include <set>

#include "platform/KeySource.h"

// Key states set by a test or a scripted driver instead of a keyboard.
class ScriptedKeys : public KeySource {
  public:
    bool isDown(int key) override { return down.count(key) != 0; }
    void press(int key) { down.insert(key); }
    void release(int key) { down.erase(key); }
    void set(int key, bool pressed) { pressed ? press(key) : release(key); }
    void releaseAll() { down.clear(); }
    bool hasFocus() override { return focused; }
    void setFocus(bool hasIt) { focused = hasIt; }

  private:
    std::set<int> down;
    bool focused = true;
};
