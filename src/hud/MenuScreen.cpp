#include "hud/MenuScreen.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "hud/BitmapFont.h"

namespace {

// The room round the text on its plate, in pixels at full size.
const float margin = 14.0f;
const float titleScale = 2.0f;
// The key line's place, as the pause and end screens have it.
const float keyLineLeft = 24.0f;
const float keyLineBottom = 60.0f;
// The window height the menu is drawn at its font's own size for; it grows with taller ones.
const float designHeight = 768.0f;
// A line that cannot be chosen reads at this share of white.
const float greyedBrightness = 0.5f;

} // namespace

MenuScreen::MenuScreen(BitmapFont& font, int windowWidth, int windowHeight)
    : font(font), width(windowWidth), height(windowHeight) {}

float MenuScreen::textWidth(const std::string& text) const {
    float total = 0.0f;
    for (char c : text)
        total += font.glyph(static_cast<unsigned char>(c)).xadvance;
    return total;
}

// Laid out at the font's size, grown with the window's height like the rest of the screen, and
// shrunk as a whole when the window is too small to hold it between its top and the key line.
MenuScreen::Layout MenuScreen::layout(const MenuPage& page) const {
    const float lineHeight = static_cast<float>(font.getLineHeight());
    const float step = lineHeight + 8.0f;
    int steps = static_cast<int>(page.rows.size() + page.lines.size()) + 1;
    float widest = 0.0f;
    for (const MenuPage::Line& line : page.lines) {
        steps += line.detail.empty() ? 0 : 1;
        widest = std::max({widest, textWidth(line.text), textWidth(line.detail) + 2.0f * margin});
    }
    for (const std::string& row : page.rows)
        widest = std::max(widest, textWidth(row));
    widest = std::max(widest, textWidth(page.title) * titleScale);
    const float full = lineHeight * titleScale + margin * 2.0f + step * static_cast<float>(steps);
    const float room = static_cast<float>(height) - keyLineBottom - 2.0f * lineHeight - 24.0f;
    const float across = static_cast<float>(width) - 2.0f * keyLineLeft;
    Layout at{};
    const float grown = std::max(1.0f, static_cast<float>(height) / designHeight);
    at.scale =
        std::clamp(std::min({room / full, across / (widest + 4.0f * margin), grown}), 0.4f, grown);
    at.width = (widest + 4.0f * margin) * at.scale;
    at.left = std::floor(-at.width / 2.0f);
    at.lineStep = std::floor(step * at.scale);
    // Centred in the room above the key line.
    const float roomTop = static_cast<float>(height) / 2.0f - 12.0f;
    const float used = full * at.scale;
    at.titleTop = std::floor(roomTop - std::max(0.0f, (room - used) / 2.0f));
    at.rowsTop = at.titleTop - std::floor((lineHeight * titleScale + margin * 2.0f) * at.scale);
    at.linesTop = at.rowsTop - at.lineStep * static_cast<float>(page.rows.size());
    at.messageTop = lineTop(page, at, static_cast<int>(page.lines.size()));
    return at;
}

float MenuScreen::lineTop(const MenuPage& page, const Layout& at, int line) const {
    float top = at.linesTop;
    for (int before = 0; before < line && before < static_cast<int>(page.lines.size()); ++before)
        top -= at.lineStep * (page.lines[before].detail.empty() ? 1.0f : 2.0f);
    return top;
}

int MenuScreen::lineAt(const MenuPage& page, double x, double y) const {
    const Layout at = layout(page);
    const float hudX = static_cast<float>(x) - static_cast<float>(width / 2);
    const float hudY = static_cast<float>(height / 2) - static_cast<float>(y);
    if (hudX < at.left || hudX > at.left + at.width)
        return -1;
    for (int line = 0; line < static_cast<int>(page.lines.size()); ++line) {
        const float top = lineTop(page, at, line);
        if (hudY <= top && hudY > top - at.lineStep)
            return line;
    }
    return -1;
}

// An opaque rectangle in HUD coordinates: white letters read on it whatever lies under it.
void MenuScreen::drawPlate(float left, float top, float plateWidth, float plateHeight,
                           float grey) const {
    GLfloat clearColour[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour);
    glEnable(GL_SCISSOR_TEST);
    glScissor(width / 2 + static_cast<int>(std::floor(left)),
              height / 2 + static_cast<int>(std::floor(top - plateHeight)),
              static_cast<int>(std::ceil(plateWidth)), static_cast<int>(std::ceil(plateHeight)));
    glClearColor(0.12f + grey, 0.06f + grey, 0.02f + grey, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    glClearColor(clearColour[0], clearColour[1], clearColour[2], clearColour[3]);
}

// Near the bottom-left corner; a line wider than the window breaks in two at a gap between
// keys.
void MenuScreen::drawKeys(const std::string& keys) const {
    std::string first = keys;
    std::string second;
    const float across = static_cast<float>(width) - 2.0f * keyLineLeft - 2.0f * margin;
    if (textWidth(keys) > across) {
        size_t best = std::string::npos;
        for (size_t gap = keys.find("    "); gap != std::string::npos;
             gap = keys.find("    ", gap + 4)) {
            const float split = std::fabs(static_cast<float>(gap) - keys.size() / 2.0f);
            if (best == std::string::npos ||
                split < std::fabs(static_cast<float>(best) - keys.size() / 2.0f))
                best = gap;
        }
        if (best != std::string::npos) {
            first = keys.substr(0, best);
            second = keys.substr(best + 4);
        }
    }
    const float lineHeight = static_cast<float>(font.getLineHeight());
    const float widest = std::max(textWidth(first), textWidth(second));
    const float grown = std::max(1.0f, static_cast<float>(height) / designHeight);
    const float scale = std::min(grown, across / std::max(widest, 1.0f));
    const float x = static_cast<float>(-(width / 2) + 24);
    const float bottom = static_cast<float>(-(height / 2)) + keyLineBottom - lineHeight;
    const float lines = second.empty() ? 1.0f : 2.0f;
    const float top = bottom + lineHeight * scale * lines;
    drawPlate(x - 12.0f, top + 12.0f, widest * scale + 24.0f, lineHeight * scale * lines + 24.0f,
              0.0f);
    font.drawText(first.c_str(), x, std::floor(top), true, scale);
    if (!second.empty())
        font.drawText(second.c_str(), x, std::floor(top - lineHeight * scale), true, scale);
}

void MenuScreen::draw(const MenuPage& page) const {
    const Layout at = layout(page);
    const float plateBottom = at.messageTop - (page.message.empty() ? 0.0f : at.lineStep);
    drawPlate(at.left, at.titleTop, at.width, at.titleTop - plateBottom + margin * at.scale, 0.0f);
    const float titleSize = titleScale * at.scale;
    font.drawText(page.title.c_str(), std::floor(-textWidth(page.title) * titleSize / 2.0f),
                  at.titleTop - std::floor(margin * at.scale), true, titleSize);

    const float textLeft = at.left + std::floor(2.0f * margin * at.scale);
    float top = at.rowsTop;
    for (const std::string& row : page.rows) {
        font.drawText(row.c_str(), textLeft, top, true, at.scale);
        top -= at.lineStep;
    }
    for (int index = 0; index < static_cast<int>(page.lines.size()); ++index) {
        const MenuPage::Line& line = page.lines[index];
        top = lineTop(page, at, index);
        if (index == page.chosen)
            drawPlate(at.left + margin * at.scale, top + 3.0f * at.scale,
                      at.width - 2.0f * margin * at.scale, at.lineStep, 0.25f);
        if (!line.enabled) {
            glEnable(GL_BLEND);
            glBlendColor(greyedBrightness, greyedBrightness, greyedBrightness, 1.0f);
            glBlendFunc(GL_CONSTANT_COLOR, GL_ZERO);
        }
        font.drawText(line.text.c_str(), textLeft, top, true, at.scale);
        if (!line.detail.empty())
            font.drawText(line.detail.c_str(), textLeft + std::floor(2.0f * margin * at.scale),
                          top - at.lineStep, true, at.scale);
        glDisable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ZERO);
    }
    if (!page.message.empty())
        font.drawText(page.message.c_str(), textLeft, at.messageTop, true, at.scale);
    drawKeys(page.keys);
}
