#include <gtest/gtest.h>

#include <set>
#include <vector>

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

MenuInput pressed(bool MenuInput::*key) {
    MenuInput input;
    input.*key = true;
    return input;
}
const MenuInput up = pressed(&MenuInput::up);
const MenuInput down = pressed(&MenuInput::down);
const MenuInput enter = pressed(&MenuInput::choose);
const MenuInput back = pressed(&MenuInput::back);
// The mouse moved onto a line, and clicked there.
MenuInput pointAt(Item item, bool click = false) {
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
        std::vector<MenuInput> inputs;
        Page page;
        int chosen;
        MenuAction action; // of the last input
    } rows[] = {
        {"opens on Resume", {}, {}, Page::Main, 0, MenuAction::None},
        {"a greyed Resume: opens on Restart", {Item::Resume}, {}, Page::Main, 1, MenuAction::None},
        {"Down passes over the greyed",
         {Item::WatchBest, Item::WatchLast},
         {down, down, down, down},
         Page::Main,
         static_cast<int>(Item::Quit),
         MenuAction::None},
        {"Up from the top wraps past the greyed",
         {Item::WatchLast},
         {up, up},
         Page::Main,
         static_cast<int>(Item::WatchBest),
         MenuAction::None},
        {"the mouse over a greyed line leaves the cursor",
         {Item::Restart},
         {pointAt(Item::Restart, true)},
         Page::Main,
         0,
         MenuAction::None},
        {"a click on a line chooses it",
         {},
         {pointAt(Item::Restart), pointAt(Item::Restart, true)},
         Page::Main,
         1,
         MenuAction::Restart},
        {"Enter on Resume resumes", {}, {enter}, Page::Main, 0, MenuAction::Resume},
        {"Enter on Quit", {}, {up, enter}, Page::Main, 6, MenuAction::Quit},
        {"Enter on Options opens them",
         {},
         {down, down, enter},
         Page::Options,
         0,
         MenuAction::None},
        {"back from the options lands on Options",
         {},
         {down, down, enter, down, back},
         Page::Main,
         static_cast<int>(Item::Options),
         MenuAction::None},
        {"the best times' Back lands on Best times",
         {},
         {down, down, down, enter, enter},
         Page::Main,
         static_cast<int>(Item::BestTimes),
         MenuAction::None},
        {"back on the main page stays there", {}, {down, back}, Page::Main, 1, MenuAction::None},
    };
    for (const auto& row : rows) {
        PauseMenu menu{GameOptions(), false};
        menu.open();
        for (Item item : row.greyed)
            menu.setUnavailable(item, "not now");
        MenuAction action = MenuAction::None;
        for (const MenuInput& input : row.inputs)
            action = menu.handle(input);
        EXPECT_EQ(menu.page(), row.page) << row.name;
        EXPECT_EQ(menu.chosenLine(), row.chosen) << row.name;
        EXPECT_EQ(action, row.action) << row.name;
        EXPECT_EQ(menu.view().chosen, menu.chosenLine()) << row.name;
    }
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
