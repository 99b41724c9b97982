#include "settings/OptionsMenu.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iterator>

#include "settings/SettingRules.h"

namespace {

using Line = OptionsMenu::Line;

const char* const qualityChoices[] = {"auto", "full", "high", "medium", "low"};
// The refresh rates displays come with, and a few steps below them for slow machines.
const int frameRates[] = {20, 30, 45, 60, 75, 90, 120, 144, 165, 240};

const SettingRule* ruleFor(Line line) {
    const char* key = settingKey(line);
    for (const SettingRule& rule : settingRules()) {
        if (key && std::string(key) == rule.key)
            return &rule;
    }
    return nullptr;
}

std::string unquoted(std::string text) {
    if (text.size() >= 2 && text.front() == '"')
        text = text.substr(1, text.size() - 2);
    return text;
}

// The next of the choices from the current one (or the first, for one not among them).
template <size_t count>
std::string nextChoice(const char* const (&choices)[count], const std::string& now, int direction) {
    auto at = std::find(std::begin(choices), std::end(choices), now);
    if (at == std::end(choices))
        return choices[0];
    const int index = static_cast<int>(at - std::begin(choices));
    const int n = static_cast<int>(count);
    return choices[((index + direction) % n + n) % n];
}

// Tenths: a volume set by hand between two steps goes to the step on the side asked for.
std::string nextVolume(double volume, int direction) {
    const double tenths = volume * 10.0;
    double step = direction > 0 ? std::floor(tenths + 1e-6) + 1.0 : std::ceil(tenths - 1e-6) - 1.0;
    step = std::clamp(step, 0.0, 10.0);
    return std::to_string(step / 10.0);
}

std::string nextFrameRate(int now, int direction) {
    if (direction > 0) {
        for (int rate : frameRates)
            if (rate > now)
                return std::to_string(rate);
        return std::to_string(frameRates[0]);
    }
    for (auto rate = std::rbegin(frameRates); rate != std::rend(frameRates); ++rate)
        if (*rate < now)
            return std::to_string(*rate);
    return std::to_string(*std::rbegin(frameRates));
}

std::string percent(double volume) {
    return std::to_string(static_cast<int>(std::lround(volume * 100.0))) + " %";
}

} // namespace

const char* settingKey(OptionsMenu::Line line) {
    switch (line) {
    case Line::Quality:
        return "quality";
    case Line::TargetFps:
        return "target_fps";
    case Line::MusicVolume:
        return "music_volume";
    case Line::SoundVolume:
        return "sound_volume";
    case Line::Ghost:
        return "ghost";
    case Line::Fullscreen:
        return "fullscreen";
    case Line::Vsync:
        return "vsync";
    case Line::FrameRate:
    case Line::Back:
        break;
    }
    return nullptr;
}

OptionsMenu::OptionsMenu(const GameOptions& options, bool showFps)
    : current(options), saved(options), frameRateShown(showFps) {}

std::string OptionsMenu::label(Line line) const {
    static const char* const labels[lineCount] = {
        "Quality", "Target frame rate", "Music volume", "Sound volume", "Ghost", "Display",
        "Vsync",   "Frame rate",        "Back"};
    return labels[static_cast<int>(line)];
}

std::string OptionsMenu::value(Line line) const {
    std::string shown;
    switch (line) {
    case Line::Quality:
        shown = current.qualityAuto ? "auto" : rungName(current.quality);
        break;
    case Line::TargetFps:
        shown = std::to_string(current.targetFps) + " fps";
        break;
    case Line::MusicVolume:
        shown = percent(current.musicVolume);
        break;
    case Line::SoundVolume:
        shown = percent(current.soundVolume);
        break;
    case Line::Ghost:
        shown = current.ghost == "best" || current.ghost == "off"
                    ? current.ghost
                    : std::filesystem::path(current.ghost).filename().string();
        break;
    case Line::Fullscreen:
        shown = current.fullscreen ? "full screen" : "window";
        break;
    case Line::Vsync:
        shown = current.vsync ? "on" : "off";
        break;
    case Line::FrameRate:
        shown = frameRateShown ? "shown" : "hidden";
        break;
    case Line::Back:
        break;
    }
    return isLocked(line) ? shown + " (from the command line)" : shown;
}

bool OptionsMenu::isLocked(Line line) const {
    const char* key = settingKey(line);
    return key && current.commandLineKeys.count(key) != 0;
}

bool OptionsMenu::change(Line line, int direction) {
    if (line == Line::FrameRate) {
        frameRateShown = !frameRateShown;
        return true;
    }
    const SettingRule* rule = ruleFor(line);
    if (!rule || isLocked(line) || direction == 0)
        return false;
    const std::string now = unquoted(rule->show(current));
    std::string next;
    switch (line) {
    case Line::Quality:
        next = nextChoice(qualityChoices, now, direction);
        break;
    case Line::TargetFps:
        next = nextFrameRate(current.targetFps, direction);
        break;
    case Line::MusicVolume:
        next = nextVolume(current.musicVolume, direction);
        break;
    case Line::SoundVolume:
        next = nextVolume(current.soundVolume, direction);
        break;
    case Line::Ghost: {
        static const char* const ghostChoices[] = {"best", "off"};
        next = nextChoice(ghostChoices, now, direction);
        break;
    }
    case Line::Fullscreen:
    case Line::Vsync:
        next = now == "true" ? "false" : "true";
        break;
    case Line::FrameRate:
    case Line::Back:
        return false;
    }
    rule->store(current, next);
    return unquoted(rule->show(current)) != now;
}

std::vector<std::string> OptionsMenu::changedKeys() const {
    std::vector<std::string> keys;
    for (int index = 0; index < lineCount; ++index) {
        const SettingRule* rule = ruleFor(static_cast<Line>(index));
        if (rule && rule->show(current) != rule->show(saved))
            keys.push_back(rule->key);
    }
    return keys;
}
