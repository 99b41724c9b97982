#pragma once

#include <string>
#include <vector>

#include "settings/GameOptions.h"

// The options screen's lines over the game's options: what each shows and how Left and Right
// change it, through the same rules the settings file and the command line use. A setting the
// command line gave holds for the run and does not change here. It remembers what the player
// changed since the last save, so that only that is written back.
class OptionsMenu {
  public:
    enum class Line {
        Quality,
        TargetFps,
        MusicVolume,
        SoundVolume,
        Ghost,
        Fullscreen,
        Vsync,
        FrameRate,
        Back
    };
    static constexpr int lineCount = 9;

    // showFps: the frame-rate line (F2), which holds for the run and is no setting.
    OptionsMenu(const GameOptions& options, bool showFps);

    std::string label(Line line) const;
    // The value as the player reads it, "from the command line" when it was given there.
    std::string value(Line line) const;
    // A line whose value the command line gave.
    bool isLocked(Line line) const;
    // One step to the left (-1) or right (+1), at once; the last choice leads back to the
    // first. False when nothing changed (a locked line, Back).
    bool change(Line line, int direction);

    const GameOptions& options() const { return current; }
    bool showFps() const { return frameRateShown; }
    // The settings-file keys whose values differ from those at the last markSaved().
    std::vector<std::string> changedKeys() const;
    void markSaved() { saved = current; }

  private:
    GameOptions current;
    GameOptions saved;
    bool frameRateShown;
};

// The settings-file key a line changes, or nullptr for a line that is no setting.
const char* settingKey(OptionsMenu::Line line);
