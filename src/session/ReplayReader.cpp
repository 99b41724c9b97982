#include "session/ReplayReader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "session/BitPattern.h"
#include "session/ReplayFormat.h"

namespace {

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

    std::string shortReason(const std::string& where) const {
        if (readError != 0)
            return std::string("it cannot be read (") + std::strerror(readError) + ")";
        return "it is truncated: the file ends inside " + where;
    }
};

uint64_t littleEndian(const unsigned char* bytes, int count) {
    uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | bytes[i];
    return value;
}

// Each returns why the file is refused, or "" to go on.
std::string readMagic(FileBytes& in) {
    unsigned char magic[replayMagicBytes];
    size_t got = in.take(magic, replayMagicBytes);
    if (in.readError != 0)
        return in.shortReason("");
    if (got == 0)
        return "the file is empty";
    if (std::memcmp(magic, replayMagic, got) != 0)
        return "it is not a Quillorb replay";
    if (got < replayMagicBytes)
        return in.shortReason("its header");
    return "";
}

std::string readHeader(FileBytes& in, uint64_t expectedLevelHash, ReplayHeader& header) {
    std::string problem = readMagic(in);
    if (!problem.empty())
        return problem;
    unsigned char number[8];
    if (!in.takeAll(number, 2))
        return in.shortReason("its header");
    header.formatVersion = static_cast<uint16_t>(littleEndian(number, 2));
    if (header.formatVersion != replayFormatVersion)
        return "it has replay format version " + std::to_string(header.formatVersion) +
               "; this game plays version " + std::to_string(replayFormatVersion);
    if (!in.takeAll(number, 2))
        return in.shortReason("its header");
    size_t length = littleEndian(number, 2);
    if (length > maxReplayGameVersionBytes)
        return "its header is damaged (a game version of " + std::to_string(length) + " bytes)";
    unsigned char version[maxReplayGameVersionBytes];
    if (!in.takeAll(version, length))
        return in.shortReason("its header");
    header.gameVersion.assign(reinterpret_cast<const char*>(version), length);
    if (!in.takeAll(number, 8))
        return in.shortReason("its header");
    header.levelHash = littleEndian(number, 8);
    if (header.levelHash != expectedLevelHash)
        return "it was recorded on another level (level data differs)";
    return "";
}

std::string readFrame(FileBytes& in, const std::string& name, ReplayRecord& record) {
    unsigned char body[17];
    if (!in.takeAll(body, sizeof body))
        return in.shortReason(name);
    record.frameTime = doubleFromBits(littleEndian(body, 8));
    record.input.keyMask = body[8];
    record.input.stickX = floatFromBits(static_cast<uint32_t>(littleEndian(body + 9, 4)));
    record.input.stickY = floatFromBits(static_cast<uint32_t>(littleEndian(body + 13, 4)));
    std::string problem = replayFrameProblem(record.frameTime, record.input);
    return problem.empty() ? "" : name + " is impossible: " + problem;
}

// A Check's body, or an End's with its outcome before and its lives after the race time.
std::string readCheck(FileBytes& in, const std::string& name, ReplayRecord& record) {
    const bool end = record.kind == ReplayRecord::Kind::End;
    unsigned char body[22];
    if (!in.takeAll(body, end ? 22 : 20))
        return in.shortReason(name);
    const unsigned char* at = body;
    if (end)
        record.outcome = static_cast<ReplayRecord::Outcome>(*at++);
    record.raceTime = doubleFromBits(littleEndian(at, 8));
    at += 8;
    if (end)
        record.lives = *at++;
    for (int axis = 0; axis < 3; ++axis, at += 4)
        record.position[axis] = floatFromBits(static_cast<uint32_t>(littleEndian(at, 4)));
    std::string problem = replayCheckProblem(record);
    return problem.empty() ? "" : name + " is impossible: " + problem;
}

std::string readRecords(FileBytes& in, std::vector<ReplayRecord>& records) {
    while (true) {
        unsigned char kind;
        if (!in.takeAll(&kind, 1))
            return in.readError != 0 ? in.shortReason("") : "";
        if (records.size() == maxReplayRecords)
            return "it holds more than " + std::to_string(maxReplayRecords) +
                   " records, more than any race";
        std::string name = "record " + std::to_string(records.size() + 1);
        ReplayRecord record;
        record.kind = static_cast<ReplayRecord::Kind>(kind);
        switch (record.kind) {
        case ReplayRecord::Kind::Frame: {
            std::string problem = readFrame(in, name, record);
            if (!problem.empty())
                return problem;
            break;
        }
        case ReplayRecord::Kind::Check:
        case ReplayRecord::Kind::End: {
            std::string problem = readCheck(in, name, record);
            if (!problem.empty())
                return problem;
            break;
        }
        case ReplayRecord::Kind::Pause:
        case ReplayRecord::Kind::Resume:
        case ReplayRecord::Kind::PlayAgain:
            break;
        default:
            return name + " is of unknown kind " + std::to_string(kind) + " (the file is damaged)";
        }
        records.push_back(record);
    }
}

std::string readReplay(const std::string& path, uint64_t expectedLevelHash, Replay& out) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         std::fclose);
    if (!file)
        return std::string("it cannot be opened (") + std::strerror(errno) + ")";
    FileBytes in{file.get()};
    std::string problem = readHeader(in, expectedLevelHash, out.header);
    return problem.empty() ? readRecords(in, out.records) : problem;
}

} // namespace

bool ReplayReader::read(const std::string& path, uint64_t expectedLevelHash, Replay& out,
                        std::string& error) {
    out = Replay();
    std::string problem = readReplay(path, expectedLevelHash, out);
    if (problem.empty()) {
        error.clear();
        return true;
    }
    out = Replay();
    error = "Replay \"" + path + "\" cannot be played: " + problem;
    return false;
}
