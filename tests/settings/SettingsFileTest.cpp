#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "GameOptionsComparison.h"
#include "PrintedOutput.h"
#include "ReadFile.h"
#include "TestFiles.h"
#include "TextCounts.h"
#include "settings/GameOptions.h"
#include "settings/SettingsFile.h"

namespace fs = std::filesystem;

namespace {

struct Read {
    GameOptions options;
    std::string output;
};

Read readSettings(const std::string& name, const std::string& text) {
    std::string path = writeScratchFile("settings/" + name, text);
    Read read;
    read.output = printedBy([&] { readSettingsFile(path, read.options); });
    EXPECT_EQ(readFile(path), text) << "the game changed the player's file";
    return read;
}

TEST(SettingsFile, ABrokenFileWarnsWithItsLineAndKeepsEveryDefault) {
    // The first line alone would be fine; a file that is not TOML is not half read.
    Read read = readSettings("broken.toml", "width = 800\nvsync = true\nheight = = 3\n");
    EXPECT_NE(read.output.find("broken.toml line 3: "), std::string::npos) << read.output;
    EXPECT_NE(read.output.find("using the default settings"), std::string::npos);
    EXPECT_EQ(lineCount(read.output), 1) << read.output;
    EXPECT_EQ(read.options, GameOptions());

    Read missing;
    EXPECT_EQ(
        printedBy([&] { readSettingsFile(scratchDir() + "/settings/none.toml", missing.options); }),
        "");
    EXPECT_EQ(missing.options, GameOptions());
}

TEST(SettingsFile, ABadValueOrUnknownKeyWarnsByLineAndOnlyThatKeyKeepsItsDefault) {
    Read read = readSettings("values.toml", "width = 800\n"
                                            "shadow_map = 1000\n"
                                            "samples = \"4\"\n"
                                            "colour = \"red\"\n"
                                            "fullscreen = true\n"
                                            "music_volume = 1.5\n"
                                            "mipmaps = \"nearest\"\n");
    EXPECT_EQ(read.options.width, 800);
    EXPECT_TRUE(read.options.fullscreen);
    EXPECT_EQ(read.options.mipmapMode, 1);
    EXPECT_EQ(read.options.shadowMapSize, 8192);
    EXPECT_EQ(read.options.samples, 4);
    EXPECT_EQ(read.options.musicVolume, 1.0);
    std::string path = scratchDir() + "/settings/values.toml";
    EXPECT_EQ(read.output,
              "Warning: " + path +
                  " line 2: shadow_map must be a power of two from 512 to 8192 (got 1000); "
                  "keeping 8192\n"
                  "Warning: " +
                  path + " line 3: samples must be 0, 2, 4 or 8 (got \"4\"); keeping 4\n" +
                  "Warning: " + path + " line 4: unknown setting \"colour\" ignored\n" +
                  "Warning: " + path +
                  " line 6: music_volume must be a number from 0.0 to 1.0 (got 1.5); keeping "
                  "1.0\n");
}

TEST(SettingsFile, XdgConfigHomeCountsOnlyWhenAbsolute) {
    EXPECT_EQ(settingsFilePath("/x/config", "/home/p"), "/x/config/quillorb/settings.toml");
    EXPECT_EQ(settingsFilePath("relative", "/home/p"), "/home/p/.config/quillorb/settings.toml");
    EXPECT_EQ(settingsFilePath("", "/home/p"), "/home/p/.config/quillorb/settings.toml");
    EXPECT_EQ(settingsFilePath(nullptr, "/home/p"), "/home/p/.config/quillorb/settings.toml");
    EXPECT_EQ(settingsFilePath(nullptr, nullptr), "");
    EXPECT_EQ(settingsFilePath("", ""), "");
}

TEST(SettingsFile, AWrittenFileReadsBackAsTheSameSettingsAndIsNeverOverwritten) {
    GameOptions chosen;
    chosen.width = 1920;
    chosen.height = 1080;
    chosen.fullscreen = true;
    chosen.vsync = true;
    chosen.samples = 0;
    chosen.shadowMapSize = 2048;
    chosen.waterMapSize = 256;
    chosen.bilinearFiltering = false;
    chosen.mipmapMode = 0;
    chosen.musicVolume = 1.0 / 3.0;
    chosen.qualityAuto = false;
    chosen.quality = QualityRung::Medium;
    chosen.renderScale = 0.75;
    chosen.pinnedAspects = ~0u;
    chosen.soundVolume = 0.0;
    chosen.ghost = "/races/\"fast\" \\ one.qbr";
    // Over the file a first start left, which holds nothing of the player's.
    std::string path =
        writeScratchFile("written/quillorb/settings.toml", commentedSettingsText(GameOptions()));

    EXPECT_EQ(printedBy([&] { EXPECT_EQ(writeSettingsFile(path, chosen), 0); }),
              "Settings written to " + path + "\n");

    GameOptions read;
    EXPECT_EQ(printedBy([&] { readSettingsFile(path, read); }), "");
    // Reading pins the aspects the file sets, not every bit chosen held: the values are this
    // test's question, the pinning is not.
    GameOptions expected = chosen;
    expected.pinnedAspects = read.pinnedAspects;
    EXPECT_EQ(read, expected);

    std::string before = readFile(path);
    std::string refusal = printedBy([&] { EXPECT_EQ(writeSettingsFile(path, GameOptions()), 2); });
    EXPECT_EQ(refusal.rfind("--write-settings: " + path + " already exists", 0), 0u) << refusal;
    EXPECT_EQ(lineCount(refusal), 1);
    EXPECT_EQ(readFile(path), before);
}

} // namespace
