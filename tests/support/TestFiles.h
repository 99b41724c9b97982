#pragma once

#include <string>

// A fresh scratch folder for files a test writes (fixtures), removed at process exit.
std::string scratchDir();
// scratchDir()/name, emptied: a test that runs again in the same process (--gtest_repeat) or
// after another test that used the name finds nothing left from before.
std::string freshScratchDir(const std::string& name);
// Writes text to scratchDir()/name and returns the full path.
std::string writeScratchFile(const std::string& name, const std::string& text);
// The game's working-directory tree (shader/, texture/, models/, data/).
std::string runDir();
