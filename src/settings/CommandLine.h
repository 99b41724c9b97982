#pragma once

#include <string>
#include <vector>

#include "settings/GameOptions.h"

struct SettingRule;

// The game's command line. parse() reads every option and prints what it has to say itself:
// the help, the version, or one line naming a refused option and what it allows. The values
// are kept apart from the options until applyTo(), so the settings file can be read in between
// and the command line still wins.
class CommandLine {
  public:
    enum class Outcome {
        Run,     // start the game (or write the settings)
        Done,    // the help or the version was printed: exit 0
        Refused, // an option was refused: exit 2
    };

    Outcome parse(int argc, const char* const* argv);

    // Overwrites what the command line gave; paths become absolute against the current
    // working directory, which the data lookup is about to leave. A replay named without a
    // folder or an extension that is no file here stays a name, for setUpGame to find.
    void applyTo(GameOptions& options) const;

    bool writeSettingsRequested() const { return writeSettings; }

  private:
    struct GivenSetting {
        const SettingRule* rule;
        std::string text;
    };
    std::vector<GivenSetting> settings;
    std::string dataDir;
    std::string recordFile;
    std::string replayFile;
    std::string timedemoFile;
    bool writeSettings = false;
};
