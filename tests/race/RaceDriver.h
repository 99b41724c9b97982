#pragma once

#include <vector>

#include <glm/glm.hpp>

#include "platform/ScriptedKeys.h"

// What a player sees in one frame: where the marble and the camera are, how long frames
// take, and the two moving obstacles (how far the barrier is through its loop, how high
// the saw stands).
struct DriverView {
    glm::vec3 marble{0.0f};
    glm::vec3 eye{0.0f};
    double frameTime = 0.0;
    float barrierPhase = 0.0f;
    float sawHeight = 0.0f;
};

// A scripted player: follows the route's waypoints with W, A, S and D only, steering
// relative to the camera, braking for bends, and stopping before the barrier and the saw
// until the obstacle will let it through.
class RaceDriver {
  public:
    struct Obstacle {
        float at = 0.0f;       // where along the route it stands
        float halfZone = 0.0f; // how far either side of it the marble is in danger
        int waitWaypoint = 0;  // where to stop and watch it
        float goSpeed = 12.0f; // the speed to cross at
        bool going = false;    // on the way across
        bool cleared = false;  // behind the marble
    };

    RaceDriver(const std::vector<glm::vec3>& waypoints, int barrierWait, int sawWait,
               const glm::vec3& barrierPosition, const glm::vec3& sawPosition);

    // Decides this frame's keys and sets them.
    void drive(const DriverView& view, ScriptedKeys& keys);

    // Top speed on open road; the driver slows for bends below it.
    void setCruiseSpeed(float speed) { cruiseSpeed = speed; }
    // A careless driver neither stops for nor times the obstacles.
    void setHeedObstacles(bool heed) { heedObstacles = heed; }
    // Forgets the progress (after the marble was put back at the start).
    void restart();

    float progress() const { return along; }
    float routeLength() const { return distances.back(); }
    bool isWaiting() const { return waiting; }
    // Where along the route a world point lies (its nearest point on the route).
    float locate(const glm::vec3& p) const;

  private:
    glm::vec2 pointAt(float s) const;
    glm::vec2 tangentAt(float s) const;
    float project(const glm::vec2& p, int from, int to, int& segment) const;
    float safeSpeed(float s) const;
    Obstacle* nextObstacle();
    bool mayCross(const Obstacle& obstacle, const DriverView& view, double speed) const;
    int keysFor(const glm::vec2& wanted, const glm::vec2& forward) const;
    static void setKeys(ScriptedKeys& keys, int mask);

    std::vector<glm::vec2> points;
    std::vector<float> distances;
    Obstacle barrier, saw;
    float cruiseSpeed = 13.0f;
    bool heedObstacles = true;

    float along = 0.0f;
    int segment = 0;
    bool waiting = false;
    bool seenBefore = false;
    glm::vec2 lastPosition{0.0f};
    float lastSawHeight = 0.0f;
    bool sawRising = false;
};
