#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "ReadFile.h"
#include "ScopedEnvironment.h"
#include "TestFiles.h"
#include "app/Timedemo.h"
#include "scene/Scene.h"
#include "session/BitPattern.h"
#include "session/GhostRace.h"
#include "session/LevelHash.h"
#include "session/Replay.h"
#include "session/ReplayFormat.h"
#include "session/ReplayReader.h"
#include "session/ReplayWriter.h"
#include "settings/UserDirectories.h"

namespace fs = std::filesystem;

namespace {

constexpr uint64_t levelHash = 0xfedcba9876543210ull;

// Keeps what the code under test prints, one entry per line.
struct CapturedConsole {
    std::ostringstream text;
    std::streambuf* savedOutput;
    std::streambuf* savedErrors;
    CapturedConsole()
        : savedOutput(std::cout.rdbuf(text.rdbuf())), savedErrors(std::cerr.rdbuf(text.rdbuf())) {}
    ~CapturedConsole() {
        std::cout.rdbuf(savedOutput);
        std::cerr.rdbuf(savedErrors);
    }
    std::vector<std::string> lines() const {
        std::vector<std::string> result;
        std::istringstream in(text.str());
        for (std::string line; std::getline(in, line);)
            result.push_back(line);
        return result;
    }
};

ReplayHeader testHeader() {
    ReplayHeader header;
    header.gameVersion = "9.8.7-test";
    header.levelHash = levelHash;
    header.simulationVersion = 1;
    header.course = "river-2";
    return header;
}

ReplayRecord frame(double frameTime, int keyMask, float stickX = 0.0f, float stickY = 0.0f) {
    ReplayRecord record;
    record.frameTime = frameTime;
    record.input.keyMask = keyMask;
    record.input.stickX = stickX;
    record.input.stickY = stickY;
    return record;
}

ReplayRecord event(ReplayRecord::Kind kind) {
    ReplayRecord record;
    record.kind = kind;
    return record;
}

ReplayRecord check(double raceTime, glm::vec3 at) {
    ReplayRecord record;
    record.kind = ReplayRecord::Kind::Check;
    record.raceTime = raceTime;
    record.position = at;
    return record;
}

ReplayRecord ending(ReplayRecord::Outcome outcome, double raceTime, int lives, glm::vec3 at) {
    ReplayRecord record = check(raceTime, at);
    record.kind = ReplayRecord::Kind::End;
    record.outcome = outcome;
    record.lives = lives;
    return record;
}

void record(ReplayWriter& writer, const ReplayRecord& record) {
    switch (record.kind) {
    case ReplayRecord::Kind::Frame:
        writer.frame(record.frameTime, record.input);
        break;
    case ReplayRecord::Kind::Pause:
        writer.pause();
        break;
    case ReplayRecord::Kind::Resume:
        writer.resume();
        break;
    case ReplayRecord::Kind::PlayAgain:
        writer.playAgain();
        break;
    case ReplayRecord::Kind::Check:
    case ReplayRecord::Kind::End:
        writer.check(record);
        break;
    }
}

// Frame times and sticks whose last bits a decimal or single-precision detour would lose.
std::vector<ReplayRecord> everyKindOfRecord() {
    return {frame(1.0 / 60.0, RaceInput::Forward, -1.0f, 1.0f),
            frame(std::nextafter(1.0 / 60.0, 1.0), RaceInput::Left | RaceInput::Back),
            frame(0.1, 15, 0.70710677f, -0.70710677f),
            event(ReplayRecord::Kind::Pause),
            event(ReplayRecord::Kind::Resume),
            frame(std::numeric_limits<double>::denorm_min(), 0,
                  std::numeric_limits<float>::denorm_min(), -0.0f),
            frame(-0.0, RaceInput::Right, std::nextafter(1.0f, 0.0f), 1.0001f),
            frame(DBL_EPSILON, 0),
            event(ReplayRecord::Kind::PlayAgain),
            frame(3600.0, RaceInput::Forward | RaceInput::Right, -1.0001f, 0.0f),
            check(1.0 + DBL_EPSILON, {-0.0f, std::numeric_limits<float>::denorm_min(), 1e30f}),
            frame(0.0, 0),
            ending(ReplayRecord::Outcome::GameOver, 0.0, 0, {1.0f, 2.0f, 3.0f}),
            ending(ReplayRecord::Outcome::Won, 86400.0, 99, {-FLT_MAX, 0.0f, FLT_MAX})};
}

void expectSameRecords(const std::vector<ReplayRecord>& expected,
                       const std::vector<ReplayRecord>& actual) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("record " + std::to_string(i + 1));
        EXPECT_EQ(actual[i].kind, expected[i].kind);
        EXPECT_EQ(bitsOf(actual[i].frameTime), bitsOf(expected[i].frameTime));
        EXPECT_EQ(actual[i].input.keyMask, expected[i].input.keyMask);
        EXPECT_EQ(bitsOf(actual[i].input.stickX), bitsOf(expected[i].input.stickX));
        EXPECT_EQ(bitsOf(actual[i].input.stickY), bitsOf(expected[i].input.stickY));
        EXPECT_EQ(bitsOf(actual[i].raceTime), bitsOf(expected[i].raceTime));
        for (int axis = 0; axis < 3; ++axis)
            EXPECT_EQ(bitsOf(actual[i].position[axis]), bitsOf(expected[i].position[axis]));
        EXPECT_EQ(actual[i].outcome, expected[i].outcome);
        EXPECT_EQ(actual[i].lives, expected[i].lives);
    }
}

std::string encoded(const ReplayHeader& header, const std::vector<ReplayRecord>& records) {
    std::string bytes = encodeReplayHeader(header);
    for (const ReplayRecord& record : records)
        bytes += encodeReplayRecord(record);
    return bytes;
}

// Reads a replay that must be refused; returns the one line, having checked its frame.
std::string refusal(const std::string& path, uint64_t expectedHash = levelHash) {
    Replay replay;
    replay.records.push_back(frame(1.0, 1));
    ReplayProblem problem;
    EXPECT_FALSE(ReplayReader().read(path, expectedHash, replay, problem));
    EXPECT_TRUE(replay.records.empty());
    const std::string line = problem.consoleLine(path);
    EXPECT_EQ(line.rfind("Replay \"" + path + "\" cannot be played: ", 0), 0u) << line;
    EXPECT_EQ(line.find('\n'), std::string::npos) << line;
    return line;
}

bool readsWhole(const std::string& path, Replay& replay, uint64_t expectedHash = levelHash) {
    ReplayProblem problem;
    const bool whole = ReplayReader().read(path, expectedHash, replay, problem);
    EXPECT_TRUE(whole) << problem.consoleLine(path);
    return whole;
}

} // namespace

TEST(Replay, EveryRecordKindComesBackBitForBit) {
    std::string path = scratchDir() + "/roundtrip/deeper/race.qbr";
    std::vector<ReplayRecord> records = everyKindOfRecord();
    {
        ReplayWriter writer;
        ASSERT_TRUE(writer.open(path, testHeader()));
        for (const ReplayRecord& each : records)
            record(writer, each);
        ASSERT_TRUE(writer.finish());
    }
    Replay replay;
    ASSERT_TRUE(readsWhole(path, replay));
    EXPECT_EQ(replay.header.formatVersion, 2);
    EXPECT_EQ(replay.header.gameVersion, "9.8.7-test");
    EXPECT_EQ(replay.header.levelHash, levelHash);
    EXPECT_EQ(replay.header.simulationVersion, 1);
    EXPECT_EQ(replay.header.course, "river-2");
    expectSameRecords(records, replay.records);
}

// 1.1.0's demo, of format 1, encodes back to its very bytes; it does not say its rules.
TEST(Replay, AFormatOneFileEncodesBackToItsOwnBytes) {
    const std::string path = QUILLORB_SOURCE_DIR "/tests/race/replays/demo-f267f2b.qbr";
    Replay replay;
    ASSERT_TRUE(readsWhole(path, replay, hashLevelData(runDir())));
    EXPECT_EQ(replay.header.formatVersion, 1);
    EXPECT_EQ(replay.header.simulationVersion, 0);
    EXPECT_EQ(encoded(replay.header, replay.records), readFile(path));
}

TEST(Replay, TheFileIsLittleEndianWhateverTheMachine) {
    ReplayHeader header;
    header.gameVersion = "1.2";
    header.levelHash = 0x0102030405060708ull;
    header.course = "a-1";
    std::string bytes =
        encoded(header, {frame(1.0, RaceInput::Forward | RaceInput::Right, 0.5f, -1.0f),
                         event(ReplayRecord::Kind::Pause), check(2.0, {1.0f, -2.0f, 0.5f}),
                         ending(ReplayRecord::Outcome::GameOver, 0.5, 3, {0.0f, 0.0f, 1.0f})});
    // clang-format off
    const unsigned char expected[] = {
        'Q', 'U', 'I', 'L', 'L', 'O', 'R', 'B', '-', 'R', 'E', 'P', 'L', 'A', 'Y', 0,
        2, 0,                                      // format version
        3, 0, '1', '.', '2',                       // game version
        8, 7, 6, 5, 4, 3, 2, 1,                    // level hash
        2, 0,                                      // simulation version
        3, 'a', '-', '1',                          // course
        1, 0, 0, 0, 0, 0, 0, 0xf0, 0x3f,           // a frame of 1.0 s
        9, 0, 0, 0, 0x3f, 0, 0, 0x80, 0xbf,        // W and D, stick (0.5, -1)
        2,                                         // pause
        5, 0, 0, 0, 0, 0, 0, 0, 0x40,              // a check at 2.0 s
        0, 0, 0x80, 0x3f, 0, 0, 0, 0xc0, 0, 0, 0, 0x3f, //   at (1, -2, 0.5)
        6, 2, 0, 0, 0, 0, 0, 0, 0xe0, 0x3f, 3,     // end: game over at 0.5 s, 3 lives
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80, 0x3f}; //   at (0, 0, 1)
    // clang-format on
    EXPECT_EQ(bytes, std::string(reinterpret_cast<const char*>(expected), sizeof expected));
}

TEST(Replay, OnlyThePartFileExistsUntilFinishRenamesIt) {
    std::string path = scratchDir() + "/part/last.qbr";
    std::string part = path + ".part";
    std::vector<ReplayRecord> older = {frame(0.5, 2)};
    {
        ReplayWriter writer;
        ASSERT_TRUE(writer.open(path, testHeader()));
        record(writer, older[0]);
        ASSERT_TRUE(writer.finish());
    }
    std::vector<ReplayRecord> records = everyKindOfRecord();
    Replay replay;
    {
        ReplayWriter writer;
        ASSERT_TRUE(writer.open(path, testHeader()));
        for (const ReplayRecord& each : records)
            record(writer, each);
        // Every record is on disk already, and the last finished replay is untouched.
        ASSERT_TRUE(readsWhole(part, replay));
        expectSameRecords(records, replay.records);
        ASSERT_TRUE(readsWhole(path, replay));
        expectSameRecords(older, replay.records);

        ASSERT_TRUE(writer.finish());
        EXPECT_FALSE(fs::exists(part));
        ASSERT_TRUE(readsWhole(path, replay));
        expectSameRecords(records, replay.records);
    }
    // Ended without finish(), as a crash would: the .part holds the race, the replay stays.
    {
        ReplayWriter writer;
        ASSERT_TRUE(writer.open(path, testHeader()));
        record(writer, older[0]);
    }
    ASSERT_TRUE(readsWhole(part, replay));
    expectSameRecords(older, replay.records);
    ASSERT_TRUE(readsWhole(path, replay));
    expectSameRecords(records, replay.records);
}

TEST(Replay, BadFilesAreRefusedInOneLineNamingTheFile) {
    std::string dir = scratchDir() + "/bad/";
    EXPECT_NE(refusal(dir + "missing.qbr").find("cannot be opened (No such file"),
              std::string::npos);
    fs::create_directories(dir + "folder.qbr");
    EXPECT_NE(refusal(dir + "folder.qbr").find("cannot be read"), std::string::npos);
    EXPECT_NE(refusal(writeScratchFile("bad/empty.qbr", "")).find("the file is empty"),
              std::string::npos);
    EXPECT_NE(refusal(writeScratchFile("bad/garbage.qbr", "<mesh>\n<sharedgeometry/>"))
                  .find("it is not a Quillorb replay"),
              std::string::npos);

    std::string whole = encoded(testHeader(), everyKindOfRecord());
    std::string otherVersion = whole;
    otherVersion[replayMagicBytes] = 3;
    EXPECT_NE(refusal(writeScratchFile("bad/version.qbr", otherVersion))
                  .find("it has replay format version 3; this game plays version 2"),
              std::string::npos);
    const std::string otherLevel = writeScratchFile("bad/level.qbr", whole);
    EXPECT_NE(refusal(otherLevel, levelHash ^ 1)
                  .find("it was recorded on another level (level data differs)"),
              std::string::npos);
    Replay replay;
    ReplayProblem problem; // in the pause menu's own words: no room for the path there
    ReplayReader().read(otherLevel, levelHash ^ 1, replay, problem);
    EXPECT_EQ(problem.menuLine(), "It was recorded on another level (level data differs)");
}

// What format 2 added to the header: the reader refuses what no game wrote, and the writer
// writes nothing the reader would refuse.
TEST(Replay, AHeaderWithRulesOrACourseNoGameHasIsRefused) {
    const struct {
        uint16_t simulationVersion;
        std::string course;
        const char* problem;
    } cases[] = {
        {0, "", "its header is damaged (simulation version 0)"},
        {3, "", "it was recorded under simulation version 3; this game runs versions 1 to 2"},
        {2, std::string(33, 'a'), "its header is damaged (a course name of 33 bytes)"},
        {2, "a River", "its header is damaged (a course name with characters other than"},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.problem);
        ReplayHeader header = testHeader();
        header.simulationVersion = each.simulationVersion;
        header.course = each.course;
        const std::string path =
            writeScratchFile("header/bad.qbr", encoded(header, {frame(0.1, 1)}));
        EXPECT_NE(refusal(path).find(each.problem), std::string::npos);
        CapturedConsole console;
        ReplayWriter writer;
        EXPECT_FALSE(writer.open(path + ".new", header));
    }
}

// A ghost is a nicety: a file that cannot be one costs a line, never the race.
TEST(Replay, AGhostThatCannotBePlayedIsNamedOnceAndLeftOut) {
    const struct {
        std::string choice;
        bool named;
    } cases[] = {
        {writeScratchFile("ghost/garbage.qbr", "<mesh/>"), true},
        {writeScratchFile("ghost/level.qbr", encoded(testHeader(), {})), true}, // another hash
        {scratchDir() + "/ghost/missing.qbr", true},
        {"off", false},
        {"best", false}, // no best race kept yet
    };
    Scene scene; // never started: nothing may need it
    for (const auto& each : cases) {
        GhostRace ghost(each.choice);
        ghost.setBestFile(scratchDir() + "/ghost/none/best.qbr");
        CapturedConsole console;
        ghost.load(scene);
        const std::vector<std::string> lines = console.lines();
        EXPECT_TRUE(ghost.track().empty()) << each.choice;
        ASSERT_EQ(lines.size(), each.named ? 1u : 0u) << each.choice;
        if (each.named) {
            EXPECT_NE(lines[0].find("\"" + each.choice + "\""), std::string::npos) << lines[0];
            EXPECT_NE(lines[0].find("without a ghost"), std::string::npos) << lines[0];
        }
    }
}

TEST(Replay, ACutFileIsTruncatedUnlessItEndsBetweenRecords) {
    std::vector<ReplayRecord> records = everyKindOfRecord();
    std::string header = encodeReplayHeader(testHeader());
    std::vector<size_t> recordEnds = {header.size()};
    for (const ReplayRecord& each : records)
        recordEnds.push_back(recordEnds.back() + encodeReplayRecord(each).size());
    std::string whole = encoded(testHeader(), records);
    ASSERT_EQ(whole.size(), recordEnds.back());

    // Every cut: inside the magic, the version, the game version, the hash, every record.
    for (size_t cut = 1; cut < whole.size(); ++cut) {
        SCOPED_TRACE("cut at byte " + std::to_string(cut));
        std::string path =
            writeScratchFile("cut/" + std::to_string(cut) + ".qbr", whole.substr(0, cut));
        size_t whole_records = 0;
        while (whole_records + 1 < recordEnds.size() && recordEnds[whole_records + 1] <= cut)
            ++whole_records;
        if (cut >= header.size() && recordEnds[whole_records] == cut) {
            Replay replay;
            ASSERT_TRUE(readsWhole(path, replay));
            expectSameRecords(
                std::vector<ReplayRecord>(records.begin(), records.begin() + whole_records),
                replay.records);
        } else {
            std::string where =
                cut < header.size() ? "its header" : "record " + std::to_string(whole_records + 1);
            EXPECT_NE(refusal(path).find("it is truncated: the file ends inside " + where),
                      std::string::npos);
        }
    }
}

TEST(Replay, RecordsNoRaceCouldMakeAreRefused) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    const float nanF = std::numeric_limits<float>::quiet_NaN();
    const glm::vec3 origin(0.0f);
    struct Case {
        ReplayRecord record;
        const char* problem;
    } cases[] = {
        {frame(-1e-9, 0), "record 3 is impossible: frame time -1e-09 s is not between 0 and"},
        {frame(nan, 0), "record 3 is impossible: frame time nan s"},
        {frame(infinity, 0), "record 3 is impossible: frame time inf s"},
        {frame(3600.5, 0), "record 3 is impossible: frame time 3600.5 s"},
        {frame(0.01, 16), "record 3 is impossible: key mask 16 has bits beyond W, A, S and D"},
        {frame(0.01, 0, nanF, 0.0f), "record 3 is impossible: stick (nan, 0) is not finite"},
        {frame(0.01, 0, 0.0f, -INFINITY), "record 3 is impossible: stick (0, -inf) is not"},
        {frame(0.01, 0, 0.0f, 1.01f), "record 3 is impossible: stick (0, 1.01) is beyond -1"},
        {event(static_cast<ReplayRecord::Kind>(7)), "record 3 is of unknown kind 7"},
        {event(static_cast<ReplayRecord::Kind>(0)), "record 3 is of unknown kind 0"},
        {check(-1e-9, origin), "record 3 is impossible: race time -1e-09 s is not between 0 and"},
        {check(nan, origin), "record 3 is impossible: race time nan s"},
        {check(1.0, {0.0f, nanF, 0.0f}), "record 3 is impossible: marble position (0, nan, 0)"},
        {ending(static_cast<ReplayRecord::Outcome>(4), 1.0, 3, origin), "impossible: outcome 4"},
        {ending(ReplayRecord::Outcome::Quit, 1.0, 100, origin), "impossible: spare lives 100"},
    };
    int index = 0;
    for (const Case& each : cases) {
        SCOPED_TRACE(each.problem);
        std::string path = writeScratchFile(
            "impossible/" + std::to_string(index++) + ".qbr",
            encoded(testHeader(), {frame(0.01, 1), event(ReplayRecord::Kind::Pause), each.record,
                                   frame(0.01, 1)}));
        EXPECT_NE(refusal(path).find(each.problem), std::string::npos);
    }

    // A hostile game version length is refused before anything is sized by it.
    std::string longVersion = encodeReplayHeader(testHeader()).substr(0, replayMagicBytes + 2);
    longVersion += std::string("\xff\xff", 2) + std::string(70000, 'x');
    EXPECT_NE(refusal(writeScratchFile("impossible/version.qbr", longVersion))
                  .find("its header is damaged (a game version of 65535 bytes)"),
              std::string::npos);
}

TEST(Replay, AnUnwritableFolderWarnsAndTheGamePlaysOn) {
    std::string blocker = writeScratchFile("unwritable/not-a-folder", "x");
    std::string path = blocker + "/replays/last.qbr";
    CapturedConsole console;
    ReplayWriter writer;
    EXPECT_FALSE(writer.open(path, testHeader()));
    EXPECT_FALSE(writer.isRecording());
    writer.frame(0.02, RaceInput());
    writer.pause();
    EXPECT_FALSE(writer.finish());
    ASSERT_EQ(console.lines().size(), 1u) << console.text.str();
    EXPECT_EQ(console.lines()[0].rfind("Replay \"" + path +
                                           "\" not recorded: cannot create "
                                           "folder \"" +
                                           blocker + "/replays\" (",
                                       0),
              0u)
        << console.lines()[0];
    EXPECT_FALSE(fs::exists(path + ".part"));
}

TEST(Replay, AFrameNoReplayMayHoldEndsTheRecordingButKeepsTheRaceBeforeIt) {
    std::string path = scratchDir() + "/stopped/last.qbr";
    CapturedConsole console;
    ReplayWriter writer;
    ASSERT_TRUE(writer.open(path, testHeader()));
    writer.frame(0.02, RaceInput());
    writer.pause();
    writer.frame(7200.0, RaceInput());
    writer.resume();
    writer.frame(0.02, RaceInput());
    EXPECT_TRUE(writer.finish());
    ASSERT_EQ(console.lines().size(), 1u) << console.text.str();
    EXPECT_EQ(console.lines()[0], "Replay \"" + path +
                                      "\" stops after 2 records: frame time "
                                      "7200 s is not between 0 and 3600 s");
    Replay replay;
    ASSERT_TRUE(readsWhole(path, replay));
    expectSameRecords({frame(0.02, 0), event(ReplayRecord::Kind::Pause)}, replay.records);
}

TEST(LevelHash, FollowsEveryByteAndNameUnderModelsAndNothingElse) {
    std::string data = scratchDir() + "/level";
    writeScratchFile("level/models/a.mesh.xml", "<mesh>a</mesh>");
    std::string nested = writeScratchFile("level/models/sub/b.mesh.xml", std::string(70000, 'b'));
    std::string picture = writeScratchFile("level/texture/t.png", "picture");
    uint64_t original = hashLevelData(data);

    auto withFile = [&](const std::string& path, const std::string& bytes) {
        std::string saved = readFile(path);
        writeScratchFile(path.substr(scratchDir().size() + 1), bytes);
        uint64_t hash = hashLevelData(data);
        writeScratchFile(path.substr(scratchDir().size() + 1), saved);
        return hash;
    };
    std::string changed(70000, 'b');
    changed[65537] = 'c'; // in the second read of the file
    EXPECT_NE(withFile(nested, changed), original);
    EXPECT_NE(withFile(nested, std::string(69999, 'b')), original);
    EXPECT_EQ(withFile(picture, "another picture"), original);
    EXPECT_EQ(hashLevelData(data), original);

    fs::rename(nested, data + "/models/sub/c.mesh.xml");
    EXPECT_NE(hashLevelData(data), original);
    fs::rename(data + "/models/sub/c.mesh.xml", nested);

    // No models/ at all: one fixed value, whatever the folder.
    EXPECT_EQ(hashLevelData(scratchDir() + "/nowhere"), hashLevelData(data + "/texture"));
    EXPECT_NE(hashLevelData(scratchDir() + "/nowhere"), original);
    // The game's own level, from its working folder as at start-up.
    uint64_t game = hashLevelData(runDir());
    EXPECT_EQ(hashLevelData(runDir()), game);
    EXPECT_NE(game, hashLevelData(scratchDir() + "/nowhere"));
}

TEST(UserDirectories, FollowXdgVariablesWhenAbsoluteElseTheHomeFolder) {
    ScopedEnvironment home("HOME", "/home/marble/");
    ScopedEnvironment dataFolder("XDG_DATA_HOME", "/srv/data");
    ScopedEnvironment configFolder("XDG_CONFIG_HOME", "/srv/settings/");
    EXPECT_EQ(dataHome(), "/srv/data");
    EXPECT_EQ(configHome(), "/srv/settings");
    EXPECT_EQ(defaultReplayPath(), "/srv/data/quillorb/replays/last.qbr");
    for (const char* ignored : {"", "relative/data"}) {
        dataFolder.set(ignored);
        configFolder.set(ignored);
        EXPECT_EQ(dataHome(), "/home/marble/.local/share");
        EXPECT_EQ(configHome(), "/home/marble/.config");
    }
    dataFolder.set(nullptr);
    configFolder.set(nullptr);
    EXPECT_EQ(defaultReplayPath(), "/home/marble/.local/share/quillorb/replays/last.qbr");
}

TEST(TimedemoReport, NamesTheRatesTheSlowestFrameAndEachPassesMean) {
    std::map<std::string, PassTimer::Total> passes;
    passes["shadow"] = {30.0, 3};
    passes["main pass"] = {600.0, 3};
    std::string report =
        timedemoReport("demo.qbr", {0.25, 0.5, 0.125}, passes, {"shadow", "HUD", "main pass"});
    EXPECT_EQ(report, "Timedemo \"demo.qbr\": 3 frames in 0.88 s, 3.43 fps\n"
                      "Frames per second: minimum 2.00, median 4.00, maximum 8.00\n"
                      "Slowest frame: 2 of 3, 0.50 s\n"
                      "GPU time per frame (mean): shadow 10.00 ms; main pass 200.00 ms\n");
}

// End screens draw no scene: pass means still fit in the mean frame, however few frames drew.
TEST(TimedemoReport, PassMeansNeverAddUpToMoreThanTheMeanFrame) {
    for (int drawn = 1; drawn <= 8; ++drawn) {
        std::vector<double> frames(8, 0.01);
        std::map<std::string, PassTimer::Total> passes{{"shadow", {15.0 * drawn, drawn}},
                                                       {"main pass", {80.0 * drawn, drawn}}};
        std::fill(frames.begin(), frames.begin() + drawn, 0.1);
        std::string report = timedemoReport("demo.qbr", frames, passes, {"shadow", "main pass"});
        double passSum = 0.0;
        for (size_t at = report.find(" ms;"); at != std::string::npos;
             at = report.find(" ms", at + 1))
            passSum += std::stod(report.substr(report.rfind(' ', at - 1) + 1));
        EXPECT_TRUE(passSum > 0.0 && passSum <= (drawn * 100.0 + (8 - drawn) * 10.0) / 8.0 + 0.01)
            << report;
    }
}
