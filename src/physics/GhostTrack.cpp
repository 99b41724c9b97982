#include "physics/GhostTrack.h"

#include <algorithm>

#include <glm/gtc/matrix_transform.hpp>

void GhostTrack::add(double raceTime, const glm::mat4& marble) {
    if (!times.empty() && !(raceTime > times.back()))
        return;
    times.push_back(raceTime);
    positions.push_back(glm::vec3(marble[3]));
    rotations.push_back(glm::quat_cast(glm::mat3(marble)));
}

void GhostTrack::clear() {
    times.clear();
    positions.clear();
    rotations.clear();
}

glm::mat4 GhostTrack::at(double raceTime) const {
    if (times.empty())
        return glm::mat4(1.0f);
    size_t after = std::upper_bound(times.begin(), times.end(), raceTime) - times.begin();
    size_t last = times.size() - 1;
    size_t from = after == 0 ? 0 : std::min(after - 1, last);
    size_t to = std::min(after, last);
    float blend = 0.0f;
    if (to != from)
        blend = static_cast<float>((raceTime - times[from]) / (times[to] - times[from]));
    // A step's own time gives that step exactly, so the ghost is where the marble was.
    glm::vec3 position =
        blend == 0.0f ? positions[from] : glm::mix(positions[from], positions[to], blend);
    glm::quat rotation =
        blend == 0.0f ? rotations[from] : glm::slerp(rotations[from], rotations[to], blend);
    return glm::translate(glm::mat4(1.0f), position) * glm::mat4_cast(rotation);
}
