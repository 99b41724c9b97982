#pragma once

#include <string>
#include <vector>

#include "settings/GameOptions.h"

// The settings a player can give both on the command line and in the settings file, with what
// each accepts. One table serves the command line, the settings file reader and its writer, so
// the three cannot disagree about a name or a limit.

enum class SettingKind {
    Whole,    // an integer
    Switch,   // true or false; a flag on the command line
    Choice,   // one of a few words
    Fraction, // a number from 0 to 1
};

struct SettingRule {
    const char* key;       // in the settings file: "shadow_map"
    const char* option;    // on the command line: "--shadow-map"
    const char* offOption; // a switch's opposite flag ("--windowed"); null for the others
    SettingKind kind;
    const char* help;
    // Takes the value as text ("1024", "true", "nearest", "0.5") and stores it when allowed;
    // otherwise leaves the options alone and returns what is allowed ("must be ...").
    std::string (*store)(GameOptions& options, const std::string& text);
    // The current value as the settings file writes it.
    std::string (*show)(const GameOptions& options);
};

const std::vector<SettingRule>& settingRules();
