#include "RaceDriver.h"

#include <algorithm>
#include <cmath>

#include "levelgen/CourseRoute.h"
#include "platform/Keys.h"

namespace {

const float keyAcceleration = 24.0f;
const float drag = 0.45f;
// How hard the driver is willing to corner and brake (the keys give 24).
const float corneringLimit = 9.0f;
const float brakingLimit = 11.0f;
const float pi = 3.14159265f;

glm::vec2 flat(const glm::vec3& v) {
    return glm::vec2(v.x, v.z);
}

float angleBetween(const glm::vec2& a, const glm::vec2& b) {
    return std::acos(glm::clamp(glm::dot(a, b), -1.0f, 1.0f));
}

} // namespace

RaceDriver::RaceDriver(const std::vector<glm::vec3>& waypoints, int barrierWait, int sawWait,
                       const glm::vec3& barrierPosition, const glm::vec3& sawPosition) {
    float total = 0.0f;
    for (const glm::vec3& w : waypoints) {
        if (!points.empty())
            total += glm::length(flat(w) - points.back());
        points.push_back(flat(w));
        distances.push_back(total);
    }
    barrier.at = locate(barrierPosition);
    barrier.halfZone = 1.9f; // half the wall's thickness, the marble's radius and a margin
    barrier.waitWaypoint = barrierWait;
    barrier.goSpeed = 12.0f;
    saw.at = locate(sawPosition);
    saw.halfZone = 1.6f; // the blade's reach along the route, and a margin
    saw.waitWaypoint = sawWait;
    saw.goSpeed = 12.0f;
}

void RaceDriver::restart() {
    along = 0.0f;
    segment = 0;
    waiting = false;
    barrier.cleared = saw.cleared = false;
    barrier.going = saw.going = false;
}

float RaceDriver::project(const glm::vec2& p, int from, int to, int& best) const {
    float bestDistance = 1e30f, bestAlong = 0.0f;
    best = from;
    for (int i = from; i <= to; ++i) {
        glm::vec2 a = points[i], b = points[i + 1];
        float length = distances[i + 1] - distances[i];
        float f = length > 0.0f ? glm::clamp(glm::dot(p - a, b - a) / (length * length), 0.0f, 1.0f)
                                : 0.0f;
        float d = glm::length(p - (a + f * (b - a)));
        if (d < bestDistance) {
            bestDistance = d;
            bestAlong = distances[i] + f * length;
            best = i;
        }
    }
    return bestAlong;
}

float RaceDriver::locate(const glm::vec3& p) const {
    int ignored = 0;
    return project(flat(p), 0, static_cast<int>(points.size()) - 2, ignored);
}

glm::vec2 RaceDriver::pointAt(float s) const {
    s = glm::clamp(s, 0.0f, distances.back());
    size_t i = std::upper_bound(distances.begin(), distances.end(), s) - distances.begin();
    i = std::min(std::max<size_t>(i, 1), points.size() - 1);
    float span = distances[i] - distances[i - 1];
    float f = span > 0.0f ? (s - distances[i - 1]) / span : 0.0f;
    return points[i - 1] + f * (points[i] - points[i - 1]);
}

glm::vec2 RaceDriver::tangentAt(float s) const {
    glm::vec2 d = pointAt(s + 1.0f) - pointAt(s - 1.0f);
    return glm::length(d) > 0.0f ? glm::normalize(d) : glm::vec2(1.0f, 0.0f);
}

// The fastest speed from which every bend in the next stretch can still be taken.
float RaceDriver::safeSpeed(float s) const {
    float v = cruiseSpeed;
    for (float d = 0.0f; d <= 40.0f; d += 3.0f) {
        float bend = angleBetween(tangentAt(s + d - 6.0f), tangentAt(s + d + 6.0f)) / 12.0f;
        if (bend < 1e-4f)
            continue;
        float cornering = std::sqrt(corneringLimit / bend);
        v = std::min(v, std::sqrt(cornering * cornering + 2.0f * brakingLimit * d));
    }
    return v;
}

RaceDriver::Obstacle* RaceDriver::nextObstacle() {
    Obstacle* next = nullptr;
    for (Obstacle* o : {&barrier, &saw}) {
        if (!o->cleared && along > o->at + o->halfZone + 2.0f)
            o->cleared = true;
        if (!o->cleared && (next == nullptr || o->at < next->at))
            next = o;
    }
    return next;
}

// Would a run from here at the obstacle's speed pass it while it is open? The deadly test
// looks at where the marble stands at the start of each frame, so those are the places
// (and moments) that must be safe.
bool RaceDriver::mayCross(const Obstacle& o, const DriverView& view, double speed) const {
    const double dt = view.frameTime;
    if (!(dt > 0.0))
        return false;
    const double from = o.at - o.halfZone - along, to = o.at + o.halfZone - along;
    const double margin = 0.06;
    // Where the saw stands in its two-second swing, from its height and direction.
    const double swing = std::acos(glm::clamp(view.sawHeight / 2.0f, -1.0f, 1.0f)) / pi;
    const double sawTime = sawRising ? 2.0 - swing : swing;
    auto open = [&](double t) {
        if (&o == &barrier) {
            double phase = view.barrierPhase + t / level::barrierLoopSeconds;
            phase -= std::floor(phase);
            return phase >= level::barrierOpenFrom || phase < level::barrierOpenUntil;
        }
        // The saw is moved before the step, so a frame sees it one frame on.
        return std::cos(pi * (sawTime + t + dt)) > 0.55;
    };
    double v = speed, x = 0.0;
    for (int k = 0; k < 100000 && x <= to; ++k) {
        const double t = k * dt;
        if (x >= from && !(open(t - margin) && open(t) && open(t + margin)))
            return false;
        v = std::min<double>(o.goSpeed, v + (keyAcceleration - drag * v) * dt);
        x += v * dt;
    }
    return true;
}

int RaceDriver::keysFor(const glm::vec2& wanted, const glm::vec2& f) const {
    const glm::vec2 forward = f, left(f.y, -f.x), back = -f, right(-f.y, f.x);
    struct Choice {
        glm::vec2 direction;
        int keys;
    };
    const Choice choices[8] = {
        {forward, 1}, {forward + left, 3}, {left, 2},  {left + back, 6},
        {back, 4},    {back + right, 12},  {right, 8}, {right + forward, 9},
    };
    const glm::vec2 w = glm::normalize(wanted);
    int best = 0;
    float bestDot = -2.0f;
    for (const Choice& c : choices) {
        float d = glm::dot(glm::normalize(c.direction), w);
        if (d > bestDot) {
            bestDot = d;
            best = c.keys;
        }
    }
    return best;
}

void RaceDriver::drive(const DriverView& view, ScriptedKeys& keys) {
    const glm::vec2 position = flat(view.marble);
    const float dt = static_cast<float>(view.frameTime);
    const int last = static_cast<int>(points.size()) - 2;
    if (!seenBefore) {
        lastPosition = position;
        seenBefore = true;
        along = project(position, 0, last, segment);
    }
    if (glm::length(position - points.front()) < 2.0f && along > 20.0f)
        restart(); // put back at the start after a lost life
    glm::vec2 velocity = dt > 0.0f ? (position - lastPosition) / dt : glm::vec2(0.0f);
    if (glm::length(velocity) > 80.0f)
        velocity = glm::vec2(0.0f);
    lastPosition = position;
    along = project(position, std::max(0, segment - 3), std::min(last, segment + 8), segment);
    sawRising = view.sawHeight > lastSawHeight;
    lastSawHeight = view.sawHeight;
    const float speed = glm::length(velocity);
    // Speed along the route: positive toward the finish.
    const float onward = glm::dot(velocity, tangentAt(along));
    // One key press changes the speed by this much: nothing finer can be asked for.
    const float quantum = keyAcceleration * dt;

    float wantedSpeed = safeSpeed(along);
    bool holding = false;
    if (Obstacle* o = heedObstacles ? nextObstacle() : nullptr) {
        const float stopAt = distances[o->waitWaypoint];
        if (!o->going) {
            const float ahead = stopAt - along;
            if (ahead < 1.0f && speed < std::max(0.4f, 0.6f * quantum))
                waiting = true;
            wantedSpeed = std::min(wantedSpeed,
                                   std::sqrt(2.0f * brakingLimit * std::max(0.0f, ahead - 0.3f)));
            if (waiting) {
                holding = true;
                if (mayCross(*o, view, onward)) {
                    o->going = true;
                    waiting = false;
                    holding = false;
                }
            }
        }
        if (o->going)
            wantedSpeed = o->goSpeed;
    }
    if (holding) {
        // Stand still, and rather creep back than on toward the obstacle.
        int mask = 0;
        glm::vec2 forward = position - flat(view.eye);
        bool creepingOn = onward > 0.15f;
        bool drifting = speed > 0.5f * quantum;
        if ((creepingOn || drifting) && glm::length(forward) > 0.0f && speed > 0.0f)
            mask = keysFor(-velocity, glm::normalize(forward));
        setKeys(keys, mask);
        return;
    }

    const float lookAhead = glm::clamp(3.0f + 0.45f * speed, 4.0f, 10.0f);
    glm::vec2 toTarget = pointAt(along + lookAhead) - position;
    glm::vec2 wanted =
        glm::length(toTarget) > 0.0f ? wantedSpeed * glm::normalize(toTarget) : glm::vec2(0.0f);
    glm::vec2 change = wanted - velocity;

    int mask = 0;
    glm::vec2 forward = position - flat(view.eye);
    if (glm::length(change) > 0.5f * quantum && glm::length(forward) > 0.0f)
        mask = keysFor(change, glm::normalize(forward));
    setKeys(keys, mask);
}

void RaceDriver::setKeys(ScriptedKeys& keys, int mask) {
    keys.set(GLFW_KEY_W, mask & 1);
    keys.set(GLFW_KEY_A, mask & 2);
    keys.set(GLFW_KEY_S, mask & 4);
    keys.set(GLFW_KEY_D, mask & 8);
}
