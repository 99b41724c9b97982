#include "settings/SettingRules.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "settings/DecimalText.h"

namespace {

// The whole text must be the number: "1024x" or " 1024" is no number.
bool readWhole(const std::string& text, long long& value) {
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end && !text.empty();
}

bool isPowerOfTwo(long long value) {
    return value > 0 && (value & (value - 1)) == 0;
}

std::string storeInRange(const std::string& text, long long low, long long high, int& target) {
    long long value = 0;
    if (!readWhole(text, value) || value < low || value > high)
        return "must be a whole number from " + std::to_string(low) + " to " + std::to_string(high);
    target = static_cast<int>(value);
    return "";
}

std::string storePowerOfTwo(const std::string& text, long long low, long long high, int& target) {
    long long value = 0;
    if (!readWhole(text, value) || !isPowerOfTwo(value) || value < low || value > high)
        return "must be a power of two from " + std::to_string(low) + " to " + std::to_string(high);
    target = static_cast<int>(value);
    return "";
}

std::string storeSwitch(const std::string& text, bool& target) {
    if (text != "true" && text != "false")
        return "must be true or false";
    target = text == "true";
    return "";
}

std::string storeWidth(GameOptions& options, const std::string& text) {
    return storeInRange(text, 320, 16384, options.width);
}
std::string storeHeight(GameOptions& options, const std::string& text) {
    return storeInRange(text, 240, 16384, options.height);
}
std::string storeFullscreen(GameOptions& options, const std::string& text) {
    return storeSwitch(text, options.fullscreen);
}
std::string storeVsync(GameOptions& options, const std::string& text) {
    return storeSwitch(text, options.vsync);
}

std::string storeSamples(GameOptions& options, const std::string& text) {
    long long value = 0;
    if (!readWhole(text, value) || (value != 0 && value != 2 && value != 4 && value != 8))
        return "must be 0, 2, 4 or 8";
    options.samples = static_cast<int>(value);
    options.pinnedAspects |= QualitySettings::samplesBit;
    return "";
}

// A quality aspect the player gives is his: automatic quality leaves it as given.
std::string pinIfStored(std::string allowed, GameOptions& options, unsigned aspect) {
    if (allowed.empty())
        options.pinnedAspects |= aspect;
    return allowed;
}

std::string storeShadowMap(GameOptions& options, const std::string& text) {
    return pinIfStored(storePowerOfTwo(text, 512, 8192, options.shadowMapSize), options,
                       QualitySettings::shadowMapBit);
}
std::string storeWaterMap(GameOptions& options, const std::string& text) {
    return pinIfStored(storePowerOfTwo(text, 128, 1024, options.waterMapSize), options,
                       QualitySettings::waterMapBit);
}

std::string storeTextureFilter(GameOptions& options, const std::string& text) {
    if (text != "bilinear" && text != "nearest")
        return "must be bilinear or nearest";
    options.bilinearFiltering = text == "bilinear";
    return "";
}

std::string storeAnisotropy(GameOptions& options, const std::string& text) {
    long long value = 0;
    if (!readWhole(text, value) || (value != 0 && !(isPowerOfTwo(value) && value <= 16)))
        return "must be 0 (the driver's maximum), 1, 2, 4, 8 or 16";
    options.anisotropy = static_cast<int>(value);
    options.pinnedAspects |= QualitySettings::anisotropyBit;
    return "";
}

const char* const mipmapNames[3] = {"off", "nearest", "linear"};

std::string storeMipmaps(GameOptions& options, const std::string& text) {
    for (int mode = 0; mode < 3; ++mode) {
        if (text == mipmapNames[mode]) {
            options.mipmapMode = mode;
            return "";
        }
    }
    return "must be off, nearest or linear";
}

std::string storeFraction(const std::string& text, double& target) {
    double value = 0.0;
    // The negated test also refuses "nan".
    if (!readDecimal(text, value) || !(value >= 0.0 && value <= 1.0))
        return "must be a number from 0.0 to 1.0";
    target = value;
    return "";
}

std::string storeQuality(GameOptions& options, const std::string& text) {
    if (text == "auto") {
        options.qualityAuto = true;
        return "";
    }
    if (!rungFromName(text, options.quality))
        return "must be auto, full, high, medium or low";
    options.qualityAuto = false;
    return "";
}

std::string storeTargetFps(GameOptions& options, const std::string& text) {
    return storeInRange(text, 10, 240, options.targetFps);
}

std::string storeRenderScale(GameOptions& options, const std::string& text) {
    double value = 0.0;
    if (!readDecimal(text, value) || !(value >= 0.5 && value <= 1.0))
        return "must be a number from 0.5 to 1.0";
    options.renderScale = value;
    options.pinnedAspects |= QualitySettings::renderScaleBit;
    return "";
}

std::string storeMusicVolume(GameOptions& options, const std::string& text) {
    return storeFraction(text, options.musicVolume);
}
std::string storeSoundVolume(GameOptions& options, const std::string& text) {
    return storeFraction(text, options.soundVolume);
}
// A file is named from where the game was started, like the other paths given to it; the game
// moves to its data tree before it reads the file.
std::string storeGhost(GameOptions& options, const std::string& text) {
    if (text.empty())
        return "must be best, off or a replay file";
    std::error_code error;
    std::filesystem::path full = std::filesystem::absolute(text, error);
    options.ghost =
        text == "best" || text == "off" || error ? text : full.lexically_normal().string();
    return "";
}

std::string showSwitch(bool value) {
    return value ? "true" : "false";
}
std::string quoted(const char* word) {
    return std::string("\"") + word + "\"";
}

std::string showWidth(const GameOptions& options) {
    return std::to_string(options.width);
}
std::string showHeight(const GameOptions& options) {
    return std::to_string(options.height);
}
std::string showFullscreen(const GameOptions& options) {
    return showSwitch(options.fullscreen);
}
std::string showVsync(const GameOptions& options) {
    return showSwitch(options.vsync);
}
std::string showSamples(const GameOptions& options) {
    return std::to_string(options.samples);
}
std::string showShadowMap(const GameOptions& options) {
    return std::to_string(options.shadowMapSize);
}
std::string showWaterMap(const GameOptions& options) {
    return std::to_string(options.waterMapSize);
}
std::string showTextureFilter(const GameOptions& options) {
    return quoted(options.bilinearFiltering ? "bilinear" : "nearest");
}
std::string showAnisotropy(const GameOptions& options) {
    return std::to_string(options.anisotropy);
}
std::string showMipmaps(const GameOptions& options) {
    int mode = options.mipmapMode >= 0 && options.mipmapMode < 3 ? options.mipmapMode : 2;
    return quoted(mipmapNames[mode]);
}

// The shortest text that reads back as the same number, always with a decimal point so the
// settings file keeps it a float.
std::string showDecimal(double value) {
    std::string shown = shortestDecimal(value);
    if (shown.find_first_of(".e") == std::string::npos)
        shown += ".0";
    return shown;
}
std::string showMusicVolume(const GameOptions& options) {
    return showDecimal(options.musicVolume);
}
std::string showQuality(const GameOptions& options) {
    return quoted(options.qualityAuto ? "auto" : rungName(options.quality));
}
std::string showTargetFps(const GameOptions& options) {
    return std::to_string(options.targetFps);
}
std::string showRenderScale(const GameOptions& options) {
    return showDecimal(options.renderScale);
}

std::string showSoundVolume(const GameOptions& options) {
    return showDecimal(options.soundVolume);
}
// A file's name may hold what a TOML string must escape.
std::string showGhost(const GameOptions& options) {
    std::string shown = "\"";
    for (char c : options.ghost) {
        if (c == '"' || c == '\\')
            shown += '\\';
        shown += c;
    }
    return shown + "\"";
}

} // namespace

const std::vector<SettingRule>& settingRules() {
    static const std::vector<SettingRule> rules = {
        {"width", "--width", nullptr, SettingKind::Whole, "Window width in pixels (320 to 16384)",
         storeWidth, showWidth},
        {"height", "--height", nullptr, SettingKind::Whole,
         "Window height in pixels (240 to 16384)", storeHeight, showHeight},
        {"fullscreen", "--fullscreen", "--windowed", SettingKind::Switch,
         "Full screen on the primary monitor, at the monitor's own size", storeFullscreen,
         showFullscreen},
        {"vsync", "--vsync", "--no-vsync", SettingKind::Switch,
         "Wait for the display's refresh before each new frame", storeVsync, showVsync},
        {"samples", "--samples", nullptr, SettingKind::Whole,
         "Antialiasing samples: 0 (none), 2, 4 or 8", storeSamples, showSamples},
        {"shadow_map", "--shadow-map", nullptr, SettingKind::Whole,
         "Shadow map size: a power of two from 512 to 8192", storeShadowMap, showShadowMap},
        {"water_map", "--water-map", nullptr, SettingKind::Whole,
         "Water reflection size: a power of two from 128 to 1024", storeWaterMap, showWaterMap},
        {"texture_filter", "--texture-filter", nullptr, SettingKind::Choice,
         "Texture filter at start (F4 switches): bilinear or nearest", storeTextureFilter,
         showTextureFilter},
        {"mipmaps", "--mipmaps", nullptr, SettingKind::Choice,
         "Mipmaps at start (F5 cycles): off, nearest or linear", storeMipmaps, showMipmaps},
        {"anisotropy", "--anisotropy", nullptr, SettingKind::Whole,
         "Anisotropic filtering: 1 (off), 2, 4, 8 or 16; 0 takes the driver's maximum",
         storeAnisotropy, showAnisotropy},
        {"music_volume", "--music-volume", nullptr, SettingKind::Fraction,
         "Music volume from 0.0 (silent) to 1.0", storeMusicVolume, showMusicVolume},
        {"quality", "--quality", nullptr, SettingKind::Choice,
         "Picture quality: auto (holds the target frame rate), full, high, medium or low",
         storeQuality, showQuality},
        {"target_fps", "--target-fps", nullptr, SettingKind::Whole,
         "Frame rate auto quality holds: 10 to 240", storeTargetFps, showTargetFps},
        {"render_scale", "--render-scale", nullptr, SettingKind::Fraction,
         "3D picture's size as a share of the window's, 0.5 to 1.0", storeRenderScale,
         showRenderScale},
        {"sound_volume", "--sound-volume", nullptr, SettingKind::Fraction,
         "Sound effects volume from 0.0 (silent) to 1.0", storeSoundVolume, showSoundVolume},
        {"ghost", "--ghost", nullptr, SettingKind::Choice,
         "The ghost beside the player: best (the best race kept), off, or a replay file",
         storeGhost, showGhost},
    };
    return rules;
}
