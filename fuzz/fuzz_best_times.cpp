// Feeds arbitrary bytes to the best-times reader as the file, then puts a race into whatever
// list came out, so the ordering and the cut to five run on hostile entries too.
#include "FuzzInputFile.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "session/BestTimes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const FuzzInputFile input("best-times");
    if (!input.write(data, size))
        return 0;

    BestTimes times(input.path);
    times.load();
    // Whatever the file held, the list is five or fewer finite times, fastest first.
    const std::vector<BestTimes::Entry>& entries = times.entries();
    if (entries.size() > BestTimes::kept)
        __builtin_trap();
    for (size_t i = 0; i < entries.size(); ++i) {
        if (!std::isfinite(entries[i].seconds) || entries[i].seconds <= 0.0 ||
            (i > 0 && entries[i - 1].seconds > entries[i].seconds))
            __builtin_trap();
    }
    times.record(48.73, BestTimes::today());
    if (times.entries().empty() || times.entries().size() > BestTimes::kept)
        __builtin_trap();

    input.remove();
    std::remove((input.path + ".bad").c_str());
    return 0;
}
