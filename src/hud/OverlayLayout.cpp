#include "hud/OverlayLayout.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>

#include "hud/BitmapFont.h"

namespace {

// In canvas units, as the overlays had them at 1024 x 768.
const float plateMargin = 12.0f;
const float lineGap = 6.0f;
const float titleSize = 3.0f;
// The title's top, above the middle and clear of the marble the chase camera keeps there.
const glm::vec2 titleTop(0.0f, 128.0f);
// The key line's pen, near the bottom-left corner.
const glm::vec2 keyPen(-512.0f + 24.0f, -384.0f + 60.0f);

const glm::vec3 plateColour(0.12f, 0.06f, 0.02f);
const glm::vec3 chosenColour(0.36f, 0.22f, 0.08f);

} // namespace

OverlayLayout::OverlayLayout(BitmapFont& font, const HudCanvas& canvas)
    : font(font), area(canvas) {}

float OverlayLayout::lineHeight() const {
    return static_cast<float>(font.getLineHeight()) * textScale();
}

float OverlayLayout::lineStep() const {
    return lineHeight() + area.pixels(lineGap);
}

float OverlayLayout::margin() const {
    return area.pixels(plateMargin);
}

// A plate is the window's own clear colour in a scissored rectangle: opaque whatever the
// polygon mode, and cheaper than a quad with its own program.
void OverlayLayout::fill(const HudRect& box, const glm::vec3& colour) const {
    GLfloat clearColour[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour);
    glEnable(GL_SCISSOR_TEST);
    const int left = area.windowWidth() / 2 + static_cast<int>(std::floor(box.left));
    const int bottom = area.windowHeight() / 2 + static_cast<int>(std::floor(box.bottom));
    glScissor(left, bottom, static_cast<int>(std::ceil(box.width())),
              static_cast<int>(std::ceil(box.height())));
    glClearColor(colour.r, colour.g, colour.b, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    glClearColor(clearColour[0], clearColour[1], clearColour[2], clearColour[3]);
}

float OverlayLayout::titleScale() const {
    return titleSize * textScale();
}

// Centred on the line's height above the canvas point.
glm::vec2 OverlayLayout::titlePen(const std::string& text) const {
    const glm::vec2 anchor = area.at(HudCanvas::Anchor::Centre, titleTop);
    return {std::floor(-font.textWidth(text.c_str()) * titleScale() / 2.0f),
            std::floor(anchor.y + static_cast<float>(font.getLineHeight()) * titleScale() / 2.0f)};
}

HudRect OverlayLayout::titleBox(const std::string& text) const {
    const glm::vec2 pen = titlePen(text);
    return font.textBox(text.c_str(), pen.x, pen.y, true, titleScale());
}

HudRect OverlayLayout::title(const std::string& text) {
    const glm::vec2 pen = titlePen(text);
    font.drawText(text.c_str(), pen.x, pen.y, true, titleScale());
    return titleBox(text);
}

glm::vec2 OverlayLayout::plateSize(const std::vector<Line>& lines) const {
    float widest = 0.0f;
    for (const Line& line : lines)
        widest = std::max(widest, font.textWidth(line.text.c_str()) * textScale());
    const float rows = static_cast<float>(lines.size());
    return {std::ceil(widest + 4.0f * margin()),
            std::ceil(rows * std::floor(lineStep()) - area.pixels(lineGap) + 2.0f * margin())};
}

OverlayLayout::Plate OverlayLayout::placePlate(const std::vector<Line>& lines, float top) const {
    const glm::vec2 size = plateSize(lines);
    Plate plate;
    const float left = std::floor(-size.x / 2.0f);
    plate.box = {left, top - size.y, left + size.x, top};
    const float step = std::floor(lineStep());
    float y = std::floor(top - margin());
    for (const Line& line : lines) {
        const float x = std::floor(-font.textWidth(line.text.c_str()) * textScale() / 2.0f);
        plate.rows.push_back({line, HudRect{plate.box.left, y - step, plate.box.right, y}, {x, y}});
        y -= step;
    }
    return plate;
}

void OverlayLayout::drawPlate(const Plate& plate) {
    fill(plate.box, plateColour);
    for (const Plate::Row& row : plate.rows) {
        if (row.line.chosen)
            fill(HudRect{row.band.left, row.band.top - lineHeight(), row.band.right, row.band.top},
                 chosenColour);
        font.drawText(row.line.text.c_str(), row.pen.x, row.pen.y, true, textScale(),
                      row.line.colour);
    }
}

HudRect OverlayLayout::keyLineBox(const std::string& keys) const {
    const glm::vec2 pen = area.at(HudCanvas::Anchor::BottomLeft, keyPen);
    const float width = font.textWidth(keys.c_str()) * textScale();
    return {pen.x - margin(), pen.y - lineHeight() - margin(), pen.x + width + margin(),
            pen.y + margin()};
}

HudRect OverlayLayout::keyLine(const std::string& keys) {
    const HudRect box = keyLineBox(keys);
    fill(box, plateColour);
    font.drawText(keys.c_str(), box.left + margin(), box.top - margin(), true, textScale());
    return box;
}

HudRect OverlayLayout::content() const {
    const float titleHeight = static_cast<float>(font.getLineHeight()) * titleScale();
    const float titleBottom = area.at(HudCanvas::Anchor::Centre, titleTop).y - titleHeight / 2.0f;
    const float keyTop = keyLineBox("").top;
    return {area.window().left, keyTop + margin(), area.window().right, titleBottom - margin()};
}
