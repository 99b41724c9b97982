#include "session/MenuFlow.h"

#include <filesystem>
#include <iostream>
#include <vector>

#include "platform/Window.h"
#include "scene/Scene.h"
#include "session/BestTimes.h"
#include "session/GhostRace.h"
#include "session/LevelHash.h"
#include "session/RaceSession.h"
#include "session/ReplayReader.h"
#include "session/SessionStart.h"
#include "session/WinRecorder.h"
#include "settings/SettingsFile.h"
#include "settings/UserDirectories.h"

namespace {

// What the menu says of the game's state, in one place.
const char* const raceLeftReason = "The race was left for a replay: restart it";
const char* const noBestRace = "No best race kept yet";
const char* const noLastRace = "No race recorded yet";
const char* const noHomeFolder = "No home folder to keep it in";
const char* const unplayableReplay = "That replay cannot be played";
const char* const settingsNotSaved = "Settings not saved: ";

} // namespace

MenuFlow::MenuFlow(const GameOptions& options, bool showFps, PlayControls& controls,
                   GhostRace& ghost, WinRecorder& wins)
    : inForce(options), playControls(controls), ghostRace(ghost), winRecorder(wins),
      pauseMenu(options, showFps) {}

// While paused the menu has the keys; P or Start (the play controls') resumes from any of its
// pages, and leaving the options that way saves them too.
MenuFlow::Outcome MenuFlow::handle(PlayEvent event, int pointedLine, const Race& race) {
    const MenuInput input = menuKeys.read(pointedLine);
    Outcome outcome;
    outcome.event = event;
    if (event == PlayEvent::Paused)
        open(race.session);
    if (event == PlayEvent::Resumed && pauseMenu.page() == PauseMenu::Page::Options)
        saveOptions();
    if (event != PlayEvent::None)
        return outcome;
    if (watching && !playControls.isPaused() && input.back) {
        stopWatching(race);
        return outcome;
    }
    if (!playControls.isPaused())
        return outcome;
    const MenuAction action = pauseMenu.handle(input);
    if (pauseMenu.leftOptions())
        saveOptions();
    switch (action) {
    case MenuAction::Resume:
        playControls.apply(PlayEvent::Resumed, race.scene, race.state);
        outcome.event = PlayEvent::Resumed;
        break;
    case MenuAction::Restart:
        restart(race, outcome);
        break;
    case MenuAction::WatchBest:
        watch(ghostRace.getBestFile(), race, outcome);
        break;
    case MenuAction::WatchLast:
        watch(lastRaceFile(), race, outcome);
        break;
    case MenuAction::Quit:
        quitRequested = true;
        break;
    case MenuAction::OptionChanged:
        applyOptions(race.scene, outcome);
        break;
    case MenuAction::None:
        break;
    }
    return outcome;
}

void MenuFlow::open(const RaceSession* session) {
    pauseMenu.open();
    pauseMenu.setUnavailable(PauseMenu::Item::Resume, raceLeft ? raceLeftReason : "");
    if (const BestTimes* times = winRecorder.getBestTimes())
        pauseMenu.setBestTimes(times->entries(), times->newest());
    pauseMenu.setUnavailable(PauseMenu::Item::WatchBest,
                             replayProblem(ghostRace.getBestFile(), noBestRace));
    // The race under way becomes the last one as soon as a replay is chosen.
    const bool playing = session && !session->isReplaying() && session->hasRecordedFrames();
    pauseMenu.setUnavailable(PauseMenu::Item::WatchLast,
                             playing ? "" : replayProblem(lastRaceFile(), noLastRace));
}

std::string MenuFlow::lastRaceFile() const {
    return inForce.recordFile.empty() ? defaultReplayPath() : inForce.recordFile;
}

uint64_t MenuFlow::levelHash() {
    if (!levelHashKnown)
        levelHashValue = hashLevelData(".");
    levelHashKnown = true;
    return levelHashValue;
}

std::string MenuFlow::replayProblem(const std::string& file, const char* whenMissing) {
    std::error_code error;
    if (file.empty())
        return noHomeFolder;
    if (!std::filesystem::exists(file, error))
        return whenMissing;
    Replay replay;
    ReplayProblem problem;
    if (ReplayReader().read(file, levelHash(), replay, problem))
        return "";
    return problem.menuLine();
}

// The options take effect in the running game as they change; the settings file hears of them
// as the player leaves the page.
void MenuFlow::applyOptions(Scene* scene, Outcome& outcome) {
    const GameOptions& chosen = pauseMenu.options().options();
    if (scene) {
        scene->setMusicVolume(static_cast<float>(chosen.musicVolume));
        scene->setSoundVolume(static_cast<float>(chosen.soundVolume));
    }
    if (chosen.vsync != inForce.vsync)
        platform::setVsync(chosen.vsync);
    if (chosen.fullscreen != inForce.fullscreen)
        platform::setFullscreen(chosen.fullscreen, inForce.width, inForce.height);
    outcome.qualityChanged = chosen.qualityAuto != inForce.qualityAuto ||
                             chosen.quality != inForce.quality ||
                             chosen.targetFps != inForce.targetFps;
    outcome.optionsChanged = true;
    ghostRace.setChoice(chosen.ghost);
    inForce = chosen;
}

// A file that cannot be written costs a line on the menu and one on the console; the new
// values hold for this run all the same, and the next leave tries again.
void MenuFlow::saveOptions() {
    const std::vector<std::string> keys = pauseMenu.options().changedKeys();
    if (keys.empty())
        return;
    const std::string problem =
        saveSettings(inForce.settingsFile, pauseMenu.options().options(), keys);
    if (problem.empty()) {
        pauseMenu.options().markSaved();
        return;
    }
    std::cerr << "Settings could not be saved to " << inForce.settingsFile << ": " << problem
              << "; they hold for this run" << std::endl;
    pauseMenu.setMessage(settingsNotSaved + problem);
}

// A new race for the player, as play again starts one; after a replay, with a new recording.
void MenuFlow::restart(const Race& race, Outcome& outcome) {
    if (race.session && race.session->isReplaying()) {
        GameOptions recording = inForce;
        recording.replayFile.clear();
        recording.timedemoFile.clear();
        outcome.newSession = startRaceSession(recording);
        watching = false;
    } else if (race.session) {
        // The recording goes on: its pause ends before the new race starts.
        race.session->recordEvent(PlayEvent::Resumed);
    }
    raceLeft = false;
    playControls.apply(PlayEvent::Resumed, race.scene, race.state);
    playControls.apply(PlayEvent::PlayAgain, race.scene, race.state);
    outcome.event = PlayEvent::PlayAgain;
}

// The player's race ends where it stands and is kept as the last race (unless nothing was
// played: the last race kept stays the one before), then the replay runs in the window as
// --replay runs it. Watching records nothing.
void MenuFlow::watch(const std::string& file, const Race& race, Outcome& outcome) {
    // The last race is the one under way: it is put in place before it is read.
    const bool lastRace = file == lastRaceFile();
    if (lastRace)
        keepRaceUnderWay(race);
    Replay replay;
    ReplayProblem problem;
    if (!ReplayReader().read(file, levelHash(), replay, problem)) {
        std::cout << problem.consoleLine(file) << std::endl;
        pauseMenu.setMessage(unplayableReplay);
        return;
    }
    if (!lastRace)
        keepRaceUnderWay(race);
    outcome.newSession = new RaceSession();
    outcome.newSession->startReplay(replay, RaceSession::Pace::Recorded);
    if (race.scene)
        race.scene->restartRace();
    watched = file;
    watching = true;
    raceLeft = true;
    playControls.apply(PlayEvent::Resumed, race.scene, race.state);
}

void MenuFlow::keepRaceUnderWay(const Race& race) {
    if (!race.session || race.session->isReplaying())
        return;
    if (race.session->hasRecordedFrames())
        race.session->finish(race.scene);
    else
        race.session->discard();
}

void MenuFlow::watchedReplayEnded(const Race& race) {
    if (watching)
        stopWatching(race);
}

void MenuFlow::stopWatching(const Race& race) {
    watching = false;
    playControls.apply(PlayEvent::Paused, race.scene, race.state);
    open(race.session);
}
