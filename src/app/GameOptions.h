#pragma once

#include <string>

// Every setting a player can choose at start-up, with the values the game has without any
// option or settings file. Filled once by the command line and the settings file before the
// window opens; the rest of the game reads it through gameOptions().
struct GameOptions {
    // Absolute paths (made so before the working directory moves to the data tree); empty when
    // not given. dataDir is --data until start-up has found the tree, then the tree in use.
    std::string dataDir;
    std::string recordFile;
    std::string replayFile;
    std::string timedemoFile;

    // Windowed size; a full-screen window takes the monitor's own size instead.
    int width = 1024;
    int height = 768;
    bool fullscreen = false;
    bool vsync = false;
    int samples = 4;
    int shadowMapSize = 8192;
    int waterMapSize = 512;
    bool bilinearFiltering = true;
    // 0 off, 1 nearest, 2 linear: the F5 cycle's values.
    int mipmapMode = 2;
    // The largest anisotropy a texture filters with; 0 takes the driver's maximum.
    int anisotropy = 0;
    // The background music's gain, 0 (silent) to 1.
    double musicVolume = 1.0;
    // The sound effects' gain, 0 (silent) to 1, apart from the music's.
    double soundVolume = 1.0;
};

// The options the game started with.
const GameOptions& gameOptions();
// Start-up stores what it decided; tests put in their own.
void setGameOptions(const GameOptions& options);
