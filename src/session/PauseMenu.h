#pragma once

#include <string>
#include <vector>

#include "hud/MenuView.h"
#include "session/BestTimes.h"
#include "session/MenuInput.h"
#include "settings/OptionsMenu.h"

// What a menu choice asks of the game.
enum class MenuAction {
    None,
    Resume,
    Restart,
    WatchBest,
    WatchLast,
    Quit,
    // A value on the options page changed: the game takes it on at once.
    OptionChanged,
};

// The pause menu: its pages (the main list, the options and the best times), which line is
// chosen and where each key leads. Up and Down (W/S) move, Enter (A) chooses, Backspace (B)
// goes back one page (P or Start, which resume from any page, are the play controls');
// on the options page Left and Right (A/D) change the chosen value. The mouse chooses the line it
// moves onto and a click acts as Enter, or as Right on an option.
class PauseMenu {
  public:
    enum class Page { Main, Options, BestTimes };
    enum class Item { Resume, Restart, Options, BestTimes, WatchBest, WatchLast, Quit };
    static constexpr int itemCount = 7;

    PauseMenu(const GameOptions& options, bool showFps);

    // Opens on the main page's first line.
    void open();
    MenuAction handle(const MenuInput& input);
    // Whether the last handle() left the options page (its changes are then saved).
    bool leftOptions() const { return optionsLeft; }

    Page page() const { return current; }
    int chosenLine() const { return chosen; }
    OptionsMenu& options() { return optionsMenu; }
    const OptionsMenu& options() const { return optionsMenu; }

    // Why a main-page line cannot be chosen now, drawn under it; "" makes it available.
    void setUnavailable(Item item, const std::string& reason);
    // The times the best-times page lists, and which of them is the newest (-1: none).
    void setBestTimes(const std::vector<BestTimes::Entry>& times, int newest);
    // One line under the menu (a setting that could not be saved); "" clears it.
    void setMessage(const std::string& text) { message = text; }

    // What the page shows now.
    MenuView view() const;

  private:
    int lineCount() const;
    bool isEnabled(int line) const;
    void move(int direction);
    void goTo(Page page);
    MenuAction chooseLine();

    OptionsMenu optionsMenu;
    Page current = Page::Main;
    int chosen = 0;
    bool optionsLeft = false;
    std::string unavailable[itemCount];
    std::vector<std::string> bestRows;
    std::string message;
};
