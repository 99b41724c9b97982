#pragma once

#include <string>

// A fresh scratch folder for files a test writes (fixtures), removed at process exit.
std::string scratchDir();
// Writes text to scratchDir()/name and returns the full path.
std::string writeScratchFile(const std::string& name, const std::string& text);
// The game's working-directory tree (shader/, texture/, models/, data/).
std::string runDir();
