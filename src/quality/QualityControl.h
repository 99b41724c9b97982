#pragma once

#include <memory>
#include <string>

#include "quality/QualityGovernor.h"
#include "quality/QualityMemory.h"
#include "settings/GameOptions.h"

// The rung the game draws at. A fixed --quality draws its rung and nothing moves it; auto
// starts where it settled the last time on this machine and window (or at full), lets the
// governor move it with every drawn frame, remembers where it settles and tells the player
// in one line whenever it settles at another rung than the run started at or last told: the
// rung, the rate it drew and whether that meets the target, and what the picture gave up.
class QualityControl {
  public:
    explicit QualityControl(const GameOptions& options);

    // Auto starts at the rung `memory` holds for `key` and keeps where it settles there.
    void useMemory(std::unique_ptr<QualityMemory> memory, const QualityMemory::Key& key);

    // One drawn frame's time in seconds; true when the rung changed and its settings are to
    // be applied.
    bool frame(double seconds);

    QualityRung rung() const { return current; }
    // The settings of the rung, with the aspects the player pinned as he gave them.
    QualitySettings settings() const { return qualityAt(options, current); }
    bool isAuto() const { return governor != nullptr; }

    // The one line for a settled rung: its name, the rate measured there and whether that
    // meets the target; below full, what it gives up against full and how to get it back.
    static std::string notice(const GameOptions& options, QualityRung rung, double measuredFps,
                              bool meetsTarget);

  private:
    GameOptions options;
    QualityRung current;
    std::unique_ptr<QualityGovernor> governor;
    std::unique_ptr<QualityMemory> memory;
    QualityMemory::Key key;
    // The rung the player knows of: where the run started, or the last one told.
    QualityRung known;
};
