// Feeds arbitrary bytes to the replay reader as a replay file. Whatever it accepts must be
// exactly what the writer's encoding gives back for it: nothing skipped, nothing guessed.
#include "FuzzInputFile.h"

#include <cstdlib>
#include <cstring>

#include "session/Replay.h"
#include "session/ReplayFormat.h"
#include "session/ReplayReader.h"

namespace {

// The level hash the seed replays in fuzz/corpus/replay carry.
constexpr uint64_t seedLevelHash = 0x5145454452414345ull;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const FuzzInputFile input("replay", ".qbr");
    if (!input.write(data, size))
        return 0;

    Replay replay;
    ReplayProblem problem;
    if (ReplayReader().read(input.path, seedLevelHash, replay, problem)) {
        std::string again = encodeReplayHeader(replay.header);
        for (const ReplayRecord& record : replay.records)
            again += encodeReplayRecord(record);
        if (again.size() != size || std::memcmp(again.data(), data, size) != 0)
            std::abort();
    } else if (!problem.refused() ||
               problem.consoleLine(input.path).find('\n') != std::string::npos ||
               !replay.records.empty()) {
        std::abort();
    }
    input.remove();
    return 0;
}
