#include "GameOptionsComparison.h"

#include <tuple>

#include "settings/QualityRung.h"

namespace {

auto fields(const GameOptions& o) {
    return std::tie(o.dataDir, o.recordFile, o.replayFile, o.timedemoFile, o.width, o.height,
                    o.fullscreen, o.vsync, o.samples, o.shadowMapSize, o.waterMapSize,
                    o.bilinearFiltering, o.mipmapMode, o.anisotropy, o.musicVolume, o.qualityAuto,
                    o.quality, o.targetFps, o.renderScale, o.pinnedAspects, o.soundVolume, o.ghost);
}

} // namespace

bool operator==(const GameOptions& a, const GameOptions& b) {
    return fields(a) == fields(b);
}

bool operator!=(const GameOptions& a, const GameOptions& b) {
    return !(a == b);
}

void PrintTo(const GameOptions& o, std::ostream* out) {
    // Enough digits that two volumes or scales that differ never print alike.
    const std::streamsize precision = out->precision(17);
    *out << "{dataDir \"" << o.dataDir << "\", recordFile \"" << o.recordFile << "\", replayFile \""
         << o.replayFile << "\", timedemoFile \"" << o.timedemoFile << "\", width " << o.width
         << ", height " << o.height << ", fullscreen " << o.fullscreen << ", vsync " << o.vsync
         << ", samples " << o.samples << ", shadowMapSize " << o.shadowMapSize << ", waterMapSize "
         << o.waterMapSize << ", bilinearFiltering " << o.bilinearFiltering << ", mipmapMode "
         << o.mipmapMode << ", anisotropy " << o.anisotropy << ", musicVolume " << o.musicVolume
         << ", qualityAuto " << o.qualityAuto << ", quality " << rungName(o.quality)
         << ", targetFps " << o.targetFps << ", renderScale " << o.renderScale << ", pinnedAspects "
         << o.pinnedAspects << ", soundVolume " << o.soundVolume << ", ghost \"" << o.ghost
         << "\"}";
    out->precision(precision);
}
