#pragma once

#include <string>
#include <vector>

#include <glm/glm.hpp>

#include "hud/HudCanvas.h"
#include "hud/HudRect.h"

class BitmapFont;

// The pieces every overlay on the picture is made of (the end screens' lines, the pause menu's
// pages, the HUD's own messages), all sized from the font's measured line height on the
// window's canvas, so one layout fits every window from 640 x 480 to 3840 x 2160:
//   - title(): one large line centred above the middle;
//   - a plate: lines centred on one dark plate, from a given top down;
//   - keyLine(): the keys that work there, on a plate near the bottom-left corner.
//
// How an overlay uses it: make one for the frame,
//     OverlayLayout overlay(*font, HudCanvas(windowWidth, windowHeight));
// draw the title, then plates from the top of content() down (placePlate() works out where a
// plate and each of its lines go, drawPlate() draws what it worked out, and plateSize() says
// how much room lines need), and the key line last, naming only the keys that act there.
// Positions are never given in pixels: everything comes from the canvas (HudCanvas::at) and
// the sizes here. Everything is drawn filled and over what is there.
class OverlayLayout {
  public:
    inline static const glm::vec4 white{1.0f, 1.0f, 1.0f, 1.0f};
    // The clock in its last seconds, a warning on an overlay.
    inline static const glm::vec4 warning{1.0f, 0.35f, 0.2f, 1.0f};
    // A line that cannot be chosen now.
    inline static const glm::vec4 greyed{0.55f, 0.55f, 0.55f, 1.0f};

    struct Line {
        std::string text;
        glm::vec4 colour = white;
        // The line Enter acts on: a lighter band behind it.
        bool chosen = false;
    };
    // A plate worked out and not yet drawn.
    struct Plate {
        HudRect box;
        struct Row {
            Line line;
            // The line's band across the plate, for the mouse and for its lit band.
            HudRect band;
            // The pen at the top of its text.
            glm::vec2 pen;
        };
        std::vector<Row> rows;
    };

    OverlayLayout(BitmapFont& font, const HudCanvas& canvas);

    const HudCanvas& canvas() const { return area; }
    // The scale the font draws at on this window.
    float textScale() const { return area.scale(); }
    // One line of text, from the font's own line height.
    float lineHeight() const;
    // From one line's top to the next on a plate.
    float lineStep() const;
    // Round the text on a plate.
    float margin() const;

    HudRect title(const std::string& text);
    // What title() covers, nothing drawn.
    HudRect titleBox(const std::string& text) const;
    // The plate's width and height for these lines, nothing drawn.
    glm::vec2 plateSize(const std::vector<Line>& lines) const;
    // The lines centred across the window on one plate whose top edge is at top (HUD y).
    Plate placePlate(const std::vector<Line>& lines, float top) const;
    void drawPlate(const Plate& plate);
    // Also nothing drawn.
    HudRect keyLineBox(const std::string& keys) const;
    HudRect keyLine(const std::string& keys);
    // Where plates go: below the title's place, above the key line's.
    HudRect content() const;

  private:
    void fill(const HudRect& box, const glm::vec3& colour) const;
    float titleScale() const;
    glm::vec2 titlePen(const std::string& text) const;

    BitmapFont& font;
    HudCanvas area;
};
