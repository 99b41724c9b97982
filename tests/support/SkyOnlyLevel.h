#pragma once

#include <filesystem>
#include <string>

#include "TestFiles.h"

// A level folder of nothing but its sky: the game's shaders and pictures, no meshes, so a scene
// starts on it in a moment. Made under the scratch folder as name.
inline std::filesystem::path skyOnlyLevel(const std::string& name) {
    namespace fs = std::filesystem;
    const fs::path level = fs::path(scratchDir()) / name;
    fs::create_directories(level);
    for (const char* folder : {"shader", "texture"}) {
        std::error_code made;
        fs::create_directory_symlink(fs::path(runDir()) / folder, level / folder, made);
    }
    return level;
}
