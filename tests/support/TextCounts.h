#pragma once

#include <string>

// How often what occurs in text, overlapping occurrences included: a message the game must
// print exactly once, or a file that must be named once a run.
int countOf(const std::string& text, const std::string& what);

// The number of line ends in text: "one line" means exactly one.
int lineCount(const std::string& text);
