#pragma once

#include <string>

#include "physics/RaceInput.h"
#include "physics/StepResult.h"
#include "session/PlayControls.h"
#include "session/Replay.h"
#include "session/ReplayCheck.h"
#include "session/ReplayWriter.h"

class Scene;

// Where a race's input comes from and where it goes: the player's keys, recorded as they are
// played, or a replay, played back through the very same simulation. A replay runs at its
// recorded pace (as many recorded frames as a drawn frame's time covers) or, for a timedemo,
// one recorded frame for every drawn one. A recording notes where the race stood at every whole
// second of race time and how it ended; a replay compares those notes with the race it plays.
class RaceSession {
  public:
    enum class Pace { Recorded, OneFramePerDraw };

    // Records every frame and event to path; false (with the writer's warning) when the file
    // cannot be written, and the race is played unrecorded.
    bool startRecording(const std::string& path, uint64_t levelHash);
    void startReplay(const Replay& replay, Pace pace);

    // Runs this drawn frame of the race: the player's input (or the replay's frames) through
    // the scene's simulation, and says what its steps did. Nothing runs while paused. The
    // scene runs today's rules for the player and a replay's own for the replay; the first
    // frame of a replay that does not say which (format 1) runs it once to find out, with the
    // scene at the race's start.
    StepResult advance(double frameTime, const RaceInput& playerInput, Scene* scene);
    // Hands a pause, resume or play-again of the player's to the recording.
    void recordEvent(PlayEvent event);

    bool isReplaying() const { return replaying; }
    // A replay with no frame left to play.
    bool replayEnded() const { return replaying && next >= replay.records.size(); }
    // Whether a check of the replay played so far found the race elsewhere.
    bool wentAnotherWay() const { return check.wentAnotherWay(); }
    // For a replay played to its end: whether it went as recorded, in one line naming file.
    std::string replayVerdict(const std::string& file) const { return check.verdict(file); }
    // The race under way as a replay of its own: its frames and checks from its start (the
    // last play again) up to the frame that ended it, and an End record of how it stands on
    // scene. Empty (no records) for a watched replay.
    Replay currentRace(const Scene& scene) const;
    // Closes a recording with how the race on scene (which may be null) ended, and puts it in
    // place under its name. Returns that name, or "" when no recording was put in place.
    std::string finish(const Scene* scene);
    // Whether a recording holds any frame the player played.
    bool hasRecordedFrames() const { return recordedFrames > 0; }
    // Ends a recording without putting it in place: the last race kept stays the one before.
    void discard() { writer.discard(); }

  private:
    void playRecorded(double frameTime, Scene* scene, StepResult& result);
    // Plays records up to and including the next frame; false when there is none.
    bool playNextFrame(Scene* scene, StepResult& result);
    void playRecord(const ReplayRecord& record, Scene* scene, StepResult& result);
    // keep: the frame before these checks belongs to the race under way.
    void recordChecks(const Scene* scene, bool keep);

    ReplayCheck check;
    // The whole seconds of the current race already noted in the recording.
    long checkedSeconds = 0;

    ReplayWriter writer;
    uint64_t recordedLevelHash = 0;
    // The records of the race under way up to its end, kept whatever the writer does with
    // them: a new best time keeps its race apart from the whole session's recording.
    std::vector<ReplayRecord> raceUnderWay;
    Replay replay;
    // The rules the replay runs under, once simulationVersionOf has said.
    SimulationVersion replayRules = currentSimulationVersion;
    bool replayRulesKnown = false;
    bool replaying = false;
    Pace pace = Pace::Recorded;
    size_t next = 0;
    size_t recordedFrames = 0;
    // Drawn time not yet spent on recorded frames.
    double owed = 0.0;
    // Real time the frame before spent finding the replay's rules, which the frame after it
    // does not owe the replay.
    double rulesFindingTime = 0.0;
};
