#include "settings/DataDirectory.h"

#include <filesystem>
#include <iostream>

namespace fs = std::filesystem;

#ifndef QUILLORB_INSTALLED_DATA_DIR
#define QUILLORB_INSTALLED_DATA_DIR ""
#endif
#ifndef QUILLORB_DATA_FROM_PROGRAM
#define QUILLORB_DATA_FROM_PROGRAM "../share/games/quillorb"
#endif

namespace {

// One file per folder keeps the check to four stats, and these four are read at every start.
const char* const treeFiles[4] = {
    "shader/simple_shader.vert",
    "texture/TestLoadingScreen.bmp",
    "models/Sphere.mesh.xml",
    "data/basicFont.fnt",
};

const char* missingFile(const fs::path& dir) {
    for (const char* file : treeFiles) {
        std::error_code error;
        if (!fs::is_regular_file(dir / file, error))
            return file;
    }
    return nullptr;
}

std::string absolute(const std::string& place) {
    std::error_code error;
    fs::path full = fs::absolute(place, error);
    return error ? place : full.lexically_normal().string();
}

} // namespace

std::string installedDataDirectory() {
    // Beside the program first: a package or a moved install is not where the build said.
    std::error_code error;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        std::string besideProgram =
            (program.parent_path() / QUILLORB_DATA_FROM_PROGRAM).lexically_normal().string();
        if (holdsDataTree(besideProgram))
            return besideProgram;
    }
    return QUILLORB_INSTALLED_DATA_DIR;
}

bool holdsDataTree(const std::string& dir) {
    return !dir.empty() && missingFile(dir) == nullptr;
}

std::string findDataDirectory(const DataPlaces& places) {
    struct Place {
        const std::string& dir;
        const char* name;
        bool namedByPlayer;
    };
    const Place order[4] = {
        {places.option, "--data", true},
        {places.environment, "$QUILLORB_DATA", true},
        {places.installed, "installed", false},
        {places.working, "working directory", false},
    };
    std::string lookedIn;
    for (const Place& place : order) {
        if (place.dir.empty())
            continue;
        std::string full = absolute(place.dir);
        const char* missing = missingFile(full);
        if (!missing)
            return full;
        if (place.namedByPlayer)
            std::cout << "Warning: " << place.name << " " << full
                      << " does not hold the game's data (no " << missing << "); looking further"
                      << std::endl;
        lookedIn += (lookedIn.empty() ? "" : ", ") + full + " (" + place.name + ")";
    }
    std::cout << "Could not find the game's data (shader/, texture/, models/, data/); looked in: "
              << (lookedIn.empty() ? "nowhere" : lookedIn) << std::endl;
    return "";
}
