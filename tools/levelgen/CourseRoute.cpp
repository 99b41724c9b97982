#include "CourseRoute.h"

#include "level/LevelTable.h"

#include <algorithm>
#include <cmath>

namespace level {

namespace {

struct Control {
    float x, z, halfWidth;
};

// The route as laid out on the map. The first point lies behind the start so the route
// leaves the start pad in the direction W first rolls, (-0.666, 0, 0.746).
const Control controls[] = {
    {33.33f, -343.97f, 8.0f}, // 0: back of the start pad
    {28.0f, -338.0f, 8.0f},   // 1: start
    {19.0f, -328.0f, 7.0f},   {6.0f, -322.5f, 6.0f},   {-6.0f, -330.0f, 6.0f},
    {-18.0f, -338.0f, 6.0f}, // 5: straight toward the barrier
    {-31.0f, -338.0f, 6.0f}, // 6: stop barrier
    {-44.0f, -338.0f, 6.0f},  {-56.0f, -333.0f, 5.5f}, {-63.0f, -320.0f, 5.5f},
    {-65.0f, -300.0f, 5.5f},  {-63.0f, -280.0f, 5.5f}, {-57.0f, -262.0f, 5.5f},
    {-50.0f, -246.0f, 5.5f}, // 13: plateau edge
    {-42.0f, -225.0f, 5.5f}, // 14: the descent begins
    {-33.0f, -190.0f, 5.5f},  {-26.0f, -155.0f, 5.5f}, {-16.0f, -122.0f, 5.5f},
    {2.0f, -98.0f, 5.5f},     {26.0f, -80.0f, 5.5f},   {44.0f, -68.0f, 5.0f}, // 20: on the meadow
    {51.0f, -56.0f, 4.5f},    {51.0f, -44.0f, 4.5f},                          // 22: saw
    {51.0f, -32.0f, 4.5f},    {51.0f, -14.0f, 5.5f},   {51.0f, 2.0f, 5.5f},   // 25: river bridge
    {48.5f, 14.0f, 5.5f},     {41.0f, 22.5f, 5.5f},    {28.0f, 25.0f, 5.5f},
    {10.0f, 21.0f, 5.5f},     {-8.0f, 21.0f, 5.5f},    {-24.0f, 26.0f, 5.5f},
    {-38.0f, 34.0f, 5.5f},    {-48.0f, 37.0f, 5.5f},   {-56.0f, 37.0f, 5.5f}, // 34: finish gate
    {-68.0f, 37.0f, 6.0f}, // 35: end of the finish straight
};
constexpr int controlCount = static_cast<int>(sizeof(controls) / sizeof(controls[0]));

glm::dvec2 controlXZ(int i) {
    if (i < 0) // mirrored beyond the ends, so the curve starts and ends straight
        return 2.0 * controlXZ(0) - controlXZ(1);
    if (i >= controlCount)
        return 2.0 * controlXZ(controlCount - 1) - controlXZ(controlCount - 2);
    return glm::dvec2(controls[i].x, controls[i].z);
}

// Centripetal Catmull-Rom between controls i and i+1: it never loops or overshoots where
// neighbouring controls are spaced unevenly.
glm::dvec2 curvePoint(int i, double u) {
    const glm::dvec2 p0 = controlXZ(i - 1), p1 = controlXZ(i), p2 = controlXZ(i + 1),
                     p3 = controlXZ(i + 2);
    const double t0 = 0.0;
    const double t1 = t0 + std::sqrt(glm::length(p1 - p0));
    const double t2 = t1 + std::sqrt(glm::length(p2 - p1));
    const double t3 = t2 + std::sqrt(glm::length(p3 - p2));
    const double t = t1 + u * (t2 - t1);
    const glm::dvec2 a1 = ((t1 - t) * p0 + (t - t0) * p1) / (t1 - t0);
    const glm::dvec2 a2 = ((t2 - t) * p1 + (t - t1) * p2) / (t2 - t1);
    const glm::dvec2 a3 = ((t3 - t) * p2 + (t - t2) * p3) / (t3 - t2);
    const glm::dvec2 b1 = ((t2 - t) * a1 + (t - t0) * a2) / (t2 - t0);
    const glm::dvec2 b2 = ((t3 - t) * a2 + (t - t1) * a3) / (t3 - t1);
    return ((t2 - t) * b1 + (t - t1) * b2) / (t2 - t1);
}

double smooth(double u) {
    return u * u * (3.0 - 2.0 * u);
}

struct DenseSample {
    glm::dvec2 xz;
    double distance;
    double halfWidth;
    int segment;
};

// The curve finely sampled with its running length.
std::vector<DenseSample> denseCurve() {
    const int steps = 256;
    std::vector<DenseSample> out;
    double distance = 0.0;
    for (int i = 0; i + 1 < controlCount; ++i) {
        for (int k = (i == 0 ? 0 : 1); k <= steps; ++k) {
            const double u = static_cast<double>(k) / steps;
            const glm::dvec2 p = curvePoint(i, u);
            if (!out.empty())
                distance += glm::length(p - out.back().xz);
            const double w = controls[i].halfWidth +
                             (controls[i + 1].halfWidth - controls[i].halfWidth) * smooth(u);
            out.push_back({p, distance, w, k == steps ? i + 1 : i});
        }
    }
    out.back().segment = controlCount - 2;
    return out;
}

double controlDistance(const std::vector<DenseSample>& dense, int control) {
    const size_t index = static_cast<size_t>(control) * 256;
    return dense[std::min(index, dense.size() - 1)].distance;
}

// Eases from 0 to 1 with a constant slope in the middle and gentle ends, so the steepest
// part of the descent is only 1/0.85 of its average.
double descentFraction(double u) {
    const double a = 0.15, top = 1.0 / (1.0 - a);
    u = std::clamp(u, 0.0, 1.0);
    if (u < a)
        return top * u * u / (2.0 * a);
    if (u > 1.0 - a)
        return 1.0 - top * (1.0 - u) * (1.0 - u) / (2.0 * a);
    return top * (a / 2.0 + (u - a));
}

} // namespace

float barrierTopAboveSurface(int keyframe) {
    static const float tops[barrierKeyframeCount] = {-0.6f, -0.6f, -0.6f, -0.6f, -0.6f, -0.6f,
                                                     0.8f,  2.2f,  3.0f,  3.0f,  3.0f,  3.0f,
                                                     3.0f,  2.2f,  0.8f,  -0.6f};
    if (keyframe < 0 || keyframe >= barrierKeyframeCount)
        return tops[0];
    return tops[keyframe];
}

std::vector<glm::vec3> routeControlPoints() {
    std::vector<glm::vec3> out;
    for (const Control& c : controls)
        out.emplace_back(c.x, c.halfWidth, c.z);
    return out;
}

std::vector<RoutePoint> routeCentreline(float spacing) {
    const std::vector<DenseSample> dense = denseCurve();
    const double total = dense.back().distance;
    const double descentStart = controlDistance(dense, routeDescentStartControl);
    const double descentEnd = controlDistance(dense, routeDescentEndControl);
    const double step = std::max(0.05, static_cast<double>(spacing));
    const int count = std::max(1, static_cast<int>(std::ceil(total / step)));

    std::vector<RoutePoint> out;
    size_t j = 0;
    for (int n = 0; n <= count; ++n) {
        const double d = std::min(total, total * n / count);
        while (j + 2 < dense.size() && dense[j + 1].distance < d)
            ++j;
        const DenseSample& a = dense[j];
        const DenseSample& b = dense[j + 1];
        const double span = b.distance - a.distance;
        const double f = span > 0.0 ? std::clamp((d - a.distance) / span, 0.0, 1.0) : 0.0;
        const glm::dvec2 xz = a.xz + (b.xz - a.xz) * f;
        const glm::dvec2 dir = span > 0.0 ? (b.xz - a.xz) / span : glm::dvec2(1.0, 0.0);
        const double fall = descentFraction((d - descentStart) / (descentEnd - descentStart));
        const double y = plateauSurfaceY - (plateauSurfaceY - meadowSurfaceY) * fall;
        RoutePoint p;
        p.surface =
            glm::vec3(static_cast<float>(xz.x), static_cast<float>(y), static_cast<float>(xz.y));
        p.tangent = glm::vec3(static_cast<float>(dir.x), 0.0f, static_cast<float>(dir.y));
        p.halfWidth = static_cast<float>(a.halfWidth + (b.halfWidth - a.halfWidth) * f);
        p.distance = static_cast<float>(d);
        p.segment = a.segment;
        out.push_back(p);
    }
    return out;
}

namespace {
constexpr float waypointSpacing = 6.0f;
constexpr float waitDistance = 10.0f;

struct Waypoint {
    glm::vec3 centre;
    double distance;
};

// The marble's centre along the route from the start on (the pad behind it is skipped).
std::vector<Waypoint> waypointList() {
    const std::vector<DenseSample> dense = denseCurve();
    const double startDistance = controlDistance(dense, routeStartControl);
    const glm::vec3 lift(0.0f, 1.0f, 0.0f);
    std::vector<Waypoint> out;
    for (const RoutePoint& p : routeCentreline(waypointSpacing)) {
        if (p.distance <= startDistance + 1.0)
            continue;
        if (out.empty())
            out.push_back({startPosition, startDistance});
        out.push_back({p.surface + lift, p.distance});
    }
    return out;
}

int waitBefore(int control) {
    const double target = controlDistance(denseCurve(), control) - waitDistance;
    const std::vector<Waypoint> list = waypointList();
    int best = 0;
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i].distance <= target)
            best = static_cast<int>(i);
    return best;
}
} // namespace

std::vector<glm::vec3> routeWaypoints() {
    std::vector<glm::vec3> out;
    for (const Waypoint& w : waypointList())
        out.push_back(w.centre);
    return out;
}

int barrierWaitWaypoint() {
    return waitBefore(routeBarrierControl);
}
int sawWaitWaypoint() {
    return waitBefore(routeSawControl);
}

} // namespace level
