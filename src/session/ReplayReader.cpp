#include "session/ReplayReader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "session/BitPattern.h"
#include "session/ReplayFormat.h"

namespace {

using Kind = ReplayProblem::Kind;

ReplayProblem problemOf(Kind kind, size_t record = 0, uint64_t number = 0) {
    ReplayProblem problem;
    problem.kind = kind;
    problem.record = record;
    problem.number = number;
    return problem;
}

uint64_t littleEndian(const unsigned char* bytes, int count) {
    uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | bytes[i];
    return value;
}

// The file's bytes in order; remembers why a read came up short.
struct FileBytes {
    std::FILE* file;
    int readError = 0;

    // How many of the count bytes arrived (fewer at the end of the file or on an error).
    size_t take(unsigned char* bytes, size_t count) {
        size_t got = std::fread(bytes, 1, count, file);
        if (got < count && std::ferror(file))
            readError = errno != 0 ? errno : EIO;
        return got;
    }

    bool takeAll(unsigned char* bytes, size_t count) { return take(bytes, count) == count; }

    // record: the one the file ended inside, 0 for the header.
    ReplayProblem shortRead(size_t record) const {
        if (readError == 0)
            return problemOf(Kind::Truncated, record);
        ReplayProblem problem = problemOf(Kind::CannotRead);
        problem.error = readError;
        return problem;
    }

    // A little-endian number of count bytes (at most 8) into value.
    bool takeNumber(int count, uint64_t& value) {
        unsigned char bytes[8];
        if (!takeAll(bytes, static_cast<size_t>(count)))
            return false;
        value = littleEndian(bytes, count);
        return true;
    }
};

// Each returns why the file is refused, or no problem to go on.
ReplayProblem readMagic(FileBytes& in) {
    unsigned char magic[replayMagicBytes];
    size_t got = in.take(magic, replayMagicBytes);
    if (in.readError != 0)
        return in.shortRead(0);
    if (got == 0)
        return problemOf(Kind::Empty);
    if (std::memcmp(magic, replayMagic, got) != 0)
        return problemOf(Kind::NotAReplay);
    if (got < replayMagicBytes)
        return in.shortRead(0);
    return ReplayProblem();
}

// A byte count, then at most limit bytes of text.
ReplayProblem readText(FileBytes& in, int countBytes, size_t limit, Kind tooLong,
                       std::string& text) {
    uint64_t length = 0;
    if (!in.takeNumber(countBytes, length))
        return in.shortRead(0);
    if (length > limit)
        return problemOf(tooLong, 0, length);
    static_assert(maxReplayCourseBytes <= maxReplayGameVersionBytes, "a text fits the buffer");
    unsigned char bytes[maxReplayGameVersionBytes];
    if (!in.takeAll(bytes, length))
        return in.shortRead(0);
    text.assign(reinterpret_cast<const char*>(bytes), length);
    return ReplayProblem();
}

// What format 2 added after the level hash.
ReplayProblem readRules(FileBytes& in, ReplayHeader& header) {
    uint64_t simulation = 0;
    if (!in.takeNumber(2, simulation))
        return in.shortRead(0);
    if (!isKnownSimulationVersion(simulation))
        return problemOf(Kind::SimulationVersion, 0, simulation);
    header.simulationVersion = static_cast<uint16_t>(simulation);
    ReplayProblem problem = readText(in, 1, maxReplayCourseBytes, Kind::CourseName, header.course);
    if (!problem.refused() && !isReplayCourseName(header.course))
        return problemOf(Kind::CourseName, 0, header.course.size());
    return problem;
}

ReplayProblem readHeader(FileBytes& in, uint64_t expectedLevelHash, ReplayHeader& header) {
    ReplayProblem problem = readMagic(in);
    if (problem.refused())
        return problem;
    uint64_t number = 0;
    if (!in.takeNumber(2, number))
        return in.shortRead(0);
    header.formatVersion = static_cast<uint16_t>(number);
    if (header.formatVersion < 1 || header.formatVersion > replayFormatVersion)
        return problemOf(Kind::FormatVersion, 0, header.formatVersion);
    problem =
        readText(in, 2, maxReplayGameVersionBytes, Kind::GameVersionLength, header.gameVersion);
    if (problem.refused())
        return problem;
    if (!in.takeNumber(8, header.levelHash))
        return in.shortRead(0);
    // A format-1 file does not say which rules it ran under: its checks tell.
    header.simulationVersion = 0;
    if (header.formatVersion >= 2) {
        problem = readRules(in, header);
        if (problem.refused())
            return problem;
    }
    if (header.levelHash != expectedLevelHash)
        return problemOf(Kind::OtherLevel);
    return ReplayProblem();
}

ReplayProblem impossible(size_t record, const std::string& what) {
    if (what.empty())
        return ReplayProblem();
    ReplayProblem problem = problemOf(Kind::Impossible, record);
    problem.detail = what;
    return problem;
}

ReplayProblem readFrame(FileBytes& in, size_t number, ReplayRecord& record) {
    unsigned char body[17];
    if (!in.takeAll(body, sizeof body))
        return in.shortRead(number);
    record.frameTime = doubleFromBits(littleEndian(body, 8));
    record.input.keyMask = body[8];
    record.input.stickX = floatFromBits(static_cast<uint32_t>(littleEndian(body + 9, 4)));
    record.input.stickY = floatFromBits(static_cast<uint32_t>(littleEndian(body + 13, 4)));
    return impossible(number, replayFrameProblem(record.frameTime, record.input));
}

// A Check's body, or an End's with its outcome before and its lives after the race time.
ReplayProblem readCheck(FileBytes& in, size_t number, ReplayRecord& record) {
    const bool end = record.kind == ReplayRecord::Kind::End;
    unsigned char body[22];
    if (!in.takeAll(body, end ? 22 : 20))
        return in.shortRead(number);
    const unsigned char* at = body;
    if (end)
        record.outcome = static_cast<ReplayRecord::Outcome>(*at++);
    record.raceTime = doubleFromBits(littleEndian(at, 8));
    at += 8;
    if (end)
        record.lives = *at++;
    for (int axis = 0; axis < 3; ++axis, at += 4)
        record.position[axis] = floatFromBits(static_cast<uint32_t>(littleEndian(at, 4)));
    return impossible(number, replayCheckProblem(record));
}

ReplayProblem readRecords(FileBytes& in, std::vector<ReplayRecord>& records) {
    while (true) {
        unsigned char kind;
        if (!in.takeAll(&kind, 1))
            return in.readError != 0 ? in.shortRead(0) : ReplayProblem();
        if (records.size() == maxReplayRecords)
            return problemOf(Kind::TooManyRecords);
        const size_t number = records.size() + 1;
        ReplayRecord record;
        record.kind = static_cast<ReplayRecord::Kind>(kind);
        ReplayProblem problem;
        switch (record.kind) {
        case ReplayRecord::Kind::Frame:
            problem = readFrame(in, number, record);
            break;
        case ReplayRecord::Kind::Check:
        case ReplayRecord::Kind::End:
            problem = readCheck(in, number, record);
            break;
        case ReplayRecord::Kind::Pause:
        case ReplayRecord::Kind::Resume:
        case ReplayRecord::Kind::PlayAgain:
            break;
        default:
            return problemOf(Kind::UnknownKind, number, kind);
        }
        if (problem.refused())
            return problem;
        records.push_back(record);
    }
}

ReplayProblem readReplay(const std::string& path, uint64_t expectedLevelHash, Replay& out) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         std::fclose);
    if (!file) {
        ReplayProblem problem = problemOf(Kind::CannotOpen);
        problem.error = errno;
        return problem;
    }
    FileBytes in{file.get()};
    ReplayProblem problem = readHeader(in, expectedLevelHash, out.header);
    return problem.refused() ? problem : readRecords(in, out.records);
}

} // namespace

bool ReplayReader::read(const std::string& path, uint64_t expectedLevelHash, Replay& out,
                        ReplayProblem& problem) {
    out = Replay();
    problem = readReplay(path, expectedLevelHash, out);
    if (!problem.refused())
        return true;
    out = Replay();
    return false;
}
