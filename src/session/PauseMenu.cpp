#include "session/PauseMenu.h"

#include <cstdio>

#include "hud/ClockText.h"

namespace {

using Line = OptionsMenu::Line;

const char* const itemNames[PauseMenu::itemCount] = {
    "Resume", "Restart race", "Options", "Best times", "Watch the best race", "Watch the last race",
    "Quit"};

// Each page's title and only the keys that do something there, in the order of Page.
struct PageText {
    const char* title;
    const char* keys;
};
const PageText pageTexts[] = {
    {"Paused", "Enter or A: choose    P or Start: resume    Escape: quit"},
    // Slashes keep the longest one within a 4:3 window.
    {"Options", "Left/Right: change    Backspace/B: back    P/Start: resume    Escape: quit"},
    {"Best times", "Enter, Backspace or B: back    P or Start: resume    Escape: quit"},
};
const char* const noBestTimeRow = "No race won yet";
const char* const backLine = "Back";

std::string bestRow(int place, const BestTimes::Entry& entry, bool newest) {
    char date[32];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", entry.date.year, entry.date.month,
                  entry.date.day);
    return std::to_string(place) + ".  " + formatRaceTime(entry.seconds) + "   " + date +
           (newest ? "   newest" : "");
}

} // namespace

PauseMenu::PauseMenu(const GameOptions& options, bool showFps) : optionsMenu(options, showFps) {
    bestRows.push_back(noBestTimeRow);
}

void PauseMenu::open() {
    message.clear();
    current = Page::Main;
    goTo(Page::Main);
}

// Back on the main page the line that led away is chosen again.
void PauseMenu::goTo(Page page) {
    const Page left = current;
    current = page;
    chosen = 0;
    if (page == Page::Main && left == Page::Options)
        chosen = static_cast<int>(Item::Options);
    if (page == Page::Main && left == Page::BestTimes)
        chosen = static_cast<int>(Item::BestTimes);
    if (!isEnabled(chosen))
        move(1);
}

int PauseMenu::lineCount() const {
    switch (current) {
    case Page::Main:
        return itemCount;
    case Page::Options:
        return OptionsMenu::lineCount;
    case Page::BestTimes:
        return 1;
    }
    return 1;
}

bool PauseMenu::isEnabled(int line) const {
    if (line < 0 || line >= lineCount())
        return false;
    if (current == Page::Main)
        return unavailable[line].empty();
    if (current == Page::Options)
        return !optionsMenu.isLocked(static_cast<Line>(line));
    return true;
}

// Greyed lines are passed over; past the last line the first one comes.
void PauseMenu::move(int direction) {
    const int count = lineCount();
    for (int step = 1; step <= count; ++step) {
        const int line = ((chosen + direction * step) % count + count) % count;
        if (isEnabled(line)) {
            chosen = line;
            return;
        }
    }
}

void PauseMenu::setUnavailable(Item item, const std::string& reason) {
    unavailable[static_cast<int>(item)] = reason;
    if (current == Page::Main && !isEnabled(chosen))
        move(1);
}

void PauseMenu::setBestTimes(const std::vector<BestTimes::Entry>& times, int newest) {
    bestRows.clear();
    for (size_t place = 0; place < times.size(); ++place)
        bestRows.push_back(
            bestRow(static_cast<int>(place) + 1, times[place], static_cast<int>(place) == newest));
    if (bestRows.empty())
        bestRows.push_back(noBestTimeRow);
}

MenuAction PauseMenu::chooseLine() {
    if (!isEnabled(chosen))
        return MenuAction::None;
    if (current == Page::Options) {
        if (static_cast<Line>(chosen) != Line::Back)
            return optionsMenu.change(static_cast<Line>(chosen), 1) ? MenuAction::OptionChanged
                                                                    : MenuAction::None;
        optionsLeft = true;
        goTo(Page::Main);
        return MenuAction::None;
    }
    if (current == Page::BestTimes) {
        goTo(Page::Main);
        return MenuAction::None;
    }
    switch (static_cast<Item>(chosen)) {
    case Item::Resume:
        return MenuAction::Resume;
    case Item::Restart:
        return MenuAction::Restart;
    case Item::Options:
        goTo(Page::Options);
        return MenuAction::None;
    case Item::BestTimes:
        goTo(Page::BestTimes);
        return MenuAction::None;
    case Item::WatchBest:
        return MenuAction::WatchBest;
    case Item::WatchLast:
        return MenuAction::WatchLast;
    case Item::Quit:
        return MenuAction::Quit;
    }
    return MenuAction::None;
}

MenuAction PauseMenu::handle(const MenuInput& input) {
    optionsLeft = false;
    // A line the mouse rests on while the keys move away stays unchosen until it moves.
    if (input.pointerMoved && isEnabled(input.pointedLine))
        chosen = input.pointedLine;
    if (input.back) {
        optionsLeft = current == Page::Options;
        if (current != Page::Main)
            goTo(Page::Main);
        return MenuAction::None;
    }
    if (input.up || input.down)
        move(input.up ? -1 : 1);
    if (current == Page::Options && (input.left || input.right) && chosen >= 0)
        return optionsMenu.change(static_cast<Line>(chosen), input.right ? 1 : -1)
                   ? MenuAction::OptionChanged
                   : MenuAction::None;
    if (input.choose || (input.clicked && input.pointedLine == chosen))
        return chooseLine();
    return MenuAction::None;
}

MenuView PauseMenu::view() const {
    MenuView view;
    view.chosen = chosen;
    view.message = message;
    view.title = pageTexts[static_cast<int>(current)].title;
    view.keys = pageTexts[static_cast<int>(current)].keys;
    switch (current) {
    case Page::Main:
        for (int item = 0; item < itemCount; ++item)
            view.lines.push_back({itemNames[item], unavailable[item], unavailable[item].empty()});
        break;
    case Page::Options:
        for (int index = 0; index < OptionsMenu::lineCount; ++index) {
            const Line line = static_cast<Line>(index);
            std::string text = optionsMenu.label(line);
            if (line != Line::Back)
                text += ": " + optionsMenu.value(line);
            view.lines.push_back({text, "", !optionsMenu.isLocked(line)});
        }
        break;
    case Page::BestTimes:
        view.rows = bestRows;
        view.lines.push_back({backLine, "", true});
        break;
    }
    return view;
}
