#include "session/ReplayFormat.h"

#include <cmath>
#include <sstream>

#include "session/BitPattern.h"

namespace {

void putLittleEndian(std::string& bytes, uint64_t value, int byteCount) {
    for (int i = 0; i < byteCount; ++i)
        bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xffu));
}

} // namespace

std::string encodeReplayHeader(const ReplayHeader& header) {
    std::string bytes(replayMagic, replayMagicBytes);
    putLittleEndian(bytes, header.formatVersion, 2);
    putLittleEndian(bytes, header.gameVersion.size(), 2);
    bytes += header.gameVersion;
    putLittleEndian(bytes, header.levelHash, 8);
    if (header.formatVersion < 2)
        return bytes;
    putLittleEndian(bytes, header.simulationVersion, 2);
    putLittleEndian(bytes, header.course.size(), 1);
    bytes += header.course;
    return bytes;
}

std::string encodeReplayRecord(const ReplayRecord& record) {
    std::string bytes(1, static_cast<char>(record.kind));
    if (record.kind == ReplayRecord::Kind::Frame) {
        putLittleEndian(bytes, bitsOf(record.frameTime), 8);
        putLittleEndian(bytes, static_cast<uint64_t>(record.input.keyMask), 1);
        putLittleEndian(bytes, bitsOf(record.input.stickX), 4);
        putLittleEndian(bytes, bitsOf(record.input.stickY), 4);
    } else if (record.kind == ReplayRecord::Kind::Check || record.kind == ReplayRecord::Kind::End) {
        const bool end = record.kind == ReplayRecord::Kind::End;
        if (end)
            putLittleEndian(bytes, static_cast<uint64_t>(record.outcome), 1);
        putLittleEndian(bytes, bitsOf(record.raceTime), 8);
        if (end)
            putLittleEndian(bytes, static_cast<uint64_t>(record.lives), 1);
        for (int axis = 0; axis < 3; ++axis)
            putLittleEndian(bytes, bitsOf(record.position[axis]), 4);
    }
    return bytes;
}

std::string replayHeaderProblem(const ReplayHeader& header) {
    if (header.gameVersion.size() > maxReplayGameVersionBytes)
        return "the game version is longer than " + std::to_string(maxReplayGameVersionBytes) +
               " bytes";
    if (header.formatVersion < 1 || header.formatVersion > replayFormatVersion)
        return "format version " + std::to_string(header.formatVersion) +
               " is none this game writes";
    if (header.formatVersion < 2)
        return "";
    if (!isKnownSimulationVersion(header.simulationVersion))
        return "simulation version " + std::to_string(header.simulationVersion) +
               " is none this game runs";
    if (!isReplayCourseName(header.course))
        return "the course name is not at most " + std::to_string(maxReplayCourseBytes) +
               " of a-z, 0-9 and -";
    return "";
}

bool isReplayCourseName(const std::string& course) {
    if (course.size() > maxReplayCourseBytes)
        return false;
    for (char c : course) {
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-'))
            return false;
    }
    return true;
}

bool isKnownSimulationVersion(uint64_t version) {
    return version >= 1 && version <= static_cast<uint64_t>(currentSimulationVersion);
}

std::string replayFrameProblem(double frameTime, const RaceInput& input) {
    std::ostringstream problem;
    if (!(frameTime >= 0.0 && frameTime <= maxReplayFrameTime))
        problem << "frame time " << frameTime << " s is not between 0 and " << maxReplayFrameTime
                << " s";
    else if (input.keyMask < 0 || input.keyMask > 15)
        problem << "key mask " << input.keyMask << " has bits beyond W, A, S and D";
    else if (!std::isfinite(input.stickX) || !std::isfinite(input.stickY))
        problem << "stick (" << input.stickX << ", " << input.stickY << ") is not finite";
    else if (std::fabs(input.stickX) > maxReplayStick || std::fabs(input.stickY) > maxReplayStick)
        problem << "stick (" << input.stickX << ", " << input.stickY << ") is beyond -1 to 1";
    return problem.str();
}

std::string replayCheckProblem(const ReplayRecord& check) {
    std::ostringstream problem;
    const glm::vec3& at = check.position;
    if (!(check.raceTime >= 0.0 && check.raceTime <= maxReplayRaceTime))
        problem << "race time " << check.raceTime << " s is not between 0 and " << maxReplayRaceTime
                << " s";
    else if (!std::isfinite(at.x) || !std::isfinite(at.y) || !std::isfinite(at.z))
        problem << "marble position (" << at.x << ", " << at.y << ", " << at.z << ") is not finite";
    else if (check.kind != ReplayRecord::Kind::End)
        return "";
    else if (check.outcome != ReplayRecord::Outcome::Won &&
             check.outcome != ReplayRecord::Outcome::GameOver &&
             check.outcome != ReplayRecord::Outcome::Quit)
        problem << "outcome " << static_cast<int>(check.outcome) << " is none of won (1), game over"
                << " (2) and quit (3)";
    else if (check.lives < 0 || check.lives > maxReplayLives)
        problem << "spare lives " << check.lives << " are not between 0 and " << maxReplayLives;
    return problem.str();
}
