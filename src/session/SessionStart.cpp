#include "session/SessionStart.h"

#include <iostream>

#include "session/LevelHash.h"
#include "session/RaceSession.h"
#include "session/ReplayReader.h"
#include "settings/UserDirectories.h"

RaceSession* startRaceSession(const GameOptions& options) {
    const std::string& replayFile =
        options.timedemoFile.empty() ? options.replayFile : options.timedemoFile;
    RaceSession* session = new RaceSession();
    if (!replayFile.empty()) {
        Replay replay;
        ReplayProblem problem;
        if (!ReplayReader().read(replayFile, hashLevelData("."), replay, problem)) {
            std::cerr << problem.consoleLine(replayFile) << std::endl;
            delete session;
            return nullptr;
        }
        session->startReplay(replay, options.timedemoFile.empty()
                                         ? RaceSession::Pace::Recorded
                                         : RaceSession::Pace::OneFramePerDraw);
    } else {
        std::string recordFile =
            options.recordFile.empty() ? defaultReplayPath() : options.recordFile;
        if (!recordFile.empty())
            session->startRecording(recordFile, hashLevelData("."));
        else
            std::cerr << "The last race is not kept: neither XDG_DATA_HOME nor HOME is set"
                      << std::endl;
    }
    return session;
}
