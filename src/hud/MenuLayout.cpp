#include "hud/MenuLayout.h"

#include <cmath>

namespace {

using Line = OverlayLayout::Line;

std::vector<Line> rowLines(const MenuView& view) {
    std::vector<Line> rows;
    for (const std::string& row : view.rows)
        rows.push_back({row});
    return rows;
}

} // namespace

MenuLayout::MenuLayout(BitmapFont& font, const HudCanvas& canvas, const MenuView& view)
    : overlay(font, canvas), title(view.title), keys(view.keys) {
    float top = std::floor(overlay.content().top);
    if (!view.rows.empty()) {
        rowsPlate = overlay.placePlate(rowLines(view), top);
        top = rowsPlate->box.bottom - overlay.margin();
    }
    std::vector<Line> lines;
    for (int index = 0; index < static_cast<int>(view.lines.size()); ++index) {
        const MenuView::Line& line = view.lines[index];
        rowOfLine.push_back(static_cast<int>(lines.size()));
        lines.push_back({line.text, line.enabled ? OverlayLayout::white : OverlayLayout::greyed,
                         index == view.chosen});
        if (!line.detail.empty())
            lines.push_back({line.detail, OverlayLayout::greyed});
    }
    linesPlate = overlay.placePlate(lines, top);
    if (!view.message.empty())
        messagePlate = overlay.placePlate({{view.message, OverlayLayout::warning}},
                                          linesPlate.box.bottom - overlay.margin());
}

void MenuLayout::draw() {
    overlay.title(title);
    if (rowsPlate)
        overlay.drawPlate(*rowsPlate);
    overlay.drawPlate(linesPlate);
    if (messagePlate)
        overlay.drawPlate(*messagePlate);
    overlay.keyLine(keys);
}

int MenuLayout::lineAt(double x, double y) const {
    const glm::vec2 point = overlay.canvas().fromWindow(x, y);
    for (size_t line = 0; line < rowOfLine.size(); ++line) {
        if (linesPlate.rows[rowOfLine[line]].band.contains(point.x, point.y))
            return static_cast<int>(line);
    }
    return -1;
}

std::vector<HudRect> MenuLayout::boxes() const {
    std::vector<HudRect> boxes{overlay.titleBox(title), linesPlate.box, overlay.keyLineBox(keys)};
    if (rowsPlate)
        boxes.push_back(rowsPlate->box);
    if (messagePlate)
        boxes.push_back(messagePlate->box);
    return boxes;
}
