#include "hud/HudCanvas.h"

#include <algorithm>
#include <cmath>

namespace {

// Where each anchor sits across the window, from its left and bottom (0) to its right and top
// (1), in the order of HudCanvas::Anchor.
const glm::vec2 anchorShares[] = {{0.0f, 1.0f}, {0.5f, 1.0f}, {1.0f, 1.0f},
                                  {0.0f, 0.5f}, {0.5f, 0.5f}, {1.0f, 0.5f},
                                  {0.0f, 0.0f}, {0.5f, 0.0f}, {1.0f, 0.0f}};

glm::vec2 anchorShare(HudCanvas::Anchor anchor) {
    return anchorShares[static_cast<int>(anchor)];
}

} // namespace

HudCanvas::HudCanvas(int windowWidth, int windowHeight)
    : widthInPixels(std::max(windowWidth, 1)), heightInPixels(std::max(windowHeight, 1)) {
    factor = std::min(static_cast<float>(heightInPixels) / height,
                      static_cast<float>(widthInPixels) / width);
    // The same edges as the HUD matrix: integer halves on the left and at the bottom.
    windowRect = {static_cast<float>(-(widthInPixels / 2)),
                  static_cast<float>(-(heightInPixels / 2)), widthInPixels / 2.0f,
                  heightInPixels / 2.0f};
}

glm::vec2 HudCanvas::windowPoint(Anchor anchor) const {
    const glm::vec2 share = anchorShare(anchor);
    // The centre is the HUD origin whatever the window's size, odd sizes included.
    const float x = share.x == 0.5f ? 0.0f : share.x < 0.5f ? windowRect.left : windowRect.right;
    const float y = share.y == 0.5f ? 0.0f : share.y < 0.5f ? windowRect.bottom : windowRect.top;
    return {x, y};
}

glm::vec2 HudCanvas::at(Anchor anchor, glm::vec2 canvasPoint) const {
    const glm::vec2 share = anchorShare(anchor);
    const glm::vec2 canvasAnchor((share.x - 0.5f) * width, (share.y - 0.5f) * height);
    const glm::vec2 point = windowPoint(anchor) + (canvasPoint - canvasAnchor) * factor;
    // Whole pixels keep scaled letters as sharp as the font's texels allow.
    return {std::round(point.x), std::round(point.y)};
}
