#include "settings/GameOptions.h"

QualitySettings qualityAt(const GameOptions& options, QualityRung rung) {
    QualitySettings given;
    given.samples = options.samples;
    given.anisotropy = options.anisotropy;
    given.shadowMapSize = options.shadowMapSize;
    given.waterMapSize = options.waterMapSize;
    given.renderScale = options.renderScale;
    return rungSettings(rung).pinnedTo(given, options.pinnedAspects);
}
