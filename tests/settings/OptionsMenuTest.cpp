#include <gtest/gtest.h>

#include <string>

#include "PrintedOutput.h"
#include "ProgramArguments.h"
#include "ReadFile.h"
#include "TestFiles.h"
#include "settings/CommandLine.h"
#include "settings/OptionsMenu.h"
#include "settings/SettingsFile.h"

namespace {

using Line = OptionsMenu::Line;

// The player's file, then the command line over it, as start-up reads them.
GameOptions startedWith(const std::string& settingsFile, std::vector<std::string> words) {
    GameOptions options;
    readSettingsFile(settingsFile, options);
    ProgramArguments arguments(std::move(words));
    CommandLine commandLine;
    printedBy([&] { commandLine.parse(arguments.count(), arguments.values()); });
    commandLine.applyTo(options);
    return options;
}

} // namespace

// --music-volume holds for the run: the menu shows it as the command line's, will not move it,
// and saving what the player did change leaves the file's own music line as he wrote it.
TEST(OptionsMenu, ACommandLineValueIsShownAsSuchAndNeverWritten) {
    const std::string hand = "music_volume = 0.9  # quiet evenings\nsound_volume = 0.3\n";
    const std::string path = writeScratchFile("menu-settings/by-hand.toml", hand);
    OptionsMenu menu(startedWith(path, {"--music-volume", "0.5"}), false);
    EXPECT_EQ(menu.value(Line::MusicVolume), "50 % (from the command line)");
    EXPECT_FALSE(menu.change(Line::MusicVolume, -1));
    EXPECT_EQ(menu.options().musicVolume, 0.5);

    EXPECT_TRUE(menu.change(Line::SoundVolume, 1));
    EXPECT_EQ(menu.changedKeys(), std::vector<std::string>{"sound_volume"});
    EXPECT_EQ(saveSettings(path, menu.options(), menu.changedKeys()), "");
    EXPECT_EQ(readFile(path), "music_volume = 0.9  # quiet evenings\nsound_volume = 0.4\n");
}

// Where a changed setting goes in the player's file: his own line keeps its note, a line left
// commented out becomes the setting, a file without one gets it before its first table; every
// other line stays as it was.
TEST(OptionsMenu, SavingChangesOnlyTheChangedSettingsLine) {
    const struct {
        const char* name;
        const char* before;
        const char* after;
    } rows[] = {
        {"own line", "# mine\nvsync = false # tearing\nwidth = 800\n",
         "# mine\nvsync = true # tearing\nwidth = 800\n"},
        {"commented out", "# Wait for the refresh\n# vsync = false\nwidth = 800\n",
         "# Wait for the refresh\nvsync = true\nwidth = 800\n"},
        {"absent", "width = 800\n[extra]\nx = 1\n",
         "width = 800\n\n# Wait for the display's refresh before each new frame\nvsync = true\n"
         "[extra]\nx = 1\n"},
    };
    for (const auto& row : rows) {
        const std::string path =
            writeScratchFile(std::string("menu-settings/") + row.name + ".toml", row.before);
        GameOptions options;
        options.vsync = true;
        options.musicVolume = 0.2;
        EXPECT_EQ(saveSettings(path, options, {"vsync"}), "") << row.name;
        EXPECT_EQ(readFile(path), row.after) << row.name;
    }
}
