#pragma once

#include <cstdint>
#include <string>

// A fingerprint of the level as the race sees it, so that a replay is only played on the
// level it was recorded on: FNV-1a (64 bits) over every file under dataDir/models/ (the
// meshes the marble rolls on and collides with), in the order of their paths relative to
// dataDir, each path and its bytes. Pictures and sounds do not change a race and are left
// out. A missing or unreadable models/ folder gives the hash of no files; it never fails.
uint64_t hashLevelData(const std::string& dataDir = ".");
