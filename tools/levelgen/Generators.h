#pragma once

#include <string>

// Each generator writes its part of the game's data tree below outDir (the run/ folder); the
// desktop icon goes to a folder of its own, as the game never reads it.
// All of them are deterministic: the same program writes the same bytes every time.

// Every mesh of the level (models/...), the keyframe-animated stop barrier included.
void generateMeshes(const std::string& outDir);
// The top-down map of the course, as a PNG at mapPath.
void generateMap(const std::string& mapPath);
// Level textures, screen pictures, skybox faces and the water maps (texture/...).
void generateTextures(const std::string& outDir);
// The HUD font: data/basicFont.fnt and its page data/basicFont_0.tga.
void generateFont(const std::string& outDir);
// The background loop, data/background.wav.
void generateMusic(const std::string& outDir);
// The sound effects, data/sound/{roll,impact,life_lost,tick,win,game_over}.wav.
void generateSoundEffects(const std::string& outDir);
// The desktop icon as iconDir/hicolor/<size>x<size>/apps/quillorb.png, an icon theme's layout.
void generateIcons(const std::string& iconDir);
