#include "settings/CommandLine.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>

#include "settings/DataDirectory.h"
#include "settings/SettingRules.h"

namespace {

const char* const versionText = "Quillorb 3D " QUILLORB_VERSION;

std::string helpFooter() {
    return "Settings are read from $XDG_CONFIG_HOME/quillorb/settings.toml (by default "
           "~/.config/quillorb/settings.toml); the command line wins over the file.\n"
           "The data tree is looked for in: --data, $QUILLORB_DATA, " +
           installedDataDirectory() + ", then the working directory.";
}

// Every message is one line, whatever the parser put into it.
std::string oneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

std::string absolutePath(const std::string& path) {
    if (path.empty())
        return path;
    std::error_code error;
    std::filesystem::path full = std::filesystem::absolute(path, error);
    return error ? path : full.lexically_normal().string();
}

// A replay given as a bare name ("demo", "last": no folder, no extension) that is no file in the
// start folder stays a name, for start-up to find once it knows the data tree.
std::string replayPath(const std::string& given) {
    std::filesystem::path path(given);
    std::error_code error;
    if (given.find('/') == std::string::npos && !path.has_extension() &&
        !std::filesystem::exists(path, error))
        return given;
    return absolutePath(given);
}

// Where CLI11 keeps what it read for one of the table's settings. A switch has two flags, on
// and off; the later one on the command line wins.
struct SettingSlot {
    const SettingRule* rule;
    CLI::Option* option = nullptr;
    CLI::Option* offOption = nullptr;
    std::string text;
};

struct Parser {
    CLI::App app{"Quillorb 3D: a marble race against the clock.", "quillorb"};
    std::vector<std::unique_ptr<SettingSlot>> slots;
    std::string dataDir;
    std::string recordFile;
    std::string replayFile;
    std::string timedemoFile;
    CLI::Option* pathOptions[4] = {};
    bool writeSettings = false;

    Parser() {
        // "--width 800 --width 1280": the later value wins, so a wrapper script can be overridden.
        app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
        app.set_version_flag("--version", versionText, "Print the game's version and exit");
        app.footer(helpFooter());
        pathOptions[0] =
            app.add_option("--data", dataDir, "The data tree to play from")->type_name("DIR");
        pathOptions[1] = app.add_option("--record", recordFile, "Record the race's input to FILE")
                             ->type_name("FILE");
        pathOptions[2] =
            app.add_option("--replay", replayFile,
                           "Replay a recorded race: FILE, or demo, last (your last race) or best "
                           "(your best race)")
                ->type_name("FILE");
        pathOptions[3] = app.add_option("--timedemo", timedemoFile,
                                        "Replay a recorded race as fast as possible and report "
                                        "the frame rate (FILE, demo, last or best)")
                             ->type_name("FILE");
        pathOptions[2]->excludes(pathOptions[3]);
        for (const SettingRule& rule : settingRules())
            addSetting(rule);
        app.add_flag("--write-settings", writeSettings,
                     "Write the settings in effect to the settings file and exit");
    }

    void addSetting(const SettingRule& rule) {
        slots.push_back(std::make_unique<SettingSlot>());
        SettingSlot& slot = *slots.back();
        slot.rule = &rule;
        if (rule.kind == SettingKind::Switch) {
            slot.option = app.add_flag(rule.option, rule.help);
            // A non-const string would be taken for the flag's result, not its help.
            const std::string offHelp = std::string("Undo ") + rule.option +
                                        " or the settings file's " + rule.key + " = true";
            slot.offOption = app.add_flag(rule.offOption, offHelp);
        } else {
            const char* typeName = rule.kind == SettingKind::Choice ? "WORD" : "N";
            slot.option = app.add_option(rule.option, slot.text, rule.help)->type_name(typeName);
        }
    }

    // Our own checks, after the parser's: the first refused value gets the one line.
    bool checkValues() const {
        for (CLI::Option* option : pathOptions) {
            if (option->count() > 0 && option->as<std::string>().empty()) {
                std::cerr << option->get_name() << ": must not be empty" << std::endl;
                return false;
            }
        }
        GameOptions scratch;
        for (const auto& slot : slots) {
            if (slot->rule->kind == SettingKind::Switch || slot->option->count() == 0)
                continue;
            std::string allowed = slot->rule->store(scratch, slot->text);
            if (!allowed.empty()) {
                std::cerr << slot->rule->option << ": " << allowed << " (got " << slot->text << ")"
                          << std::endl;
                return false;
            }
        }
        return true;
    }
};

} // namespace

CommandLine::Outcome CommandLine::parse(int argc, const char* const* argv) {
    Parser parser;
    try {
        parser.app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::cout << parser.app.help() << std::flush;
        return Outcome::Done;
    } catch (const CLI::CallForVersion& version) {
        std::cout << version.what() << std::endl;
        return Outcome::Done;
    } catch (const CLI::ParseError& error) {
        std::cerr << oneLine(error.what()) << " (quillorb --help lists the options)" << std::endl;
        return Outcome::Refused;
    }
    if (!parser.checkValues())
        return Outcome::Refused;

    settings.clear();
    for (auto& slot : parser.slots) {
        if (slot->rule->kind != SettingKind::Switch)
            continue;
        for (const CLI::Option* given : parser.app.parse_order()) {
            if (given == slot->option)
                slot->text = "true";
            else if (given == slot->offOption)
                slot->text = "false";
        }
    }
    for (const auto& slot : parser.slots) {
        if (!slot->text.empty() || slot->option->count() > 0)
            settings.push_back({slot->rule, slot->text});
    }
    dataDir = parser.dataDir;
    recordFile = parser.recordFile;
    replayFile = parser.replayFile;
    timedemoFile = parser.timedemoFile;
    writeSettings = parser.writeSettings;
    return Outcome::Run;
}

void CommandLine::applyTo(GameOptions& options) const {
    for (const GivenSetting& given : settings) {
        given.rule->store(options, given.text);
        options.commandLineKeys.insert(given.rule->key);
    }
    if (!dataDir.empty())
        options.dataDir = absolutePath(dataDir);
    if (!recordFile.empty())
        options.recordFile = absolutePath(recordFile);
    if (!replayFile.empty())
        options.replayFile = replayPath(replayFile);
    if (!timedemoFile.empty())
        options.timedemoFile = replayPath(timedemoFile);
}
