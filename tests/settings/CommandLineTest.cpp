#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "PrintedOutput.h"
#include "ProgramArguments.h"
#include "ScopedWorkingDirectory.h"
#include "TestFiles.h"
#include "TextCounts.h"
#include "settings/CommandLine.h"
#include "settings/GameOptions.h"

namespace {

struct Parsed {
    CommandLine::Outcome outcome;
    std::string output;
    GameOptions options;
};

Parsed parse(std::vector<std::string> words) {
    ProgramArguments arguments(std::move(words));
    CommandLine commandLine;
    Parsed parsed{CommandLine::Outcome::Run, "", GameOptions()};
    parsed.output = printedBy(
        [&] { parsed.outcome = commandLine.parse(arguments.count(), arguments.values()); });
    commandLine.applyTo(parsed.options);
    return parsed;
}

// Each numbered option at both ends of its range, and just past them.
struct Range {
    const char* option;
    std::vector<const char*> accepted;
    std::vector<const char*> refused;
    const char* rule;
    std::function<double(const GameOptions&)> value;
};

TEST(CommandLine, EveryValueOptionTakesItsEdgesAndRefusesPastThemWithOneLine) {
    const std::vector<Range> ranges = {
        {"--width",
         {"320", "16384"},
         {"319", "16385", "1e3", "wide"},
         "must be a whole number from 320 to 16384",
         [](auto& o) { return o.width; }},
        {"--height",
         {"240", "16384"},
         {"239", "16385", "-768"},
         "must be a whole number from 240 to 16384",
         [](auto& o) { return o.height; }},
        {"--samples",
         {"0", "2", "8"},
         {"1", "3", "16"},
         "must be 0, 2, 4 or 8",
         [](auto& o) { return o.samples; }},
        {"--shadow-map",
         {"512", "8192"},
         {"256", "1000", "16384"},
         "must be a power of two from 512 to 8192",
         [](auto& o) { return o.shadowMapSize; }},
        {"--water-map",
         {"128", "1024"},
         {"64", "1000", "2048"},
         "must be a power of two from 128 to 1024",
         [](auto& o) { return o.waterMapSize; }},
        {"--anisotropy",
         {"0", "1", "16"},
         {"3", "32", "-1"},
         "must be 0 (the driver's maximum), 1, 2, 4, 8 or 16",
         [](auto& o) { return o.anisotropy; }},
        {"--music-volume",
         {"0", "1.0", "0.25"},
         {"-0.01", "1.01", "nan"},
         "must be a number from 0.0 to 1.0",
         [](auto& o) { return o.musicVolume; }},
        {"--target-fps",
         {"10", "240"},
         {"9", "241", "30.5"},
         "must be a whole number from 10 to 240",
         [](auto& o) { return o.targetFps; }},
        {"--render-scale",
         {"0.5", "1", "0.75"},
         {"0.49", "1.01", "nan"},
         "must be a number from 0.5 to 1.0",
         [](auto& o) { return o.renderScale; }},
        {"--sound-volume",
         {"0.0", "1", "0.5"},
         {"-1", "2", "loud"},
         "must be a number from 0.0 to 1.0",
         [](auto& o) { return o.soundVolume; }},
    };
    for (const Range& range : ranges) {
        for (const char* text : range.accepted) {
            Parsed parsed = parse({range.option, text});
            EXPECT_EQ(parsed.outcome, CommandLine::Outcome::Run) << range.option << " " << text;
            EXPECT_EQ(parsed.output, "");
            EXPECT_DOUBLE_EQ(range.value(parsed.options), std::stod(text)) << range.option;
        }
        for (const char* text : range.refused) {
            Parsed parsed = parse({range.option, text});
            EXPECT_EQ(parsed.outcome, CommandLine::Outcome::Refused) << range.option << text;
            EXPECT_EQ(parsed.output,
                      std::string(range.option) + ": " + range.rule + " (got " + text + ")\n");
        }
    }

    Parsed words = parse({"--texture-filter", "nearest", "--mipmaps", "off"});
    EXPECT_EQ(words.outcome, CommandLine::Outcome::Run);
    EXPECT_FALSE(words.options.bilinearFiltering);
    EXPECT_EQ(words.options.mipmapMode, 0);
    EXPECT_EQ(parse({"--mipmaps", "nearest"}).options.mipmapMode, 1);
    EXPECT_EQ(parse({"--mipmaps", "Linear"}).output,
              "--mipmaps: must be off, nearest or linear (got Linear)\n");
    EXPECT_EQ(parse({"--texture-filter", "trilinear"}).output,
              "--texture-filter: must be bilinear or nearest (got trilinear)\n");
    // What the player gives is his, even at the default's value; the rest is quality's.
    Parsed low = parse({"--quality", "low", "--samples", "4"});
    EXPECT_TRUE(!low.options.qualityAuto && low.options.quality == QualityRung::Low);
    EXPECT_EQ(low.options.pinnedAspects, QualitySettings::samplesBit);
    const std::filesystem::path here = std::filesystem::current_path();
    EXPECT_EQ(parse({"--ghost", "off"}).options.ghost, "off");
    EXPECT_EQ(parse({"--ghost", "runs/a.qbr"}).options.ghost, (here / "runs/a.qbr").string());
    EXPECT_EQ(parse({"--ghost", ""}).output,
              "--ghost: must be best, off or a replay file (got )\n");
    EXPECT_EQ(parse({"--quality", "Auto"}).output,
              "--quality: must be auto, full, high, medium or low (got Auto)\n");
}

TEST(CommandLine, UnknownOptionsMissingValuesAndReplayWithTimedemoAreOneLineRefusals) {
    const std::vector<std::vector<std::string>> refused = {
        {"--colour", "red"}, {"--width"},
        {"stray"},           {"-x"},
        {"--data", ""},      {"--replay", "a.rec", "--timedemo", "b.rec"},
    };
    for (const auto& words : refused) {
        Parsed parsed = parse(words);
        EXPECT_EQ(parsed.outcome, CommandLine::Outcome::Refused) << words[0];
        EXPECT_EQ(lineCount(parsed.output), 1) << parsed.output;
        EXPECT_NE(parsed.output.find(words[0]), std::string::npos) << parsed.output;
    }
    EXPECT_NE(parse(refused.back()).output.find("--timedemo"), std::string::npos);
    EXPECT_EQ(parse({"--replay", "a.rec", "--record", "b.rec"}).outcome, CommandLine::Outcome::Run);
}

TEST(CommandLine, HelpAndVersionEndTheProgramAndNoOptionsMeansTodaysGame) {
    Parsed version = parse({"--version"});
    EXPECT_EQ(version.outcome, CommandLine::Outcome::Done);
    EXPECT_EQ(version.output, "Quillorb 3D " QUILLORB_VERSION "\n");

    Parsed help = parse({"--help"});
    EXPECT_EQ(help.outcome, CommandLine::Outcome::Done);
    for (const char* option :
         {"--data", "--record", "--replay", "--timedemo", "--shadow-map", "--water-map",
          "--samples", "--anisotropy", "--width", "--height", "--fullscreen", "--vsync",
          "--write-settings", "settings.toml", "QUILLORB_DATA"})
        EXPECT_NE(help.output.find(option), std::string::npos) << option;

    Parsed none = parse({});
    EXPECT_EQ(none.outcome, CommandLine::Outcome::Run);
    EXPECT_EQ(none.output, "");
    EXPECT_EQ(none.options.width, 1024);
    EXPECT_EQ(none.options.height, 768);
    EXPECT_EQ(none.options.samples, 4);
    EXPECT_EQ(none.options.shadowMapSize, 8192);
    EXPECT_EQ(none.options.waterMapSize, 512);
    EXPECT_FALSE(none.options.fullscreen);
    EXPECT_FALSE(none.options.vsync);
    EXPECT_TRUE(none.options.bilinearFiltering);
    EXPECT_EQ(none.options.mipmapMode, 2);
    EXPECT_EQ(none.options.anisotropy, 0);
    EXPECT_EQ(none.options.musicVolume, 1.0);
    EXPECT_TRUE(none.options.qualityAuto);
    EXPECT_EQ(none.options.pinnedAspects, 0u);
    EXPECT_EQ(none.options.soundVolume, 1.0);
    EXPECT_EQ(none.options.ghost, "best");
    EXPECT_EQ(none.options.dataDir, "");
}

TEST(CommandLine, TheLaterOfTwoValuesWinsAndPathsBecomeAbsoluteHere) {
    Parsed parsed =
        parse({"--width", "800", "--width=1280", "--fullscreen", "--windowed", "--no-vsync",
               "--vsync", "--record", "runs/one.rec", "--replay", "../two.rec", "--data", "tree/"});
    ASSERT_EQ(parsed.outcome, CommandLine::Outcome::Run) << parsed.output;
    EXPECT_EQ(parsed.options.width, 1280);
    EXPECT_FALSE(parsed.options.fullscreen);
    EXPECT_TRUE(parsed.options.vsync);
    std::filesystem::path here = std::filesystem::current_path();
    EXPECT_EQ(parsed.options.recordFile, (here / "runs/one.rec").string());
    EXPECT_EQ(parsed.options.replayFile, (here.parent_path() / "two.rec").string());
    EXPECT_EQ(parsed.options.dataDir, (here / "tree/").string());
    EXPECT_EQ(parse({"--timedemo", "/abs/demo.rec"}).options.timedemoFile, "/abs/demo.rec");
}

// "--replay demo" is the installed demo's name unless the start folder holds a file "demo";
// a folder or an extension makes it a path.
TEST(CommandLine, AReplayWithoutFolderOrExtensionStaysANameUnlessSuchAFileIsHere) {
    const std::filesystem::path here =
        std::filesystem::path(writeScratchFile("mine", "")).parent_path();
    ScopedWorkingDirectory inHere(here);
    EXPECT_EQ(parse({"--replay", "demo"}).options.replayFile, "demo");
    EXPECT_EQ(parse({"--timedemo", "demo"}).options.timedemoFile, "demo");
    for (const char* path : {"mine", "demo.qbr", "replays/demo", "./demo"})
        EXPECT_EQ(parse({"--replay", path}).options.replayFile,
                  (here / path).lexically_normal().string())
            << path;
}

} // namespace
