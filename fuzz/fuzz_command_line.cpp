// Feeds arbitrary words (separated by NUL bytes) to the command line; whatever it lets through
// must be in range.
#include "FuzzInputFile.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "settings/CommandLine.h"
#include "settings/GameOptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const FuzzInputFile silence("arguments");
    std::vector<std::string> words = {"quillorb"};
    std::string word;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            words.push_back(word);
            word.clear();
        } else {
            word += static_cast<char>(data[i]);
        }
    }
    words.push_back(word);
    std::vector<const char*> argv;
    for (const std::string& each : words)
        argv.push_back(each.c_str());

    CommandLine commandLine;
    if (commandLine.parse(static_cast<int>(argv.size()), argv.data()) != CommandLine::Outcome::Run)
        return 0;
    GameOptions options;
    commandLine.applyTo(options);
    bool inRange = options.width >= 320 && options.width <= 16384 && options.height >= 240 &&
                   options.height <= 16384 && (options.samples & ~14) == 0 &&
                   options.shadowMapSize >= 512 && options.shadowMapSize <= 8192 &&
                   options.mipmapMode >= 0 && options.mipmapMode <= 2 &&
                   options.musicVolume >= 0.0 && options.musicVolume <= 1.0;
    if (!inRange)
        std::abort();
    return 0;
}
