#pragma once

#include "hud/MenuPage.h"

class BitmapFont;

// Draws a pause-menu page over what the window already shows (the dimmed picture of the race)
// and finds the line under the mouse, from one layout: a title, the rows, the lines on a dark
// plate with the chosen one lit, a message and the key line near the bottom-left corner. The
// whole menu shrinks to fit a small window.
class MenuScreen {
  public:
    MenuScreen(BitmapFont& font, int windowWidth, int windowHeight);

    void draw(const MenuPage& page) const;
    // The line at (x, y), window pixels from the top-left corner; -1 for none.
    int lineAt(const MenuPage& page, double x, double y) const;

  private:
    struct Layout {
        float scale;
        float left;
        float width;
        float titleTop;
        float rowsTop;
        float linesTop;
        float lineStep;
        float messageTop;
    };
    Layout layout(const MenuPage& page) const;
    float textWidth(const std::string& text) const;
    // The top of each line, detail lines taking a step of their own.
    float lineTop(const MenuPage& page, const Layout& at, int line) const;
    void drawPlate(float left, float top, float width, float height, float grey) const;
    void drawKeys(const std::string& keys) const;

    BitmapFont& font;
    int width;
    int height;
};
