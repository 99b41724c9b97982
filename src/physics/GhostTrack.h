#pragma once

#include <vector>

#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>

// Where a race's marble was at each simulation step, by race time: enough to show that race
// again beside another one. It is only data; whoever fills it decides how the race was run.
class GhostTrack {
  public:
    // One step's end: its race time and the marble's transform then. Times must not go back;
    // a step that adds no time (the race was already over) is not kept.
    void add(double raceTime, const glm::mat4& marble);
    void clear();
    bool empty() const { return times.empty(); }
    size_t size() const { return times.size(); }
    double endTime() const { return times.empty() ? 0.0 : times.back(); }

    // The marble's transform at raceTime, between two steps a blend of both; before the
    // first step where it began, and once its race is over where it ended.
    glm::mat4 at(double raceTime) const;

  private:
    std::vector<double> times;
    std::vector<glm::vec3> positions;
    std::vector<glm::quat> rotations;
};
