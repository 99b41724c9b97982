#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "PrintedOutput.h"
#include "ReadFile.h"
#include "ScopedEnvironment.h"
#include "TextCounts.h"
#include "session/BestTimes.h"
#include "support/TestFiles.h"

namespace fs = std::filesystem;

namespace {

BestTimes::Date day(int d) {
    return {2025, 3, d};
}

} // namespace

TEST(BestTimes, TheFiveFastestAreKeptInOrderWithTheirDatesAcrossRuns) {
    const std::string path = scratchDir() + "/kept/new/folders/best-times.toml";
    BestTimes times(path);
    times.load();
    EXPECT_TRUE(times.entries().empty());

    EXPECT_EQ(1, times.record(70.0, day(1)));
    EXPECT_EQ(1, times.record(65.5, day(2)));
    EXPECT_EQ(3, times.record(80.004, day(3))) << "kept in hundredths";
    EXPECT_EQ(2, times.record(65.5, day(4))) << "a tie ranks behind the earlier race";
    EXPECT_EQ(5, times.record(90.0, day(5)));
    EXPECT_EQ(0, times.record(95.0, day(6))) << "a sixth, slower race is not kept";
    EXPECT_EQ(1, times.record(60.123, day(7)));
    ASSERT_EQ(5u, times.entries().size()) << "the slowest of six goes";
    EXPECT_DOUBLE_EQ(80.0, times.entries().back().seconds);
    EXPECT_EQ(0, times.record(-1.0, day(8)));
    EXPECT_EQ(0, times.record(50.0, {2025, 2, 29})) << "not a day of the calendar";
    ASSERT_TRUE(times.save());
    EXPECT_FALSE(fs::exists(path + ".tmp"));

    const std::string text = readFile(path);
    EXPECT_NE(text.find("[[best]]"), std::string::npos) << text;
    EXPECT_NE(text.find("seconds = 60.12\n"), std::string::npos) << text;
    EXPECT_NE(text.find("date = 2025-03-07\n"), std::string::npos) << text;

    BestTimes again(path);
    again.load();
    const double seconds[] = {60.12, 65.5, 65.5, 70.0, 80.0};
    const int days[] = {7, 2, 4, 1, 3};
    ASSERT_EQ(5u, again.entries().size());
    for (int i = 0; i < 5; ++i) {
        EXPECT_DOUBLE_EQ(seconds[i], again.entries()[i].seconds) << i;
        EXPECT_TRUE(day(days[i]) == again.entries()[i].date) << i;
    }

    // A file put together by hand is put in order and cut to five.
    writeScratchFile("kept/by-hand.toml", "[[best]]\nseconds = 99\ndate = 2024-01-01\n"
                                          "[[best]]\nseconds = 42.5\ndate = 2024-01-02\n"
                                          "[[best]]\nseconds = 50\ndate = 2024-01-03\n"
                                          "[[best]]\nseconds = 51\ndate = 2024-01-04\n"
                                          "[[best]]\nseconds = 52\ndate = 2024-01-05\n"
                                          "[[best]]\nseconds = 53\ndate = 2024-01-06\n");
    BestTimes byHand(scratchDir() + "/kept/by-hand.toml");
    byHand.load();
    ASSERT_EQ(5u, byHand.entries().size());
    EXPECT_DOUBLE_EQ(42.5, byHand.entries()[0].seconds);
    EXPECT_DOUBLE_EQ(53.0, byHand.entries()[4].seconds);
    EXPECT_EQ(2, byHand.entries()[0].date.day);
}

TEST(BestTimes, ADamagedFileIsKeptAsideWithAWarningAndTheListStartsAfresh) {
    const std::string damaged[] = {
        "[[best]\nseconds = 61.0\n",
        "best = 61.0\n",
        "[[best]]\nseconds = -3.0\ndate = 2025-01-01\n",
        "[[best]]\nseconds = 61.0\ndate = \"yesterday\"\n",
        std::string("\x00\xff\xfe junk", 8),
    };
    for (const std::string& content : damaged) {
        const std::string path = writeScratchFile(
            "damaged/" + std::to_string(&content - damaged) + "/best-times.toml", content);
        BestTimes times(path);
        const std::string output = printedBy([&] { times.load(); });
        EXPECT_EQ(1, lineCount(output)) << output;
        EXPECT_NE(output.find("kept it as " + path + ".bad"), std::string::npos) << output;
        EXPECT_EQ(content, readFile(path + ".bad"));
        EXPECT_FALSE(fs::exists(path));
        EXPECT_TRUE(times.entries().empty());

        EXPECT_EQ(1, times.record(61.0, day(9)));
        ASSERT_TRUE(times.save());
        BestTimes fresh(path);
        fresh.load();
        ASSERT_EQ(1u, fresh.entries().size()) << readFile(path);
        EXPECT_DOUBLE_EQ(61.0, fresh.entries()[0].seconds);
    }
}

TEST(BestTimes, UnreadableEntriesGoTheRestStayAndEachDamagedFileKeepsItsOwnName) {
    const std::string damaged = "[[best]]\nseconds = 50.5\ndate = 2025-01-01\n"
                                "[[best]]\nseconds = nan\ndate = 2025-01-02\n"
                                "[[best]]\nseconds = -4.0\ndate = 2025-01-03\n"
                                "[[best]]\ndate = 2025-01-04\n"
                                "[[best]]\nseconds = 40.25\ndate = \"today\"\n"
                                "[[best]]\nseconds = 45.0\ndate = 2025-01-06\n";
    const std::string path = writeScratchFile("twice/best-times.toml", damaged);
    writeScratchFile("twice/best-times.toml.bad", "an earlier damaged file");
    BestTimes times(path);
    const std::string output = printedBy([&] { times.load(); });
    EXPECT_EQ(1, lineCount(output)) << output;
    EXPECT_NE(output.find("kept it as " + path + ".bad.1"), std::string::npos) << output;
    EXPECT_EQ("an earlier damaged file", readFile(path + ".bad"));
    EXPECT_EQ(damaged, readFile(path + ".bad.1"));
    BestTimes reread(path);
    reread.load();
    for (const BestTimes* list : {&times, &reread}) {
        ASSERT_EQ(2u, list->entries().size());
        EXPECT_DOUBLE_EQ(45.0, list->entries()[0].seconds);
        EXPECT_DOUBLE_EQ(50.5, list->entries()[1].seconds);
    }
}

TEST(BestTimes, AFolderThatCannotBeWrittenCostsAWarningAndTheGameGoesOn) {
    // A file where the folder should be: no one, root included, can make the folder.
    const std::string blocker = writeScratchFile("blocked", "a file, not a folder");
    BestTimes times(blocker + "/quillorb/best-times.toml");
    times.load();
    EXPECT_EQ(1, times.record(75.0, day(10)));
    const std::string output = printedBy([&] { EXPECT_FALSE(times.save()); });
    EXPECT_EQ(1, lineCount(output)) << output;
    EXPECT_NE(output.find("could not be saved"), std::string::npos) << output;
    EXPECT_EQ(1u, times.entries().size()) << "the list lives on in memory";
    EXPECT_EQ("a file, not a folder", readFile(blocker));

    // What cannot be read is never written over.
    const std::string folder = scratchDir() + "/a-folder.toml";
    fs::create_directories(folder + "/inside");
    BestTimes unreadable(folder);
    capturePrinted();
    unreadable.load();
    EXPECT_EQ(1, unreadable.record(75.0, day(10)));
    EXPECT_FALSE(unreadable.save());
    const std::string warning = takePrinted();
    EXPECT_EQ(1, lineCount(warning)) << warning;
    EXPECT_TRUE(fs::is_directory(folder + "/inside"));
}

// The disk fills up halfway through a save: the file under its own name is still the old,
// whole one, and no temporary file is left behind.
TEST(BestTimes, ASaveCutShortLeavesTheOldFileWhole) {
    const std::string path = scratchDir() + "/cut/best-times.toml";
    BestTimes times(path);
    times.load();
    times.record(61.0, day(11));
    ASSERT_TRUE(times.save());
    const std::string before = readFile(path);
    for (double seconds : {62.0, 63.0, 64.0, 65.0})
        times.record(seconds, day(12));

    BestTimes full(scratchDir() + "/cut-size/best-times.toml");
    for (const BestTimes::Entry& entry : times.entries())
        full.record(entry.seconds, entry.date);
    ASSERT_TRUE(full.save());
    const rlim_t fullSize = fs::file_size(full.path());
    ASSERT_GT(fullSize, before.size() + 100);

    rlimit saved{};
    ASSERT_EQ(0, getrlimit(RLIMIT_FSIZE, &saved));
    rlimit cut = saved;
    cut.rlim_cur = (before.size() + fullSize) / 2;
    // Past the limit a write fails with EFBIG instead of ending the process.
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    capturePrinted();
    ASSERT_EQ(0, setrlimit(RLIMIT_FSIZE, &cut));
    const bool savedAll = times.save();
    setrlimit(RLIMIT_FSIZE, &saved);
    const std::string output = takePrinted();
    std::signal(SIGXFSZ, previous);

    EXPECT_FALSE(savedAll);
    EXPECT_NE(output.find("could not be saved"), std::string::npos) << output;
    EXPECT_EQ(before, readFile(path));
    EXPECT_FALSE(fs::exists(path + ".tmp"));

    ASSERT_TRUE(times.save());
    BestTimes again(path);
    again.load();
    EXPECT_EQ(5u, again.entries().size());
}

TEST(BestTimes, TheFileLivesInTheUsersDataFolder) {
    ScopedEnvironment dataHome("XDG_DATA_HOME", "/data/home");
    ScopedEnvironment home("HOME", "/home/player");
    EXPECT_EQ("/data/home/quillorb/best-times.toml", BestTimes::defaultPath());
    dataHome.set("relative/is/ignored");
    EXPECT_EQ("/home/player/.local/share/quillorb/best-times.toml", BestTimes::defaultPath());
    dataHome.set("");
    EXPECT_EQ("/home/player/.local/share/quillorb/best-times.toml", BestTimes::defaultPath());
    dataHome.set(nullptr);
    home.set(nullptr);
    EXPECT_EQ("", BestTimes::defaultPath());
}
