#pragma once

#include <string>
#include <vector>

#include "settings/GameOptions.h"

// The player's settings file: the same settings as the command line, in TOML. The game reads
// it at start-up; --write-settings writes one once for the player to edit, a first start
// leaves one with every setting commented out, and the options menu writes back only the
// settings the player changed there.

// $XDG_CONFIG_HOME/quillorb/settings.toml when that variable is set, non-empty and absolute,
// else $HOME/.config/quillorb/settings.toml; empty when neither names a place.
std::string settingsFilePath(const char* xdgConfigHome, const char* home);

// Reads the file's settings into options. A missing file is no error and prints nothing. A
// file that is not valid TOML gets one warning naming the line and changes nothing; a value
// that is out of range or of the wrong kind, or an unknown key, gets a warning naming the key
// and its line and changes nothing for that key. The file itself is never touched.
void readSettingsFile(const std::string& path, GameOptions& options);

// The settings as the file holds them, each under a comment saying what it allows.
std::string settingsText(const GameOptions& options);

// Writes a new settings file (creating its folder) and says where. Returns the exit code:
// 0 written; 2 when the file already exists (a player's file is never overwritten; only the one
// a first start left, as it left it, is) or no place is known; 1 when it cannot be written.
int writeSettingsFile(const std::string& path, const GameOptions& options);

// Every setting under its help, commented out at the value options give it: a file that pins
// nothing, so a later version's defaults still reach the player.
std::string commentedSettingsText(const GameOptions& options);

// Puts the values options hold for keys (settings-file keys) into the file at path, written
// whole, and leaves every other line as it was: a key's own line takes the new value (a note
// after it stays), else a commented-out line of the key becomes its line, else the key is
// added with its help. A missing file starts from commentedSettingsText(). Returns "" when
// written, otherwise why not; the file is then left as it was.
std::string saveSettings(const std::string& path, const GameOptions& options,
                         const std::vector<std::string>& keys);
