#include "settings/DataDirectory.h"

#include <filesystem>
#include <iostream>
#include <iterator>
#include <utility>
#include <vector>

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

std::vector<const char*> missingFiles(const fs::path& dir) {
    std::vector<const char*> missing;
    for (const char* file : treeFiles) {
        std::error_code error;
        if (!fs::is_regular_file(dir / file, error))
            missing.push_back(file);
    }
    return missing;
}

// What keeps a folder from being the data tree, in words a player can act on.
std::string whatIsMissing(const fs::path& dir, const std::vector<const char*>& missing) {
    std::error_code error;
    fs::file_status status = fs::status(dir, error);
    if (!fs::exists(status))
        return "no such folder";
    if (!fs::is_directory(status))
        return "not a folder";
    std::string text = "missing ";
    for (size_t i = 0; i < missing.size(); ++i)
        text += (i > 0 ? ", " : "") + std::string(missing[i]);
    return text;
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
    return !dir.empty() && missingFiles(dir).empty();
}

std::string findDataDirectory(const DataPlaces& places) {
    // A place the player named is the one they mean: playing from another tree would hide
    // their mistake, or play data they meant to replace.
    const std::pair<const std::string&, const char*> named[2] = {
        {places.option, "--data"},
        {places.environment, "$QUILLORB_DATA"},
    };
    for (const auto& [dir, name] : named) {
        if (dir.empty())
            continue;
        std::string full = absolute(dir);
        std::vector<const char*> missing = missingFiles(full);
        if (missing.empty())
            return full;
        std::cerr << name << " " << full << " does not hold the game's data ("
                  << whatIsMissing(full, missing) << ")" << std::endl;
        return "";
    }

    const std::pair<const std::string&, const char*> searched[2] = {
        {places.installed, "installed"},
        {places.working, "working directory"},
    };
    std::string lookedIn;
    bool incompleteTree = false;
    for (const auto& [dir, name] : searched) {
        if (dir.empty())
            continue;
        std::string full = absolute(dir);
        std::vector<const char*> missing = missingFiles(full);
        if (missing.empty())
            return full;
        // Some of the tree is there: the player needs the file, not a hunt for the folder.
        if (missing.size() < std::size(treeFiles)) {
            incompleteTree = true;
            std::cerr << "The game's data in " << full << " (" << name << ") is incomplete ("
                      << whatIsMissing(full, missing) << ")" << std::endl;
        }
        lookedIn += (lookedIn.empty() ? "" : ", ") + full + " (" + name + ")";
    }
    if (!incompleteTree)
        std::cerr
            << "Could not find the game's data (shader/, texture/, models/, data/); looked in: "
            << (lookedIn.empty() ? "nowhere" : lookedIn) << std::endl;
    return "";
}

std::string replayInDataTree(const std::string& replay, const std::string& dataDir) {
    if (replay.empty() || fs::path(replay).is_absolute())
        return replay;
    return (fs::path(dataDir) / "replays" / (replay + ".qbr")).string();
}
