#include "quality/QualityMemory.h"

#include <toml++/toml.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <utility>
#include <vector>

#include "platform/WholeFile.h"
#include "settings/UserDirectories.h"

namespace fs = std::filesystem;

namespace {

const char* const fileHeading =
    "# Quillorb 3D: where automatic quality settled, for each GL renderer, GL version and\n"
    "# window size. The game writes this file; delete it to start again from full quality.\n\n";

struct Entry {
    QualityMemory::Key key;
    QualityRung rung;
};

bool sameKey(const QualityMemory::Key& a, const QualityMemory::Key& b) {
    return a.renderer == b.renderer && a.version == b.version && a.width == b.width &&
           a.height == b.height;
}

std::string oneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    std::replace(text.begin(), text.end(), '\r', ' ');
    return text;
}

// The entries of the file, or what is wrong with it; a missing file is an empty list.
std::string readEntries(const std::string& path, std::vector<Entry>& entries) {
    std::error_code error;
    fs::file_status status = fs::status(path, error);
    if (!fs::exists(status))
        return "";
    std::ifstream in;
    if (fs::is_regular_file(status))
        in.open(path, std::ios::binary);
    std::string text(std::istreambuf_iterator<char>(in), {});
    if (!in.is_open() || in.bad())
        return "could not be read";
    toml::table root;
    try {
        root = toml::parse(text, path);
    } catch (const toml::parse_error& broken) {
        return "line " + std::to_string(broken.source().begin.line) + ": " +
               std::string(broken.description());
    }
    const toml::node* settled = root.get("settled");
    if (settled == nullptr)
        return "";
    const toml::array* list = settled->as_array();
    if (list == nullptr)
        return "\"settled\" is not a list";
    for (const toml::node& node : *list) {
        const toml::table* table = node.as_table();
        if (table == nullptr)
            return "an entry of \"settled\" is not a table";
        std::optional<std::string> renderer = (*table)["renderer"].value<std::string>();
        std::optional<std::string> version = (*table)["version"].value<std::string>();
        std::optional<int64_t> width = (*table)["width"].value<int64_t>();
        std::optional<int64_t> height = (*table)["height"].value<int64_t>();
        std::optional<std::string> rungName = (*table)["rung"].value<std::string>();
        Entry entry{{}, QualityRung::Full};
        if (!renderer || !version || !width || !height || !rungName ||
            !rungFromName(*rungName, entry.rung))
            return "an entry lacks its renderer, version, width, height or rung";
        entry.key = {*renderer, *version, static_cast<int>(*width), static_cast<int>(*height)};
        entries.push_back(entry);
    }
    return "";
}

std::string toText(const std::vector<Entry>& entries) {
    toml::array settled;
    for (const Entry& entry : entries)
        settled.push_back(toml::table{{"renderer", entry.key.renderer},
                                      {"version", entry.key.version},
                                      {"width", entry.key.width},
                                      {"height", entry.key.height},
                                      {"rung", rungName(entry.rung)}});
    std::ostringstream text;
    text << fileHeading << toml::table{{"settled", std::move(settled)}} << "\n";
    return text.str();
}

bool notSaved(const std::string& path, const std::string& reason) {
    std::cerr << "Warning: the quality reached could not be saved to " << path << ": "
              << oneLine(reason) << "; the next run starts at full quality" << std::endl;
    return false;
}

} // namespace

QualityMemory::QualityMemory(std::string path) : filePath(std::move(path)) {}

QualityRung QualityMemory::recall(const Key& key) const {
    std::vector<Entry> entries;
    std::string problem = readEntries(filePath, entries);
    if (!problem.empty()) {
        std::cerr << "Warning: " << filePath << ": " << oneLine(problem)
                  << "; starting at full quality" << std::endl;
        return QualityRung::Full;
    }
    for (const Entry& entry : entries) {
        if (sameKey(entry.key, key))
            return entry.rung;
    }
    return QualityRung::Full;
}

bool QualityMemory::remember(const Key& key, QualityRung rung) const {
    if (filePath.empty())
        return false;
    // A file of no use is replaced: it holds nothing but what this game wrote.
    std::vector<Entry> entries;
    if (!readEntries(filePath, entries).empty())
        entries.clear();
    auto found = std::find_if(entries.begin(), entries.end(),
                              [&](const Entry& entry) { return sameKey(entry.key, key); });
    if (found != entries.end())
        found->rung = rung;
    else
        entries.push_back({key, rung});

    const std::string problem = replaceFileWhole(filePath, toText(entries));
    if (!problem.empty())
        return notSaved(filePath, problem);
    return true;
}

std::string QualityMemory::defaultPath() {
    std::string state = stateHome();
    if (state.empty())
        return "";
    return (state == "/" ? "" : state) + "/quillorb/quality.toml";
}
