#include "TextCounts.h"

int countOf(const std::string& text, const std::string& what) {
    int count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

int lineCount(const std::string& text) {
    return countOf(text, "\n");
}
