#include "settings/GameSetup.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "settings/CommandLine.h"
#include "settings/DataDirectory.h"
#include "settings/GameOptions.h"
#include "settings/SettingsFile.h"
#include "settings/UserDirectories.h"

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// A replay the command line kept as a bare name: "last" and "best" are the player's own, where
// the game keeps them (empty without a home folder), any other one the data tree's.
std::string namedReplay(const std::string& replay, const std::string& dataDir) {
    if (replay == "last")
        return defaultReplayPath();
    if (replay == "best")
        return bestRacePath();
    return replayInDataTree(replay, dataDir);
}

bool findNamedReplay(const char* option, std::string& replay, const std::string& dataDir) {
    const std::string given = replay;
    replay = namedReplay(given, dataDir);
    if (given.empty() || !replay.empty())
        return true;
    std::cerr << option << " " << given
              << ": the game keeps no races of yours without XDG_DATA_HOME or HOME" << std::endl;
    return false;
}

} // namespace

bool setUpGame(int argc, const char* const* argv, GameOptions& options, int& exitCode) {
    CommandLine commandLine;
    switch (commandLine.parse(argc, argv)) {
    case CommandLine::Outcome::Done:
        exitCode = 0;
        return false;
    case CommandLine::Outcome::Refused:
        exitCode = 2;
        return false;
    case CommandLine::Outcome::Run:
        break;
    }

    options = GameOptions();
    std::string settingsPath =
        settingsFilePath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
    readSettingsFile(settingsPath, options);
    commandLine.applyTo(options);
    options.settingsFile = settingsPath;
    if (commandLine.writeSettingsRequested()) {
        exitCode = writeSettingsFile(settingsPath, options);
        return false;
    }

    std::error_code error;
    std::string working = std::filesystem::current_path(error).string();
    std::string dataDir = findDataDirectory(
        {options.dataDir, environment("QUILLORB_DATA"), installedDataDirectory(), working});
    if (dataDir.empty()) {
        exitCode = 1;
        return false;
    }
    // Every data path in the game stays relative to this folder.
    std::filesystem::current_path(dataDir, error);
    if (error) {
        std::cerr << "Could not enter the data directory " << dataDir << ": " << error.message()
                  << std::endl;
        exitCode = 1;
        return false;
    }
    options.dataDir = dataDir;
    if (!findNamedReplay("--replay", options.replayFile, dataDir) ||
        !findNamedReplay("--timedemo", options.timedemoFile, dataDir)) {
        exitCode = 2;
        return false;
    }
    return true;
}
