#pragma once

#include <string>

// Finding the data tree (shader/, texture/, models/, data/) the game reads by relative paths.

// The places looked in, in this order; an empty one is skipped.
struct DataPlaces {
    std::string option;      // --data
    std::string environment; // $QUILLORB_DATA
    std::string installed;   // the installed data directory
    std::string working;     // the working directory
};

// Where an installed game keeps its data tree: <prefix>/share/games/quillorb beside the
// program when it holds the tree, else under the prefix the game was built for.
std::string installedDataDirectory();

// True when dir has, in each of the four folders, a file the game cannot start without.
bool holdsDataTree(const std::string& dir);

// The data tree, as an absolute path. A place the player named (--data, else $QUILLORB_DATA)
// is the only one looked in; otherwise the first of the installed and the working directory
// that holds the tree. When none does: one line naming the named place and what it lacks, or
// each searched folder that is the tree but for some of its files and those files, or else
// every place looked in; and an empty result.
std::string findDataDirectory(const DataPlaces& places);

// The file a replay option names, once the tree is known: a bare name the command line kept
// ("demo") is dataDir/replays/demo.qbr, so the demo plays wherever the game is installed; an
// absolute path, or nothing, stays as it is.
std::string replayInDataTree(const std::string& replay, const std::string& dataDir);
