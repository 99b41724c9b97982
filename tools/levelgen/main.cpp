// levelgen OUT_DIR [--map MAP.png] [--icons ICON_DIR]
// Writes the game's meshes, textures, font, music and sound effects below OUT_DIR, and with --icons
// the desktop icon below ICON_DIR.
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>

#include "Generators.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: levelgen OUT_DIR [--map MAP.png] [--icons ICON_DIR]" << std::endl;
        return 2;
    }
    std::string outDir = argv[1];
    std::string mapPath = outDir + "/../docs/level-map.png";
    bool writeMap = false;
    std::string iconDir;
    for (int i = 2; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--map") == 0) {
            mapPath = argv[i + 1];
            writeMap = true;
        } else if (std::strcmp(argv[i], "--icons") == 0) {
            iconDir = argv[i + 1];
        }
    }
    std::filesystem::create_directories(outDir);
    generateMeshes(outDir);
    generateTextures(outDir);
    generateFont(outDir);
    generateMusic(outDir);
    generateSoundEffects(outDir);
    if (writeMap)
        generateMap(mapPath);
    if (!iconDir.empty())
        generateIcons(iconDir);
    return 0;
}
