#include "session/ReplayFormat.h"

#include <cmath>
#include <cstring>
#include <sstream>

namespace {

void putLittleEndian(std::string& bytes, uint64_t value, int byteCount) {
    for (int i = 0; i < byteCount; ++i)
        bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xffu));
}

uint64_t bitsOf(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

uint32_t bitsOf(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

} // namespace

std::string encodeReplayHeader(const ReplayHeader& header) {
    std::string bytes(replayMagic, replayMagicBytes);
    putLittleEndian(bytes, header.formatVersion, 2);
    putLittleEndian(bytes, header.gameVersion.size(), 2);
    bytes += header.gameVersion;
    putLittleEndian(bytes, header.levelHash, 8);
    return bytes;
}

std::string encodeReplayRecord(const ReplayRecord& record) {
    std::string bytes(1, static_cast<char>(record.kind));
    if (record.kind == ReplayRecord::Kind::Frame) {
        putLittleEndian(bytes, bitsOf(record.frameTime), 8);
        putLittleEndian(bytes, static_cast<uint64_t>(record.input.keyMask), 1);
        putLittleEndian(bytes, bitsOf(record.input.stickX), 4);
        putLittleEndian(bytes, bitsOf(record.input.stickY), 4);
    }
    return bytes;
}

std::string replayHeaderProblem(const ReplayHeader& header) {
    if (header.gameVersion.size() > maxReplayGameVersionBytes)
        return "the game version is longer than " + std::to_string(maxReplayGameVersionBytes) +
               " bytes";
    return "";
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
