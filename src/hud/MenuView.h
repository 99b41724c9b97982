#pragma once

#include <string>
#include <vector>

// What one page of the pause menu shows: a title, rows to read (the best times), the lines to
// choose from with the chosen one, the keys that work there and a message line.
struct MenuView {
    struct Line {
        std::string text;
        // Why the line cannot be chosen, drawn under it; "" for none.
        std::string detail;
        // A line that cannot be chosen (or changed) is drawn grey.
        bool enabled = true;
    };
    std::string title;
    std::vector<std::string> rows;
    std::vector<Line> lines;
    int chosen = 0;
    std::string keys;
    std::string message;
};
