#pragma once

// The aspects of how the picture is drawn that the quality rungs set. Each aspect has a bit,
// for naming the ones the player chose himself: those are pinned, and nothing moves them.
struct QualitySettings {
    static constexpr unsigned samplesBit = 1u << 0;
    static constexpr unsigned anisotropyBit = 1u << 1;
    static constexpr unsigned shadowMapBit = 1u << 2;
    static constexpr unsigned waterMapBit = 1u << 3;
    static constexpr unsigned renderScaleBit = 1u << 4;

    int samples = 4;
    // 0 takes the driver's maximum, 1 is none.
    int anisotropy = 0;
    int shadowMapSize = 8192;
    int waterMapSize = 512;
    // The 3D picture's size as a share of the window's, each way.
    double renderScale = 1.0;

    // These settings, with every aspect named in `pinned` taken from `given` instead.
    QualitySettings pinnedTo(const QualitySettings& given, unsigned pinned) const;
    bool operator==(const QualitySettings& other) const;
    bool operator!=(const QualitySettings& other) const { return !(*this == other); }
};
