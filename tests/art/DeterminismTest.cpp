// Two runs of the generator write byte-identical art files and desktop icons.
#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "ArtFiles.h"
#include "TestFiles.h"

TEST(ArtDeterminism, TwoRunsWriteTheSameBytes) {
    const char* generator = std::getenv("QUILLORB_LEVELGEN");
    if (!generator || !*generator)
        GTEST_SKIP() << "QUILLORB_LEVELGEN does not name the generator";
    std::string dirs[2] = {scratchDir() + "/art-run-1", scratchDir() + "/art-run-2"};
    for (const std::string& dir : dirs) {
        std::filesystem::create_directories(dir);
        std::string command = std::string("\"") + generator + "\" \"" + dir + "\" --icons \"" +
                              dir + "/icons\" > /dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    for (const std::string& file : generatedArtFiles()) {
        std::vector<unsigned char> first = readBytes(dirs[0] + "/" + file);
        std::vector<unsigned char> second = readBytes(dirs[1] + "/" + file);
        EXPECT_FALSE(first.empty()) << file;
        EXPECT_TRUE(first == second) << file;
    }
    for (const char* size : {"16x16", "48x48", "256x256"}) {
        std::string icon = std::string("/icons/hicolor/") + size + "/apps/quillorb.png";
        std::vector<unsigned char> first = readBytes(dirs[0] + icon);
        EXPECT_FALSE(first.empty()) << icon;
        EXPECT_TRUE(first == readBytes(dirs[1] + icon)) << icon;
    }
}
