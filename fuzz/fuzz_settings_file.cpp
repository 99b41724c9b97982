// Feeds arbitrary bytes to the settings file reader; whatever it keeps must be in range.
#include "FuzzInputFile.h"

#include <cstdlib>

#include "settings/GameOptions.h"
#include "settings/SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const FuzzInputFile input("settings");
    if (!input.write(data, size))
        return 0;
    GameOptions options;
    readSettingsFile(input.path, options);
    bool inRange =
        options.width >= 320 && options.width <= 16384 && options.height >= 240 &&
        options.height <= 16384 && options.shadowMapSize >= 512 && options.shadowMapSize <= 8192 &&
        options.waterMapSize >= 128 && options.waterMapSize <= 1024 && options.mipmapMode >= 0 &&
        options.mipmapMode <= 2 && options.musicVolume >= 0.0 && options.musicVolume <= 1.0;
    if (!inRange)
        std::abort();
    input.remove();
    return 0;
}
