#include "session/ReplaySimulation.h"

#include <algorithm>

#include "scene/Scene.h"
#include "session/RaceSession.h"

namespace {

bool holdsChecks(const Replay& replay) {
    return std::any_of(replay.records.begin(), replay.records.end(), [](const ReplayRecord& r) {
        return r.kind == ReplayRecord::Kind::Check || r.kind == ReplayRecord::Kind::End;
    });
}

} // namespace

SimulationVersion simulationVersionOf(const Replay& replay, Scene& scene) {
    if (replay.header.formatVersion >= 2)
        return static_cast<SimulationVersion>(replay.header.simulationVersion);
    if (!holdsChecks(replay))
        return SimulationVersion::StartMatrixSteers;
    // Played back as it would be, only saying which rules to run and never drawn.
    Replay underFirstRules = replay;
    underFirstRules.header.formatVersion = replayFormatVersion;
    underFirstRules.header.simulationVersion =
        static_cast<uint16_t>(SimulationVersion::StartMatrixSteers);
    const SimulationVersion before = scene.getSimulationVersion();
    RaceSession trial;
    trial.startReplay(underFirstRules, RaceSession::Pace::OneFramePerDraw);
    scene.restartRace();
    while (!trial.replayEnded() && !trial.wentAnotherWay())
        trial.advance(0.0, RaceInput(), &scene);
    scene.setSimulationVersion(before);
    scene.restartRace();
    return trial.wentAnotherWay() ? SimulationVersion::ChaseCameraSteers
                                  : SimulationVersion::StartMatrixSteers;
}
