#pragma once

#include <glm/glm.hpp>

#include "hud/HudRect.h"

// The HUD and every overlay are laid out once, on a 1024 x 768 canvas in the HUD coordinates of
// a window that size (origin at the centre, y up). A window of any other size shows that
// canvas scaled with its height (or with its width where it is narrower than 4:3, so nothing
// leaves it), and each element keeps its distance from the corner or edge it hangs from: the
// clock stays in the top-left corner of a 21:9 window instead of floating inside it. At
// 1024 x 768 every point maps to itself.
class HudCanvas {
  public:
    static constexpr float width = 1024.0f;
    static constexpr float height = 768.0f;

    // The canvas point an element hangs from; the window's own point of the same name is where
    // that ends up.
    enum class Anchor {
        TopLeft,
        Top,
        TopRight,
        Left,
        Centre,
        Right,
        BottomLeft,
        Bottom,
        BottomRight
    };

    HudCanvas(int windowWidth, int windowHeight);

    // Window pixels per canvas unit.
    float scale() const { return factor; }
    // Canvas units as window pixels.
    float pixels(float canvasUnits) const { return canvasUnits * factor; }
    // Where a point of the 1024 x 768 layout (in its HUD coordinates) lies in this window, in
    // HUD coordinates on the nearest whole pixel, when it hangs from the given anchor.
    glm::vec2 at(Anchor anchor, glm::vec2 canvasPoint) const;
    // A point in window pixels (from the top-left corner, y down, as the mouse reports it) in
    // HUD coordinates, to test against the rectangles an overlay placed.
    glm::vec2 fromWindow(double x, double y) const {
        return {windowRect.left + static_cast<float>(x), windowRect.top - static_cast<float>(y)};
    }
    // The window in HUD coordinates.
    const HudRect& window() const { return windowRect; }
    int windowWidth() const { return widthInPixels; }
    int windowHeight() const { return heightInPixels; }

  private:
    glm::vec2 windowPoint(Anchor anchor) const;

    int widthInPixels;
    int heightInPixels;
    float factor;
    HudRect windowRect;
};
