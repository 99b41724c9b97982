#pragma once

#include <string>

#include "session/PlayControls.h"
#include "session/Replay.h"
#include "session/ReplayWriter.h"
#include "physics/RaceInput.h"
#include "physics/StepResult.h"

class Scene;

// Where a race's input comes from and where it goes: the player's keys, recorded as they are
// played, or a replay, played back through the very same simulation. A replay runs at its
// recorded pace (as many recorded frames as a drawn frame's time covers) or, for a timedemo,
// one recorded frame for every drawn one.
class RaceSession {
  public:
    enum class Pace { Recorded, OneFramePerDraw };

    // Records every frame and event to path; false (with the writer's warning) when the file
    // cannot be written, and the race is played unrecorded.
    bool startRecording(const std::string& path, uint64_t levelHash);
    void startReplay(const Replay& replay, Pace pace);

    // Runs this drawn frame of the race: the player's input (or the replay's frames) through
    // the scene's simulation, and says what its steps did. Nothing runs while paused.
    StepResult advance(double frameTime, const RaceInput& playerInput, Scene* scene);
    // Hands a pause, resume or play-again of the player's to the recording.
    void recordEvent(PlayEvent event);

    bool isReplaying() const { return replaying; }
    // A replay with no frame left to play.
    bool replayEnded() const { return replaying && next >= replay.records.size(); }
    // Puts a finished recording in place under its name.
    void finish();

  private:
    void playRecorded(double frameTime, Scene* scene, StepResult& result);
    // Plays records up to and including the next frame; false when there is none.
    bool playNextFrame(Scene* scene, StepResult& result);
    void playRecord(const ReplayRecord& record, Scene* scene, StepResult& result);

    ReplayWriter writer;
    Replay replay;
    bool replaying = false;
    Pace pace = Pace::Recorded;
    size_t next = 0;
    // Drawn time not yet spent on recorded frames.
    double owed = 0.0;
};
