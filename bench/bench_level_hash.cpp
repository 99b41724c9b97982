// Start-up cost of the level's fingerprint for replays: hashLevelData over the generated
// level's models/ (run the generator first). The files are in the page cache after the
// first pass, as they are right after a build or a previous start.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <system_error>

#include "session/LevelHash.h"

namespace {

int64_t modelBytes(const std::filesystem::path& models) {
    int64_t total = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(models, error))
        if (entry.is_regular_file(error))
            total += int64_t(entry.file_size(error));
    return total;
}

void BM_HashLevelData(benchmark::State& state) {
    const std::string runDir = QUILLORB_RUN_DIR;
    int64_t bytes = modelBytes(std::filesystem::path(runDir) / "models");
    if (bytes == 0) {
        state.SkipWithError("no models/ under the run folder: run the generator first");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(hashLevelData(runDir));
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes);
    state.counters["models_MB"] = double(bytes) / 1e6;
}
BENCHMARK(BM_HashLevelData)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
