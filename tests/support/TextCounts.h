#pragma once

#include <string>

// How often what occurs in text, overlapping occurrences included: a message the game must
// print exactly once, or a file that must be named once a run.
inline int countOf(const std::string& text, const std::string& what) {
    int count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

// The number of line ends in text: "one line" means exactly one.
inline int lineCount(const std::string& text) {
    return countOf(text, "\n");
}
