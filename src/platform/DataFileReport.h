#pragma once

#include <string>

// The one line a player reads when a data file cannot be used: `Data file "<path>": <problem>`.
// A file is named once per run however often it is loaded (the level textures reload on every
// filter change). A file that is missing or cannot be read is reported as exactly that, whatever
// the loader made of its content, so every loader words those two cases alike.
void reportBrokenDataFile(const char* path, const std::string& contentProblem);

// Starts a new run as far as the reports go: the files already named may be named again.
void forgetReportedDataFiles();
