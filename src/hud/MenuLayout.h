#pragma once

#include <optional>
#include <string>
#include <vector>

#include "hud/HudCanvas.h"
#include "hud/MenuView.h"
#include "hud/OverlayLayout.h"

class BitmapFont;

// A pause-menu page over what the window already shows (the dimmed picture of the race), made
// of the overlays' shared pieces: the title, the rows to read on a plate of their own, the
// lines on the next with the chosen one lit and a greyed line's reason under it, a message
// plate, and the key line. Where each piece goes is worked out once, when it is made: drawing
// it and asking which line the mouse is over both read that one placement.
class MenuLayout {
  public:
    MenuLayout(BitmapFont& font, const HudCanvas& canvas, const MenuView& view);

    void draw();
    // The view's line at (x, y), window pixels from the top-left corner; -1 for none.
    int lineAt(double x, double y) const;
    // What each piece covers: the title, the plates and the key line.
    std::vector<HudRect> boxes() const;

  private:
    OverlayLayout overlay;
    std::string title;
    std::string keys;
    std::optional<OverlayLayout::Plate> rowsPlate;
    OverlayLayout::Plate linesPlate;
    std::optional<OverlayLayout::Plate> messagePlate;
    // For each of the view's lines, its row on the lines plate (a greyed line's reason takes a
    // row of its own under it).
    std::vector<int> rowOfLine;
};
