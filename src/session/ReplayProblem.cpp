#include "session/ReplayProblem.h"

#include <cctype>
#include <cstring>

#include "session/Replay.h"
#include "session/ReplayFormat.h"

namespace {

std::string recordName(size_t record) {
    return record == 0 ? "its header" : "record " + std::to_string(record);
}

std::string reason(const ReplayProblem& problem) {
    using Kind = ReplayProblem::Kind;
    const std::string number = std::to_string(problem.number);
    switch (problem.kind) {
    case Kind::None:
        return "";
    case Kind::CannotOpen:
        return std::string("it cannot be opened (") + std::strerror(problem.error) + ")";
    case Kind::CannotRead:
        return std::string("it cannot be read (") + std::strerror(problem.error) + ")";
    case Kind::Empty:
        return "the file is empty";
    case Kind::NotAReplay:
        return "it is not a Quillorb replay";
    case Kind::Truncated:
        return "it is truncated: the file ends inside " + recordName(problem.record);
    case Kind::FormatVersion:
        return "it has replay format version " + number + "; this game plays version " +
               std::to_string(replayFormatVersion);
    case Kind::GameVersionLength:
        return "its header is damaged (a game version of " + number + " bytes)";
    case Kind::SimulationVersion:
        if (problem.number == 0)
            return "its header is damaged (simulation version 0)";
        return "it was recorded under simulation version " + number +
               "; this game runs versions 1 to " +
               std::to_string(static_cast<int>(currentSimulationVersion));
    case Kind::CourseName:
        if (problem.number > maxReplayCourseBytes)
            return "its header is damaged (a course name of " + number + " bytes)";
        return "its header is damaged (a course name with characters other than a-z, 0-9 "
               "and -)";
    case Kind::OtherLevel:
        return "it was recorded on another level (level data differs)";
    case Kind::TooManyRecords:
        return "it holds more than " + std::to_string(maxReplayRecords) +
               " records, more than any race";
    case Kind::UnknownKind:
        return recordName(problem.record) + " is of unknown kind " + number +
               " (the file is damaged)";
    case Kind::Impossible:
        return recordName(problem.record) + " is impossible: " + problem.detail;
    }
    return "";
}

} // namespace

std::string ReplayProblem::consoleLine(const std::string& path) const {
    return "Replay \"" + path + "\" cannot be played: " + reason(*this);
}

// The menu's line has room for the reason alone: the player chose the file by its name.
std::string ReplayProblem::menuLine() const {
    std::string why = reason(*this);
    if (!why.empty())
        why[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(why[0])));
    return why;
}
