#include "hud/MenuScreen.h"

#include <cmath>

namespace {

std::vector<ScreenLayout::Line> rowLines(const MenuPage& page) {
    std::vector<ScreenLayout::Line> rows;
    for (const std::string& row : page.rows)
        rows.push_back({row});
    return rows;
}

} // namespace

MenuScreen::MenuScreen(BitmapFont& font, const HudCanvas& canvas) : layout(font, canvas) {}

std::vector<ScreenLayout::Line> MenuScreen::plateLines(const MenuPage& page,
                                                       std::vector<int>* lineOfPage) const {
    std::vector<ScreenLayout::Line> lines;
    for (int index = 0; index < static_cast<int>(page.lines.size()); ++index) {
        const MenuPage::Line& line = page.lines[index];
        if (lineOfPage)
            lineOfPage->push_back(static_cast<int>(lines.size()));
        lines.push_back({line.text, line.enabled ? ScreenLayout::white : ScreenLayout::greyed,
                         index == page.chosen});
        if (!line.detail.empty())
            lines.push_back({line.detail, ScreenLayout::greyed});
    }
    return lines;
}

float MenuScreen::linesTop(const MenuPage& page) const {
    const float top = std::floor(layout.content().top);
    if (page.rows.empty())
        return top;
    return top - layout.plateSize(rowLines(page)).y - layout.margin();
}

void MenuScreen::draw(const MenuPage& page) {
    layout.title(page.title);
    if (!page.rows.empty())
        layout.plate(rowLines(page), std::floor(layout.content().top));
    const ScreenLayout::Placed lines = layout.plate(plateLines(page), linesTop(page));
    if (!page.message.empty())
        layout.plate({{page.message, ScreenLayout::warning}}, lines.plate.bottom - layout.margin());
    layout.keyLine(page.keys);
}

// The bands plate() gives its lines, worked out without drawing them.
int MenuScreen::lineAt(const MenuPage& page, double x, double y) const {
    std::vector<int> lineOfPage;
    const std::vector<ScreenLayout::Line> lines = plateLines(page, &lineOfPage);
    const glm::vec2 size = layout.plateSize(lines);
    const glm::vec2 point = layout.canvas().fromWindow(x, y);
    if (std::fabs(point.x) > size.x / 2.0f)
        return -1;
    const float step = std::floor(layout.lineStep());
    const float firstTop = std::floor(linesTop(page) - layout.margin());
    for (size_t index = 0; index < lineOfPage.size(); ++index) {
        const float top = firstTop - step * static_cast<float>(lineOfPage[index]);
        if (point.y <= top && point.y > top - step)
            return static_cast<int>(index);
    }
    return -1;
}
