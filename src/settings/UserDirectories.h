#pragma once

#include <string>

// Where the game keeps files of its own for the player, after the XDG base directory rules:
// an environment variable when it holds an absolute path (empty or relative ones are to be
// ignored), else the usual folder under the home folder ($HOME, or the password database
// when HOME is unset). Paths come without a trailing '/'; empty only when no home is known.

// $XDG_DATA_HOME, else ~/.local/share: data the game writes (replays, best times).
std::string dataHome();
// $XDG_CONFIG_HOME, else ~/.config: settings the player may edit.
std::string configHome();
// $XDG_STATE_HOME, else ~/.local/state: what the game learns about the machine.
std::string stateHome();

// Where a race is recorded when no file is given: dataHome()/quillorb/replays/last.qbr, or
// empty when dataHome() is.
std::string defaultReplayPath();
// The best times, $XDG_DATA_HOME/quillorb/best-times.toml, else under $HOME/.local/share (not
// the password database's home: best times were never kept there), else empty; and the best
// race beside them, best.qbr.
std::string bestTimesPath();
std::string bestRacePath();
