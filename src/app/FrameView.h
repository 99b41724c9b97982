#pragma once

#include "hud/MenuView.h"
#include "physics/RaceState.h"
#include "session/WinRecord.h"
#include "settings/QualityRung.h"

class Scene;

// What one frame shows, as the game's update left it: the level and the race, a pause with
// its menu page, a win's record, and the few facts the HUD tells. FrameDrawing draws it.
struct FrameView {
    // The level under the HUD; null draws none (a test's frame).
    Scene* scene = nullptr;
    RaceState race;
    // While paused the last picture of the race stands still under the menu's page.
    bool paused = false;
    MenuView menu;
    // What the winner screen tells.
    WinRecord win;
    // A replay plays, not the player: it is labelled, and its end screen offers no new race.
    bool replaying = false;
    // For the frame-rate line, shown while F2 has it on.
    double fps = 0.0;
    QualityRung rung = QualityRung::Full;
    // The first start's line under the clock: how to reach the menu.
    bool hint = false;
};
