#include "session/RaceSession.h"

#include <algorithm>
#include <cmath>

#include "assets/Sphere.h"
#include "platform/Input.h"
#include "scene/Scene.h"
#include "scene/SimulationSteps.h"
#include "session/PlayControls.h"
#include "session/ReplaySimulation.h"

namespace {
// A frame no replay may hold is a machine that slept; it simulates no more than any stall.
const double longestRecordedFrame = 3600.0;

// Where the race on scene stands now, as a Check or End record. Recording and playback both
// describe the race through this, so they can only differ where the race does.
ReplayRecord raceCheck(ReplayRecord::Kind kind, const Scene* scene) {
    ReplayRecord record;
    record.kind = kind;
    record.raceTime = scene->getSimulationTime();
    if (scene->getMarble())
        record.position = scene->getMarble()->getBoundingCenter();
    const RaceState& race = scene->getRace();
    record.outcome = race.isWon()        ? ReplayRecord::Outcome::Won
                     : race.isGameOver() ? ReplayRecord::Outcome::GameOver
                                         : ReplayRecord::Outcome::Quit;
    record.lives = race.lives;
    return record;
}

bool isCheck(const ReplayRecord& record) {
    return record.kind == ReplayRecord::Kind::Check || record.kind == ReplayRecord::Kind::End;
}
} // namespace

bool RaceSession::startRecording(const std::string& path, uint64_t levelHash) {
    ReplayHeader header;
    header.levelHash = levelHash;
    recordedLevelHash = levelHash;
    checkedSeconds = 0;
    raceUnderWay.clear();
    recordedFrames = 0;
    return writer.open(path, header);
}

void RaceSession::startReplay(const Replay& recorded, Pace playbackPace) {
    replay = recorded;
    replaying = true;
    replayRulesKnown = false;
    rulesFindingTime = 0.0;
    pace = playbackPace;
    next = 0;
    owed = 0.0;
    check = ReplayCheck();
}

StepResult RaceSession::advance(double frameTime, const RaceInput& playerInput, Scene* scene) {
    StepResult result;
    double findingRules = 0.0;
    if (replaying && scene && !replayRulesKnown) {
        const double started = platform::getTime();
        replayRules = simulationVersionOf(replay, *scene);
        replayRulesKnown = true;
        findingRules = platform::getTime() - started;
    }
    if (scene)
        scene->setSimulationVersion(replaying ? replayRules : currentSimulationVersion);
    if (replaying) {
        if (pace == Pace::OneFramePerDraw)
            playNextFrame(scene, result);
        else
            playRecorded(frameTime, scene, result);
        rulesFindingTime = findingRules;
        return result;
    }
    ReplayRecord frame;
    frame.frameTime = std::min(frameTime, longestRecordedFrame);
    frame.input = playerInput;
    writer.frame(frame.frameTime, frame.input);
    ++recordedFrames;
    // Frames after the race ended (an end screen left standing) change nothing in it.
    const bool underWay = scene && !scene->getRace().isOver();
    if (underWay)
        raceUnderWay.push_back(frame);
    if (scene) {
        result = scene->advance(frameTime, playerInput);
        recordChecks(scene, underWay);
    }
    return result;
}

void RaceSession::recordChecks(const Scene* scene, bool keep) {
    const double raceTime = scene->getSimulationTime();
    // The race time only ever goes back when a new race starts at 0.
    const long reached = static_cast<long>(std::floor(raceTime));
    if (reached < checkedSeconds)
        checkedSeconds = 0;
    for (; checkedSeconds < reached; ++checkedSeconds) {
        const ReplayRecord check = raceCheck(ReplayRecord::Kind::Check, scene);
        writer.check(check);
        if (keep)
            raceUnderWay.push_back(check);
    }
}

Replay RaceSession::currentRace(const Scene& scene) const {
    Replay race;
    if (replaying)
        return race;
    race.header.levelHash = recordedLevelHash;
    race.records = raceUnderWay;
    race.records.push_back(raceCheck(ReplayRecord::Kind::End, &scene));
    return race;
}

void RaceSession::recordEvent(PlayEvent event) {
    if (replaying)
        return;
    if (event == PlayEvent::PlayAgain)
        raceUnderWay.clear();
    if (!writer.isRecording())
        return;
    switch (event) {
    case PlayEvent::Paused:
        writer.pause();
        break;
    case PlayEvent::Resumed:
        writer.resume();
        break;
    case PlayEvent::PlayAgain:
        writer.playAgain();
        break;
    case PlayEvent::None:
        break;
    }
}

// A recorded frame is due once the drawn time covers what it simulated: a stall in the
// recording is not waited out again.
void RaceSession::playRecorded(double frameTime, Scene* scene, StepResult& result) {
    // Finding the rules is no time of the replay's: the frame after it, longer by it where the
    // clock went on, does not hurry through the start.
    const double drawn = std::max(frameTime, 0.0);
    owed += drawn - std::min(drawn, rulesFindingTime);
    while (next < replay.records.size()) {
        const ReplayRecord& record = replay.records[next];
        if (record.kind == ReplayRecord::Kind::Frame) {
            double due = std::min(record.frameTime, SimulationSteps::maxFrameTime);
            if (due > owed)
                return;
            owed -= due;
        }
        playRecord(record, scene, result);
        ++next;
    }
}

bool RaceSession::playNextFrame(Scene* scene, StepResult& result) {
    while (next < replay.records.size()) {
        const ReplayRecord& record = replay.records[next++];
        playRecord(record, scene, result);
        if (record.kind == ReplayRecord::Kind::Frame) {
            // The checks after a frame describe the race as that frame left it.
            while (next < replay.records.size() && isCheck(replay.records[next]))
                playRecord(replay.records[next++], scene, result);
            return true;
        }
    }
    return false;
}

void RaceSession::playRecord(const ReplayRecord& record, Scene* scene, StepResult& result) {
    switch (record.kind) {
    case ReplayRecord::Kind::Frame:
        if (scene)
            result.merge(scene->advance(record.frameTime, record.input));
        break;
    // Replayed frames only run while the viewer has not paused, so a new race needs no
    // resume: the scene starts it over.
    case ReplayRecord::Kind::PlayAgain:
        if (scene)
            scene->restartRace();
        break;
    // The player's pauses held the race still: there is nothing to run again.
    case ReplayRecord::Kind::Pause:
    case ReplayRecord::Kind::Resume:
        break;
    case ReplayRecord::Kind::Check:
    case ReplayRecord::Kind::End:
        if (scene)
            check.compare(record, raceCheck(record.kind, scene));
        break;
    }
}

std::string RaceSession::finish(const Scene* scene) {
    if (replaying || !writer.isRecording())
        return "";
    if (scene)
        writer.check(raceCheck(ReplayRecord::Kind::End, scene));
    return writer.finish() ? writer.path() : "";
}
