#include "settings/SettingsFile.h"

#include <toml++/toml.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <vector>

#include "platform/WholeFile.h"
#include "settings/DecimalText.h"
#include "settings/SettingRules.h"

namespace fs = std::filesystem;

namespace {

// One warning line, kept with its line number so a file's warnings come out in file order.
struct Warning {
    toml::source_index line;
    std::string text;
};

void warn(std::vector<Warning>& warnings, const toml::source_region& where, std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    warnings.push_back({where.begin.line, std::move(text)});
}

void printWarnings(const std::string& path, std::vector<Warning>& warnings) {
    std::stable_sort(warnings.begin(), warnings.end(),
                     [](const Warning& a, const Warning& b) { return a.line < b.line; });
    for (const Warning& warning : warnings)
        std::cerr << "Warning: " << path << " line " << warning.line << ": " << warning.text
                  << std::endl;
}

// The value as the player wrote it, for the warning.
std::string describe(const toml::node& node) {
    if (const auto* text = node.as_string())
        return "\"" + text->get() + "\"";
    if (const auto* number = node.as_integer())
        return std::to_string(number->get());
    if (const auto* flag = node.as_boolean())
        return flag->get() ? "true" : "false";
    if (const auto* number = node.as_floating_point())
        return shortestDecimal(number->get());
    if (node.is_table())
        return "a table";
    if (node.is_array())
        return "an array";
    return "a date or time";
}

// The value as text for the setting's rule, when it is of the kind the setting takes.
bool textFor(const SettingRule& rule, const toml::node& node, std::string& text) {
    switch (rule.kind) {
    case SettingKind::Whole:
        if (!node.is_integer())
            return false;
        text = std::to_string(node.as_integer()->get());
        return true;
    case SettingKind::Switch:
        if (!node.is_boolean())
            return false;
        text = node.as_boolean()->get() ? "true" : "false";
        return true;
    case SettingKind::Choice:
        if (!node.is_string())
            return false;
        text = node.as_string()->get();
        return true;
    case SettingKind::Fraction:
        if (node.is_integer()) {
            text = std::to_string(node.as_integer()->get());
            return true;
        }
        if (!node.is_floating_point())
            return false;
        text = shortestDecimal(node.as_floating_point()->get());
        return true;
    }
    return false;
}

const SettingRule* ruleFor(const std::string_view& key) {
    for (const SettingRule& rule : settingRules()) {
        if (key == rule.key)
            return &rule;
    }
    return nullptr;
}

void readSetting(const std::string_view& key, const toml::node& node, GameOptions& options,
                 std::vector<Warning>& warnings) {
    const SettingRule* rule = ruleFor(key);
    if (!rule) {
        warn(warnings, node.source(), "unknown setting \"" + std::string(key) + "\" ignored");
        return;
    }
    std::string text;
    // An empty text is refused by every rule, which then says what it allows.
    std::string allowed = textFor(*rule, node, text) ? rule->store(options, text)
                                                     : rule->store(options, std::string());
    if (!allowed.empty())
        warn(warnings, node.source(),
             std::string(rule->key) + " " + allowed + " (got " + describe(node) + "); keeping " +
                 rule->show(options));
}

} // namespace

std::string settingsFilePath(const char* xdgConfigHome, const char* home) {
    fs::path base;
    if (xdgConfigHome && *xdgConfigHome && fs::path(xdgConfigHome).is_absolute())
        base = xdgConfigHome;
    else if (home && *home)
        base = fs::path(home) / ".config";
    else
        return "";
    return (base / "quillorb" / "settings.toml").string();
}

void readSettingsFile(const std::string& path, GameOptions& options) {
    std::error_code error;
    if (path.empty() || !fs::exists(path, error))
        return;
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    if (in)
        bytes << in.rdbuf();
    if (!in || !fs::is_regular_file(path, error)) {
        std::cerr << "Warning: " << path << " could not be read; using the default settings"
                  << std::endl;
        return;
    }
    std::vector<Warning> warnings;
    toml::table table;
    try {
        table = toml::parse(bytes.str(), path);
    } catch (const toml::parse_error& broken) {
        warn(warnings, broken.source(),
             std::string(broken.description()) + "; using the default settings");
        printWarnings(path, warnings);
        return;
    }
    for (auto&& [key, node] : table)
        readSetting(key.str(), node, options, warnings);
    printWarnings(path, warnings);
}

namespace {

const char* const settingsHeading =
    "# Quillorb 3D settings. Options given on the command line win over this file; the "
    "game's\n# options menu changes only the lines of the settings changed there.\n";

// Where the value of a line setting key begins and ends ("key = value  # note"); false when
// the line sets another key or none.
bool valueSpan(const std::string& line, const std::string& key, size_t& begin, size_t& end) {
    size_t at = line.find_first_not_of(" \t");
    if (at == std::string::npos || line.compare(at, key.size(), key) != 0)
        return false;
    at = line.find_first_not_of(" \t", at + key.size());
    if (at == std::string::npos || line[at] != '=')
        return false;
    begin = std::min(line.find_first_not_of(" \t", at + 1), line.size());
    end = begin;
    if (end < line.size() && line[end] == '"') {
        for (++end; end < line.size() && line[end] != '"'; ++end)
            end += line[end] == '\\' ? 1 : 0;
        end = std::min(end + 1, line.size());
        return true;
    }
    end = std::min(line.find('#', begin), line.size());
    while (end > begin && std::isspace(static_cast<unsigned char>(line[end - 1])))
        --end;
    return true;
}

// A line "# key = value", as commentedSettingsText() leaves each setting.
bool commentedOut(const std::string& line, const std::string& key) {
    size_t at = line.find_first_not_of(" \t");
    if (at == std::string::npos || line[at] != '#')
        return false;
    size_t begin = 0;
    size_t end = 0;
    return valueSpan(line.substr(at + 1), key, begin, end);
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The key's value in the lines: its own line, else its commented-out one, else new lines
// before the first table (whose keys would otherwise take it in).
void putSetting(std::vector<std::string>& lines, const SettingRule& rule,
                const std::string& value) {
    const std::string key = rule.key;
    for (std::string& line : lines) {
        size_t begin = 0;
        size_t end = 0;
        if (valueSpan(line, key, begin, end)) {
            line.replace(begin, end - begin, value);
            return;
        }
    }
    for (std::string& line : lines) {
        if (commentedOut(line, key)) {
            line = key + " = " + value;
            return;
        }
    }
    auto table = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
        size_t at = line.find_first_not_of(" \t");
        return at != std::string::npos && line[at] == '[';
    });
    lines.insert(table, {"", std::string("# ") + rule.help, key + " = " + value});
}

} // namespace

std::string commentedSettingsText(const GameOptions& options) {
    std::string text = settingsHeading;
    for (const SettingRule& rule : settingRules())
        text +=
            std::string("\n# ") + rule.help + "\n# " + rule.key + " = " + rule.show(options) + "\n";
    return text;
}

std::string saveSettings(const std::string& path, const GameOptions& options,
                         const std::vector<std::string>& keys) {
    if (path.empty())
        return "neither XDG_CONFIG_HOME nor HOME names a place for it";
    std::string text = commentedSettingsText(GameOptions());
    std::error_code error;
    if (fs::exists(path, error)) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        if (!in || !fs::is_regular_file(path, error))
            return "it could not be read";
        text = bytes.str();
    }
    std::vector<std::string> lines = linesOf(text);
    for (const std::string& key : keys) {
        if (const SettingRule* rule = ruleFor(key))
            putSetting(lines, *rule, rule->show(options));
    }
    std::string written;
    for (const std::string& line : lines)
        written += line + "\n";
    return replaceFileWhole(path, written);
}

std::string settingsText(const GameOptions& options) {
    std::string text = settingsHeading;
    for (const SettingRule& rule : settingRules()) {
        // A quality aspect the player left to --quality goes in commented out: as a setting it
        // would pin the aspect, and automatic quality could no longer move it.
        GameOptions probe;
        rule.store(probe, rule.show(options));
        const bool leftToQuality = (probe.pinnedAspects & ~options.pinnedAspects) != 0;
        text += std::string("\n# ") + rule.help + "\n" + (leftToQuality ? "# " : "") + rule.key +
                " = " + rule.show(options) + "\n";
    }
    return text;
}

int writeSettingsFile(const std::string& path, const GameOptions& options) {
    if (path.empty()) {
        std::cerr << "--write-settings: neither XDG_CONFIG_HOME nor HOME names a place for the "
                     "settings file"
                  << std::endl;
        return 2;
    }
    const std::string text = settingsText(options);
    // Never over a file that is already there, even one made a moment ago, but for the file
    // a first start left, untouched since, which holds nothing of the player's.
    int failure = createFileWhole(path, text);
    if (failure == EEXIST) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        if (bytes.str() == commentedSettingsText(GameOptions()) &&
            replaceFileWhole(path, text).empty())
            failure = 0;
    }
    if (failure == EEXIST) {
        std::cerr << "--write-settings: " << path
                  << " already exists and is left as it is; edit it, or move it away to "
                     "write a new one"
                  << std::endl;
        return 2;
    }
    if (failure != 0) {
        std::cerr << "--write-settings: could not write " << path << ": " << std::strerror(failure)
                  << std::endl;
        return 1;
    }
    std::cout << "Settings written to " << path << std::endl;
    return 0;
}
