#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "PrintedOutput.h"
#include "TestFiles.h"
#include "settings/DataDirectory.h"

namespace fs = std::filesystem;

namespace {

const char* const treeFiles[4] = {"shader/simple_shader.vert", "texture/TestLoadingScreen.bmp",
                                  "models/Sphere.mesh.xml", "data/basicFont.fnt"};

// A folder with the four files the lookup checks, less the one to leave out.
std::string makeTree(const std::string& name, const char* leaveOut = nullptr) {
    fs::path dir = fs::path(scratchDir()) / "trees" / name;
    for (const char* file : treeFiles) {
        fs::create_directories((dir / file).parent_path());
        if (!leaveOut || std::string(file) != leaveOut)
            std::ofstream(dir / file) << "";
    }
    return dir.string();
}

std::string find(const DataPlaces& places, std::string* output = nullptr) {
    capturePrinted();
    std::string found = findDataDirectory(places);
    std::string printed = takePrinted();
    if (output)
        *output = printed;
    return found;
}

TEST(DataDirectory, TheFirstPlaceHoldingTheTreeWinsInOrder) {
    std::string option = makeTree("option");
    std::string environment = makeTree("environment");
    std::string installed = makeTree("installed");
    std::string working = makeTree("working");
    EXPECT_EQ(find({option, environment, installed, working}), option);
    EXPECT_EQ(find({"", environment, installed, working}), environment);
    EXPECT_EQ(find({"", "", installed, working}), installed);
    EXPECT_EQ(find({"", "", "", working}), working);

    // The real tree passes; a tree lacking any one of its four files is refused, naming the
    // folder and the file: the place the player named is not traded for another tree.
    EXPECT_TRUE(holdsDataTree(runDir()));
    for (const char* file : treeFiles) {
        std::string partial =
            makeTree(std::string("without-") + fs::path(file).stem().string(), file);
        EXPECT_FALSE(holdsDataTree(partial)) << file;
        std::string output;
        EXPECT_EQ(find({"", partial, installed, working}, &output), "") << file;
        EXPECT_EQ(output, "$QUILLORB_DATA " + partial + " does not hold the game's data (missing " +
                              file + ")\n");
        EXPECT_EQ(find({"", "", partial, ""}, &output), "") << file;
        EXPECT_EQ(output, "The game's data in " + partial + " (installed) is incomplete (missing " +
                              file + ")\n");
    }
}

TEST(DataDirectory, AReplayNameIsTheTreesOwnAndAPathStaysAsGiven) {
    EXPECT_EQ(replayInDataTree("demo", "/usr/share/games/quillorb"),
              "/usr/share/games/quillorb/replays/demo.qbr");
    EXPECT_TRUE(fs::is_regular_file(replayInDataTree("demo", runDir())));
    EXPECT_EQ(replayInDataTree("/home/p/race.qbr", "/tree"), "/home/p/race.qbr");
    EXPECT_EQ(replayInDataTree("", "/tree"), "");
}

TEST(DataDirectory, WithoutATreeAnywhereOneLineListsEveryPlaceLookedIn) {
    std::string output;
    std::string empty = (fs::path(scratchDir()) / "trees" / "empty").string();
    fs::create_directories(empty);
    EXPECT_EQ(find({"/no/such/option", "/no/such/environment", "", empty}, &output), "");
    EXPECT_EQ(output, "--data /no/such/option does not hold the game's data (no such folder)\n");
    EXPECT_EQ(find({"", "", "/no/such/installed", empty}, &output), "");
    EXPECT_EQ(output, "Could not find the game's data (shader/, texture/, models/, data/); looked "
                      "in: /no/such/installed (installed), " +
                          empty + " (working directory)\n");
    // The places that were not given are not listed as looked in.
    EXPECT_EQ(find({"", "", "", empty}, &output), "");
    EXPECT_EQ(output, "Could not find the game's data (shader/, texture/, models/, data/); looked "
                      "in: " +
                          empty + " (working directory)\n");
}

} // namespace
