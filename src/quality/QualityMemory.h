#pragma once

#include <string>

#include "settings/QualityRung.h"

// Where automatic quality settled, remembered between runs in a small TOML file for each
// machine and window: the GL renderer, the GL version and the window size make the key. Like
// every file the game keeps for itself, it never stops the game: a file that cannot be read,
// parsed or written costs one warning line naming it, and the game starts at full.
class QualityMemory {
  public:
    struct Key {
        std::string renderer;
        std::string version;
        int width = 0;
        int height = 0;
    };

    explicit QualityMemory(std::string path);

    // The rung remembered for this key; full when there is none (a first run, another machine
    // or window size) or the file is of no use.
    QualityRung recall(const Key& key) const;
    // Keeps the rung for this key beside the other keys' rungs. The file is written whole to
    // <path>.tmp and renamed over the old one, with its folders made as needed. False, with a
    // warning, when it cannot be.
    bool remember(const Key& key, QualityRung rung) const;

    const std::string& path() const { return filePath; }

    // $XDG_STATE_HOME/quillorb/quality.toml, else ~/.local/state/quillorb/quality.toml; ""
    // when neither folder is known.
    static std::string defaultPath();

  private:
    std::string filePath;
};
