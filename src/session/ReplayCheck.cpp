#include "session/ReplayCheck.h"

#include <cmath>
#include <iomanip>
#include <sstream>

namespace {

// The same build replays a race bit for bit, but a build by another compiler, with other
// optimisation or on another processor may round the last bits differently (fused multiply-adds,
// another libm) without the race going another way. A race that does go another way (another
// bounce, a lost life) moves the marble by far more than these.
constexpr double raceTimeTolerance = 1e-6; // seconds
constexpr float positionTolerance = 1e-4f; // level units

bool sameRace(const ReplayRecord& recorded, const ReplayRecord& replayed) {
    if (recorded.kind != replayed.kind ||
        !(std::fabs(recorded.raceTime - replayed.raceTime) <= raceTimeTolerance))
        return false;
    for (int axis = 0; axis < 3; ++axis) {
        if (!(std::fabs(recorded.position[axis] - replayed.position[axis]) <= positionTolerance))
            return false;
    }
    return recorded.kind != ReplayRecord::Kind::End ||
           (recorded.outcome == replayed.outcome && recorded.lives == replayed.lives);
}

} // namespace

void ReplayCheck::compare(const ReplayRecord& recorded, const ReplayRecord& replayed) {
    compared = true;
    if (differed || sameRace(recorded, replayed))
        return;
    differed = true;
    differenceTime = recorded.raceTime;
}

std::string ReplayCheck::verdict(const std::string& file) const {
    std::ostringstream line;
    line << "Replay \"" << file << "\": ";
    if (!compared)
        line << "holds no checks, so it cannot be checked";
    else if (differed)
        line << "went another way at race time " << std::fixed << std::setprecision(2)
             << differenceTime << " s";
    else
        line << "ended as recorded";
    return line.str();
}
