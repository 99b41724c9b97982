#include "platform/DataFileReport.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>

namespace fs = std::filesystem;

namespace {

std::set<std::string>& reportedFiles() {
    static std::set<std::string> files;
    return files;
}

// Empty when the file can be opened and read as a plain file.
std::string accessProblem(const std::string& path) {
    std::error_code error;
    fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found)
        return "missing";
    // A folder opens on Linux and only fails on the first read.
    if (error || !fs::is_regular_file(status))
        return "unreadable";
    std::ifstream in(path, std::ios::binary);
    return in ? "" : "unreadable";
}

} // namespace

void reportBrokenDataFile(const char* path, const std::string& contentProblem) {
    std::string shown = path != nullptr ? path : "";
    if (!reportedFiles().insert(shown).second)
        return;
    std::string problem = accessProblem(shown);
    if (problem.empty())
        problem = contentProblem;
    std::cerr << "Data file \"" << shown << "\": " << problem << std::endl;
}

void forgetReportedDataFiles() {
    reportedFiles().clear();
}
