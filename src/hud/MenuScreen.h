#pragma once

#include <vector>

#include "hud/HudCanvas.h"
#include "hud/MenuPage.h"
#include "hud/ScreenLayout.h"

class BitmapFont;

// A pause-menu page over what the window already shows (the dimmed picture of the race), made
// of the screens' shared pieces: the title, the rows to read on a plate of their own, the
// lines on the next with the chosen one lit and a greyed line's reason under it, a message
// plate, and the key line. The same layout tells which line the mouse is over.
class MenuScreen {
  public:
    MenuScreen(BitmapFont& font, const HudCanvas& canvas);

    void draw(const MenuPage& page);
    // The page's line at (x, y), window pixels from the top-left corner; -1 for none.
    int lineAt(const MenuPage& page, double x, double y) const;

  private:
    // The lines plate's lines, and for each page line the plate line it became.
    std::vector<ScreenLayout::Line> plateLines(const MenuPage& page,
                                               std::vector<int>* lineOfPage = nullptr) const;
    // Where the lines plate's top edge goes, below the rows' plate.
    float linesTop(const MenuPage& page) const;

    ScreenLayout layout;
};
