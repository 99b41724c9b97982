#pragma once

// What the player did to the pause menu in one frame: keys and buttons count once, on being
// pressed; pointedLine is the menu line under the mouse (-1 for none), pointerMoved whether the
// mouse moved since the last frame, clicked a press of its left button.
struct MenuInput {
    bool up = false;
    bool down = false;
    bool left = false;
    bool right = false;
    bool choose = false;
    bool back = false;
    int pointedLine = -1;
    bool pointerMoved = false;
    bool clicked = false;
};
