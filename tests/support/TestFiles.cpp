#include "TestFiles.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {
struct ScratchFolder {
    fs::path path;
    ScratchFolder() {
        path = fs::temp_directory_path() / ("quillorb-test-" + std::to_string(::getpid()));
        fs::create_directories(path);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};
} // namespace

std::string scratchDir() {
    static ScratchFolder folder;
    return folder.path.string();
}

std::string freshScratchDir(const std::string& name) {
    fs::path full = fs::path(scratchDir()) / name;
    fs::remove_all(full);
    fs::create_directories(full);
    return full.string();
}

std::string writeScratchFile(const std::string& name, const std::string& text) {
    fs::path full = fs::path(scratchDir()) / name;
    fs::create_directories(full.parent_path());
    std::ofstream out(full, std::ios::binary);
    out << text;
    return full.string();
}

std::string runDir() {
    return QUILLORB_RUN_DIR;
}
