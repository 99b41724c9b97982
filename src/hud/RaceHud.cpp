#include "hud/RaceHud.h"

#include <cmath>

#include "hud/BitmapFont.h"
#include "hud/ClockText.h"
#include "hud/OverlayLayout.h"

namespace {

using Anchor = HudCanvas::Anchor;

// The 1024 x 768 layout: pens at the top of their lines, the icons' top-left corner. The first
// icon starts off the window; the transparent rim of its picture is what lies outside.
const glm::vec2 fpsPen(480.0f, 375.0f);
const glm::vec2 replayPen(480.0f, 340.0f);
const glm::vec2 clockPen(-500.0f, 330.0f);
// Below the clock and clear of the F-keys' lines, which only F7's empty row passes.
const glm::vec2 hintPen(-500.0f, 255.0f);
const glm::vec2 iconCorner(-520.0f, 380.0f);
const glm::vec2 iconSize(64.0f, 48.0f);
const float iconSpacing = 50.0f;
const glm::vec2 firstStatusPen(0.0f, 425.0f);
const float statusSpacing = 25.0f;
// The message's plate, above the marble the chase camera keeps in the middle.
const glm::vec2 messageTop(0.0f, 150.0f);

} // namespace

struct RaceHud::Item {
    enum class Kind { Text, Icon, Message } kind;
    std::string name;
    std::string text;
    glm::vec2 pen;
    bool leftToRight;
    glm::vec4 colour;
    HudRect box;
};

RaceHud::RaceHud(BitmapFont& font, const HudCanvas& canvas) : font(font), canvas(canvas) {}

std::vector<RaceHud::Item> RaceHud::items(const RaceHudView& view) const {
    std::vector<Item> placed;
    const float scale = canvas.scale();
    auto text = [&](const std::string& name, const std::string& words, Anchor anchor, glm::vec2 pen,
                    bool leftToRight, glm::vec4 colour = OverlayLayout::white) {
        const glm::vec2 at = canvas.at(anchor, pen);
        placed.push_back({Item::Kind::Text, name, words, at, leftToRight, colour,
                          font.textBox(words.c_str(), at.x, at.y, leftToRight, scale)});
    };

    if (!view.fpsLine.empty())
        text("frame rate", view.fpsLine, Anchor::TopRight, fpsPen, false);
    if (view.lives >= 1 && view.lives <= 3) {
        const glm::vec2 size = iconSize * scale;
        for (int i = 0; i < view.lives; ++i) {
            const glm::vec2 corner = canvas.at(
                Anchor::TopLeft, iconCorner + glm::vec2(iconSpacing * static_cast<float>(i), 0.0f));
            placed.push_back({Item::Kind::Icon, "life " + std::to_string(i + 1), "", corner, true,
                              OverlayLayout::white,
                              HudRect{corner.x, corner.y - size.y, corner.x + size.x, corner.y}});
        }
    }
    if (view.replaying)
        text("replay", "Replay", Anchor::TopRight, replayPen, false);
    if (view.showClock) {
        const bool warn = view.remainingTime <= warningSeconds;
        text("clock", formatClockText(view.remainingTime), Anchor::TopLeft, clockPen, true,
             warn ? OverlayLayout::warning : OverlayLayout::white);
    }
    if (!view.hint.empty())
        text("hint", view.hint, Anchor::TopLeft, hintPen, true);
    for (const RaceHudView::StatusLine& line : view.statusLines)
        text("status " + std::to_string(line.slot), line.text, Anchor::Top,
             firstStatusPen - glm::vec2(0.0f, statusSpacing * static_cast<float>(line.slot)),
             false);
    if (!view.message.empty()) {
        const float top = canvas.at(Anchor::Centre, messageTop).y;
        const HudRect plate = OverlayLayout(font, canvas).placePlate({{view.message}}, top).box;
        placed.push_back({Item::Kind::Message, "message", view.message, glm::vec2(0.0f, top), true,
                          OverlayLayout::white, plate});
    }
    return placed;
}

std::vector<RaceHud::Element> RaceHud::place(const RaceHudView& view) const {
    std::vector<Element> elements;
    for (const Item& item : items(view))
        elements.push_back({item.name, item.box});
    return elements;
}

void RaceHud::draw(const RaceHudView& view) {
    const float scale = canvas.scale();
    for (const Item& item : items(view)) {
        switch (item.kind) {
        case Item::Kind::Text:
            font.drawText(item.text.c_str(), item.pen.x, item.pen.y, item.leftToRight, scale,
                          item.colour);
            break;
        case Item::Kind::Icon:
            font.drawQuad(item.pen.x, item.pen.y, view.lifeIcon, item.box.width(),
                          item.box.height());
            break;
        case Item::Kind::Message: {
            OverlayLayout overlay(font, canvas);
            overlay.drawPlate(overlay.placePlate({{item.text}}, item.pen.y));
            break;
        }
        }
    }
}
