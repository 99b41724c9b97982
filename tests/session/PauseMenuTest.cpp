#include <gtest/gtest.h>

#include <set>
#include <string>

#include "physics/RaceState.h"
#include "platform/Input.h"
#include "platform/Keys.h"
#include "platform/ScriptedClock.h"
#include "platform/ScriptedGamepad.h"
#include "platform/ScriptedKeys.h"
#include "session/GhostRace.h"
#include "session/MenuFlow.h"
#include "session/PauseMenu.h"
#include "session/WinRecorder.h"

// The pause menu's choices as the player makes them, without a window: which line the cursor
// stands on, where Enter and Backspace lead, and what the game is asked to do.
namespace {

using Item = PauseMenu::Item;
using Page = PauseMenu::Page;

// Keys as letters: u(p), d(own), e(nter), b(ack); what the last one did.
MenuAction press(PauseMenu& menu, const std::string& keys) {
    MenuAction action = MenuAction::None;
    for (char key : keys) {
        MenuInput input;
        input.up = key == 'u';
        input.down = key == 'd';
        input.choose = key == 'e';
        input.back = key == 'b';
        action = menu.handle(input);
    }
    return action;
}

// The mouse moved onto a line of the main page, and clicked there.
MenuInput pointAt(Item item, bool click) {
    MenuInput input;
    input.pointedLine = static_cast<int>(item);
    input.pointerMoved = true;
    input.clicked = click;
    return input;
}

} // namespace

TEST(PauseMenu, TheCursorPassesOverGreyedLinesAndEachKeyLeadsWhereItSays) {
    const struct {
        const char* name;
        std::set<Item> greyed;
        const char* keys;
        Item chosen;
        MenuAction action;
    } rows[] = {
        {"opens on Resume", {}, "", Item::Resume, MenuAction::None},
        {"a greyed Resume: opens on Restart", {Item::Resume}, "", Item::Restart, MenuAction::None},
        {"Down passes over the greyed",
         {Item::WatchBest, Item::WatchLast},
         "dddd",
         Item::Quit,
         MenuAction::None},
        {"Up wraps past the greyed", {Item::WatchLast}, "uu", Item::WatchBest, MenuAction::None},
        {"Enter on Resume", {}, "e", Item::Resume, MenuAction::Resume},
        {"Enter on Quit", {}, "ue", Item::Quit, MenuAction::Quit},
        {"back from the options", {}, "ddedb", Item::Options, MenuAction::None},
        {"the best times' Back", {}, "dddee", Item::BestTimes, MenuAction::None},
        {"back on the main page", {}, "db", Item::Restart, MenuAction::None},
    };
    for (const auto& row : rows) {
        PauseMenu menu{GameOptions(), false};
        menu.open();
        for (Item item : row.greyed)
            menu.setUnavailable(item, "not now");
        EXPECT_EQ(press(menu, row.keys), row.action) << row.name;
        EXPECT_EQ(menu.page(), Page::Main) << row.name;
        EXPECT_EQ(menu.chosenLine(), static_cast<int>(row.chosen)) << row.name;
        EXPECT_EQ(menu.view().chosen, menu.chosenLine()) << row.name;
    }
}

// The mouse resting on a greyed line leaves the cursor where it was, and a click there does
// nothing; a click on a line that can be chosen chooses it.
TEST(PauseMenu, TheMouseChoosesOnlyLinesThatCanBeChosen) {
    PauseMenu menu{GameOptions(), false};
    menu.open();
    menu.setUnavailable(Item::Restart, "not now");
    EXPECT_EQ(menu.handle(pointAt(Item::Restart, true)), MenuAction::None);
    EXPECT_EQ(menu.chosenLine(), static_cast<int>(Item::Resume));
    menu.handle(pointAt(Item::Options, false));
    EXPECT_EQ(menu.handle(pointAt(Item::Options, true)), MenuAction::None);
    EXPECT_EQ(menu.page(), Page::Options);
}

// The menu's flow over the play controls, with scripted keys and no scene: P opens the menu,
// Enter on Resume goes back to the race, and Quit is noted for the frame loop.
TEST(MenuFlow, ResumeGoesBackToTheRaceAndQuitIsNoted) {
    ScriptedKeys keys;
    ScriptedGamepad pad;
    ScriptedClock time;
    platform::setKeySource(&keys);
    platform::setGamepadSource(&pad);
    platform::setTimeSource(&time);
    PlayControls controls;
    GhostRace ghost("off");
    WinRecorder wins;
    MenuFlow flow(GameOptions(), false, controls, ghost, wins);
    RaceState race;
    auto tap = [&](int key) {
        keys.press(key);
        MenuFlow::Outcome outcome =
            flow.handle(controls.handle(nullptr, race), -1, {nullptr, race, nullptr});
        keys.release(key);
        flow.handle(controls.handle(nullptr, race), -1, {nullptr, race, nullptr});
        return outcome.event;
    };
    EXPECT_EQ(tap(GLFW_KEY_P), PlayEvent::Paused);
    EXPECT_EQ(flow.menu().page(), Page::Main);
    EXPECT_EQ(tap(GLFW_KEY_ENTER), PlayEvent::Resumed);
    EXPECT_FALSE(controls.isPaused());
    EXPECT_FALSE(flow.quitChosen());

    tap(GLFW_KEY_P);
    tap(GLFW_KEY_UP);
    EXPECT_EQ(tap(GLFW_KEY_ENTER), PlayEvent::None);
    EXPECT_TRUE(flow.quitChosen());
    EXPECT_TRUE(controls.isPaused());
    platform::setKeySource(nullptr);
    platform::setGamepadSource(nullptr);
    platform::setTimeSource(nullptr);
}
