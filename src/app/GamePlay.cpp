#include "app/GamePlay.h"

#include <algorithm>
#include <iostream>

#include "app/DisplayOptions.h"
#include "scene/Scene.h"
#include "session/PlayerInput.h"
#include "session/RaceSession.h"

namespace {

// A timedemo compares runs: it draws at one fixed rung, full unless --quality names another.
GameOptions withTimedemoQuality(GameOptions options) {
    if (!options.timedemoFile.empty() && options.qualityAuto) {
        options.qualityAuto = false;
        options.quality = QualityRung::Full;
    }
    return options;
}

} // namespace

GamePlay::GamePlay(const GameOptions& options)
    : ghostRace(options.ghost), flow(options, isShowFpsOn(), playControls, ghostRace, winRecorder),
      quality(withTimedemoQuality(options)) {}

GamePlay::~GamePlay() = default;

void GamePlay::setScene(Scene* played) {
    level = played;
}

RaceState& GamePlay::race() {
    return level ? level->getRace() : noRace;
}

const RaceState& GamePlay::race() const {
    return level ? level->getRace() : noRace;
}

// A watched race is not the player's own: its win shows, but is no best time.
void GamePlay::useSession(RaceSession* replacement) {
    session = replacement;
    winRecorder.setBestTimesEnabled(!(session && session->isReplaying()));
    verdictDue = false;
    verdictAtTheEnd = false;
    verdictFile.clear();
}

void GamePlay::setRaceSession(RaceSession* borrowed) {
    useSession(borrowed);
}

void GamePlay::adoptRaceSession(RaceSession* started) {
    ownedSession.reset(started);
    useSession(started);
}

std::string GamePlay::finishRaceSession() {
    const std::string kept = session ? session->finish(level) : "";
    session = nullptr;
    ownedSession.reset();
    return kept;
}

void GamePlay::tellVerdictOf(const std::string& file, bool atTheEnd) {
    verdictFile = file;
    verdictDue = session && session->isReplaying();
    verdictAtTheEnd = atTheEnd;
}

// The one place a replay's verdict is told: once, as its last frame has played.
void GamePlay::tellVerdict() {
    if (!verdictDue || !session || !session->replayEnded())
        return;
    std::cout << session->replayVerdict(verdictFile) << std::endl;
    verdictDue = false;
}

void GamePlay::update(int pointedMenuLine) {
    frameClock.tick();
    frameClock.countFrame();
    const bool replaying = session && session->isReplaying();
    const PlayEvent pressed = playControls.handle(level, race(), !replaying);
    const MenuFlow::Outcome menu = flow.handle(pressed, pointedMenuLine, {level, race(), session});
    if (menu.newSession) {
        adoptRaceSession(menu.newSession);
        if (flow.isWatching())
            tellVerdictOf(flow.watchedFile());
    }
    takeOnOptions(menu);
    if (session)
        session->recordEvent(menu.event);
    // A new race is shown at its start before anything moves.
    const double frameTime = frameClock.getFrameTime();
    if (!playControls.isPaused() && menu.event != PlayEvent::PlayAgain) {
        // Without a session (a test driving the frame) the player plays the scene directly.
        if (session)
            session->advance(frameTime, playerInput(), level);
        else if (level)
            level->advance(frameTime, playerInput());
    }
    if (level) {
        level->setFrameTime(frameTime);
        level->playSounds();
    }
    const bool won = winRecorder.noteRaceOutcome(race());
    ghostRace.afterFrame(menu.event, won && winRecorder.record().newBest, session, level);
    if (lastFrameDrewRace && quality.frame(frameTime))
        applyQuality();
    lastFrameDrewRace = level && !playControls.isPaused() && !race().isOver();
    if (!playControls.isPaused())
        hintLeft = std::max(0.0, hintLeft - frameTime);
    if (!verdictAtTheEnd)
        tellVerdict();
    if (flow.isWatching() && session && session->replayEnded())
        flow.watchedReplayEnded({level, race(), session});
}

FrameView GamePlay::view() const {
    FrameView view;
    view.scene = level;
    view.race = race();
    view.paused = playControls.isPaused();
    if (view.paused)
        view.menu = flow.menu().view();
    view.win = winRecorder.record();
    view.replaying = session && session->isReplaying();
    view.fps = frameClock.getFps();
    view.rung = quality.rung();
    view.hint = hintLeft > 0.0;
    return view;
}

// What the menu's options change beyond the session's reach: the frame-rate line and the
// quality, which starts afresh from the new choice.
void GamePlay::takeOnOptions(const MenuFlow::Outcome& outcome) {
    if (!outcome.optionsChanged)
        return;
    setShowFps(flow.menu().options().showFps());
    if (outcome.qualityChanged && level) {
        quality = QualityControl(withTimedemoQuality(flow.options()));
        if (qualityKeyKnown)
            startQuality(qualityKey);
        applyQuality();
    }
}

// Auto quality starts where it settled the last time on this renderer and window size.
void GamePlay::startQuality(const QualityMemory::Key& where) {
    qualityKey = where;
    qualityKeyKnown = true;
    if (!quality.isAuto())
        return;
    const std::string path = QualityMemory::defaultPath();
    if (path.empty()) {
        std::cerr << "Where the quality settled is not kept: neither XDG_STATE_HOME nor HOME is set"
                  << std::endl;
        return;
    }
    quality.useMemory(std::make_unique<QualityMemory>(path), where);
}

void GamePlay::applyQuality() {
    if (!level)
        return;
    const QualitySettings settings = quality.settings();
    level->setPictureSamples(settings.samples);
    level->setRenderScale(settings.renderScale);
    level->setShadowMapSize(settings.shadowMapSize);
    level->setWaterMapSize(settings.waterMapSize);
    level->setAnisotropy(settings.anisotropy);
}

void GamePlay::onWindowResize(int width, int height) {
    if (level)
        level->setViewSize(width, height);
    qualityKey.width = width;
    qualityKey.height = height;
}
