#include "settings/QualityRung.h"

namespace {

const char* const names[qualityRungCount] = {"low", "medium", "high", "full"};

const QualitySettings rungs[qualityRungCount] = {
    {0, 1, 2048, 256, 0.75},
    {0, 1, 2048, 256, 1.0},
    {0, 0, 4096, 512, 1.0},
    {4, 0, 8192, 512, 1.0},
};

// Frame time against the defaults, standing at the start with llvmpipe: no samples 3.65 →
// 7.39 fps, no anisotropy 3.65 → 8.80, both 17.7; the smaller maps then 17.7 → 24.4. Most of a
// frame is the window's pixels; the rest (shadow, water images, vertices) does not scale.
double samplesCost(int samples) {
    return samples == 0 ? 0.49 : 1.0;
}
double anisotropyCost(int anisotropy) {
    return anisotropy == 1 ? 0.41 : 1.0;
}
double shadowMapCost(int size) {
    return size <= 2048 ? 0.9 : size <= 4096 ? 0.95 : 1.0;
}
double waterMapCost(int size) {
    return size <= 256 ? 0.85 : 1.0;
}
double renderScaleCost(double scale) {
    return 0.25 + 0.75 * scale * scale;
}

} // namespace

QualitySettings rungSettings(QualityRung rung) {
    return rungs[static_cast<int>(rung)];
}

double estimatedCost(QualityRung rung, unsigned pinned) {
    const QualitySettings& s = rungs[static_cast<int>(rung)];
    double cost = 1.0;
    if (!(pinned & QualitySettings::samplesBit))
        cost *= samplesCost(s.samples);
    if (!(pinned & QualitySettings::anisotropyBit))
        cost *= anisotropyCost(s.anisotropy);
    if (!(pinned & QualitySettings::shadowMapBit))
        cost *= shadowMapCost(s.shadowMapSize);
    if (!(pinned & QualitySettings::waterMapBit))
        cost *= waterMapCost(s.waterMapSize);
    if (!(pinned & QualitySettings::renderScaleBit))
        cost *= renderScaleCost(s.renderScale);
    return cost;
}

const char* rungName(QualityRung rung) {
    return names[static_cast<int>(rung)];
}

bool rungFromName(const std::string& name, QualityRung& rung) {
    for (int i = 0; i < qualityRungCount; ++i) {
        if (name == names[i]) {
            rung = static_cast<QualityRung>(i);
            return true;
        }
    }
    return false;
}
