#pragma once

#include <string>
#include <vector>

#include <glm/glm.hpp>

#include "hud/HudCanvas.h"
#include "hud/HudRect.h"

class BitmapFont;

// What the race's HUD shows in one frame; the frame's composer fills it in from the race.
struct RaceHudView {
    struct StatusLine {
        // The F-key's slot (0 to 9): its row under the top edge.
        int slot = 0;
        std::string text;
    };

    // Spare lives, one icon each, drawn with lifeIcon.
    int lives = 0;
    unsigned int lifeIcon = 0;
    bool showClock = false;
    double remainingTime = 0.0;
    // Empty when the frame rate is not shown.
    std::string fpsLine;
    bool replaying = false;
    std::vector<StatusLine> statusLines;
    // A short line centred on a plate (why a life was lost); empty for none.
    std::string message;
    // A line under the clock (how to reach the menu, at a first start); empty for none.
    std::string hint;
};

// The race's HUD: the life icons and the clock in the top-left corner, the frame rate and the
// replay's label in the top-right one, the F-keys' status lines under the top edge and a
// message over the middle, each where the 1024 x 768 layout puts it and hung from its corner
// or edge of the canvas (see HudCanvas).
class RaceHud {
  public:
    struct Element {
        std::string name;
        HudRect box;
    };

    // The clock warns in its last seconds.
    static constexpr double warningSeconds = 10.0;

    RaceHud(BitmapFont& font, const HudCanvas& canvas);

    // Where each element of the view goes, nothing drawn.
    std::vector<Element> place(const RaceHudView& view) const;
    void draw(const RaceHudView& view);

  private:
    struct Item;
    std::vector<Item> items(const RaceHudView& view) const;

    BitmapFont& font;
    HudCanvas canvas;
};
