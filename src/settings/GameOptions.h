#pragma once

#include <set>
#include <string>

#include "settings/QualityRung.h"

// Every setting a player can choose at start-up, with the values the game has without any
// option or settings file. Filled once by the command line and the settings file before the
// window opens; the game holds it and hands each part to what needs it.
struct GameOptions {
    // Absolute paths (made so before the working directory moves to the data tree); empty when
    // not given. dataDir is --data until start-up has found the tree, then the tree in use.
    // Until then a replay may also be a bare name of one in the tree ("demo").
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
    // --quality: auto moves between the rungs to hold targetFps; otherwise the rung named.
    bool qualityAuto = true;
    QualityRung quality = QualityRung::Full;
    int targetFps = 30;
    double renderScale = 1.0;
    // QualitySettings bits of the aspects the player set (samples, anisotropy, shadow map,
    // water map, render scale): every rung leaves them as given.
    unsigned pinnedAspects = 0;
    // The sound effects' gain, 0 (silent) to 1, apart from the music's.
    double soundVolume = 1.0;
    // The race a ghost runs beside the player's: "best" (the best race kept, when there is
    // one), "off", or a replay file's absolute path.
    std::string ghost = "best";

    // Where these came from: the settings file read at start-up ("" when no place is known),
    // which the options menu writes back to, and the settings-file keys the command line gave,
    // which hold for this run and which the menu neither changes nor writes.
    std::string settingsFile;
    std::set<std::string> commandLineKeys;
};

// What the game draws with at a rung: the rung's settings, with the player's pinned aspects.
QualitySettings qualityAt(const GameOptions& options, QualityRung rung);
