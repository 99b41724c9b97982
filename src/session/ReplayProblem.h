#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Why the replay reader refused a file, as a value: the console and the pause menu each put
// it in their own words.
struct ReplayProblem {
    enum class Kind {
        None,
        CannotOpen, // error
        CannotRead, // error
        Empty,
        NotAReplay,
        Truncated,         // record: the one the file ends inside, 0 for the header
        FormatVersion,     // number: the file's format version
        GameVersionLength, // number: the byte count the header gives
        SimulationVersion, // number: one this game does not run
        CourseName,        // number: the course name's byte count
        OtherLevel,
        TooManyRecords,
        UnknownKind, // record, number: the kind
        Impossible,  // record, detail: what no race could make of it
    };

    Kind kind = Kind::None;
    // Records count from 1; 0 stands for the header.
    size_t record = 0;
    uint64_t number = 0;
    // errno of a failed open or read.
    int error = 0;
    std::string detail;

    bool refused() const { return kind != Kind::None; }
    // The one line the console prints, naming the file, e.g.
    //   Replay "x.qbr" cannot be played: it was recorded on another level (level data differs)
    std::string consoleLine(const std::string& path) const;
    // What the pause menu shows beside a replay it cannot offer: the reason alone, e.g.
    //   It was recorded on another level (level data differs)
    std::string menuLine() const;
};
