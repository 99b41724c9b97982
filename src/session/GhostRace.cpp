#include "session/GhostRace.h"

#include <filesystem>
#include <iostream>

#include "assets/Sphere.h"
#include "scene/Scene.h"
#include "scene/SimulationSteps.h"
#include "session/LevelHash.h"
#include "session/RaceSession.h"
#include "session/ReplayReader.h"
#include "session/ReplaySimulation.h"
#include "session/ReplayWriter.h"

std::string GhostRace::bestFileBeside(const std::string& bestTimesPath) {
    if (bestTimesPath.empty())
        return "";
    return (std::filesystem::path(bestTimesPath).parent_path() / "best.qbr").string();
}

void GhostRace::load(Scene& scene) {
    ghostTrack.clear();
    const bool best = choice == "best";
    const std::string file = best ? bestFile : choice;
    std::error_code missing;
    // No best race kept yet is no fault: there is simply nothing to race against.
    if (choice == "off" || file.empty() || (best && !std::filesystem::exists(file, missing)))
        return;
    Replay replay;
    ReplayProblem problem;
    if (!ReplayReader().read(file, hashLevelData("."), replay, problem)) {
        std::cerr << problem.consoleLine(file) << "; the race goes on without a ghost" << std::endl;
        return;
    }
    ghostTrack = trace(replay, scene);
}

void GhostRace::setChoice(const std::string& newChoice) {
    if (newChoice == choice)
        return;
    choice = newChoice;
    reloadDue = choice != "off";
    if (choice == "off") {
        ghostTrack.clear();
        nextGhost = Replay();
        nextGhostDue = false;
    }
}

void GhostRace::afterFrame(PlayEvent event, bool newBest, const RaceSession* session,
                           Scene* scene) {
    if (newBest && session && scene && !session->isReplaying()) {
        Replay won = session->currentRace(*scene);
        // A file that could not be written said so once; it is not tried again this run.
        if (!bestFile.empty() && !ReplayWriter::writeWhole(bestFile, won))
            bestFile.clear();
        if (choice == "best") {
            nextGhost = std::move(won);
            nextGhostDue = true;
        }
    }
    if (event == PlayEvent::PlayAgain && reloadDue && scene) {
        load(*scene);
        reloadDue = false;
        nextGhostDue = false;
    }
    if (event == PlayEvent::PlayAgain && nextGhostDue && scene) {
        ghostTrack = trace(nextGhost, *scene);
        nextGhost = Replay();
        nextGhostDue = false;
    }
}

// The ghost runs through the scene's own simulation rather than a second physics world: the
// barrier's pose is the state of its animated model, stepped with the race, and the saw's is
// set from the race time, both on the very models the race collides with, so a copy would
// have to be kept in step with them by hand. Starting and ending at a race's start costs
// nothing the race relies on: restartRace() is the reset a play again makes within a recorded
// race, which must already leave nothing of the race before it for its replay to hold.
GhostTrack GhostRace::trace(const Replay& replay, Scene& scene) {
    GhostTrack track;
    const SimulationVersion before = scene.getSimulationVersion();
    scene.setSimulationVersion(simulationVersionOf(replay, scene));
    scene.restartRace();
    const RaceState& race = scene.getRace();
    const Sphere* marble = scene.getMarble();
    if (marble)
        track.add(race.simulationTime, marble->getTransform());
    for (const ReplayRecord& record : replay.records) {
        if (race.isWon() || !marble)
            break;
        if (record.kind == ReplayRecord::Kind::PlayAgain) {
            scene.restartRace();
            track.clear();
            track.add(race.simulationTime, marble->getTransform());
        }
        if (record.kind != ReplayRecord::Kind::Frame)
            continue;
        // The steps Scene::advance makes of the frame, one by one so that each is seen.
        const SimulationSteps steps = SimulationSteps::forFrame(record.frameTime);
        for (int i = 0; i < steps.count; ++i) {
            scene.step(steps.stepTime, record.input);
            track.add(race.simulationTime, marble->getTransform());
        }
    }
    scene.setSimulationVersion(before);
    scene.restartRace();
    return track;
}
