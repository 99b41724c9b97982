#include "app/GameSetup.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "app/CommandLine.h"
#include "app/DataDirectory.h"
#include "app/GameOptions.h"
#include "app/SettingsFile.h"

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

bool setUpGame(int argc, const char* const* argv, int& exitCode) {
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

    GameOptions options;
    std::string settingsPath =
        settingsFilePath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
    readSettingsFile(settingsPath, options);
    commandLine.applyTo(options);
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
        std::cout << "Could not enter the data directory " << dataDir << ": " << error.message()
                  << std::endl;
        exitCode = 1;
        return false;
    }
    options.dataDir = dataDir;
    setGameOptions(options);
    return true;
}
