#include "settings/QualitySettings.h"

QualitySettings QualitySettings::pinnedTo(const QualitySettings& given, unsigned pinned) const {
    QualitySettings result = *this;
    if (pinned & samplesBit)
        result.samples = given.samples;
    if (pinned & anisotropyBit)
        result.anisotropy = given.anisotropy;
    if (pinned & shadowMapBit)
        result.shadowMapSize = given.shadowMapSize;
    if (pinned & waterMapBit)
        result.waterMapSize = given.waterMapSize;
    if (pinned & renderScaleBit)
        result.renderScale = given.renderScale;
    return result;
}

bool QualitySettings::operator==(const QualitySettings& other) const {
    return samples == other.samples && anisotropy == other.anisotropy &&
           shadowMapSize == other.shadowMapSize && waterMapSize == other.waterMapSize &&
           renderScale == other.renderScale;
}
