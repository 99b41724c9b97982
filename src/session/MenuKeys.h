#pragma once

#include "session/MenuInput.h"

// Reads the keys, the gamepad and the mouse for the pause menu once a frame: arrows or W/S/A/D
// and the pad's D-pad move and change, Enter or A chooses, Backspace or B goes back, the left
// mouse button clicks. Each counts on being pressed, not while held.
class MenuKeys {
  public:
    // pointedLine: the line under the cursor, which only the caller's layout knows.
    MenuInput read(int pointedLine);

  private:
    static constexpr int watchedCount = 18;
    bool wasDown[watchedCount] = {};
    double cursorX = 0.0;
    double cursorY = 0.0;
};
