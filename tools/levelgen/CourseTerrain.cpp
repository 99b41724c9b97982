#include "CourseTerrain.h"

#include <algorithm>
#include <cmath>

namespace terrain {

namespace {

constexpr double pi = 3.14159265358979323846;

// Twelve values every 30 degrees from -180, joined smoothly all round (periodic
// Catmull-Rom), so the shore and the rim have no corners.
double periodic(const double (&knots)[12], double angle) {
    double t = (angle + pi) / (pi / 6.0);
    t -= 12.0 * std::floor(t / 12.0);
    const int i = static_cast<int>(t) % 12;
    const double u = t - std::floor(t);
    const double p0 = knots[(i + 11) % 12], p1 = knots[i], p2 = knots[(i + 1) % 12],
                 p3 = knots[(i + 2) % 12];
    return 0.5 * (2.0 * p1 + (-p0 + p2) * u + (2.0 * p0 - 5.0 * p1 + 4.0 * p2 - p3) * u * u +
                  (-p0 + 3.0 * p1 - 3.0 * p2 + p3) * u * u * u);
}

// The lake's shore: long in the west (the arm the route bridges), short in the south where
// the route runs along it.
const double lakeKnots[12] = {66, 50, 24, 14, 16, 22, 32, 32, 30, 34, 46, 58};
// The plateau's rim: wide around the start pad, close behind the route in the north where
// the descent leaves the plateau.
const double rimKnots[12] = {84, 72, 64, 58, 75, 88, 85, 65, 58, 58, 62, 76};

// How far from the lake centre along angle a the first plane may reach (149 from its own
// centre, inside its bounding radius of 150).
double planeReach(double angle) {
    const glm::dvec2 u(std::cos(angle), std::sin(angle));
    const glm::dvec2 w = lakeCentre - planeCentre;
    const double b = glm::dot(w, u), c = glm::dot(w, w) - 149.0 * 149.0;
    return -b + std::sqrt(b * b - c);
}

double smoothstep(double u) {
    u = std::clamp(u, 0.0, 1.0);
    return u * u * (3.0 - 2.0 * u);
}

// The river's middle line: a cubic through these (x, z) with slopes from the neighbours.
const double riverXs[7] = {-62, -40, -12, 8, 28, 50, 76};
const double riverZs[7] = {9, -1, -6, -5.5, -0.4, -1, 5.5};

double riverMiddle(double x) {
    int i = 0;
    while (i < 5 && x > riverXs[i + 1])
        ++i;
    auto slope = [](int k) {
        const int a = std::max(k - 1, 0), b = std::min(k + 1, 6);
        return (riverZs[b] - riverZs[a]) / (riverXs[b] - riverXs[a]);
    };
    const double h = riverXs[i + 1] - riverXs[i];
    const double u = std::clamp((x - riverXs[i]) / h, 0.0, 1.0);
    const double h00 = 2 * u * u * u - 3 * u * u + 1, h10 = u * u * u - 2 * u * u + u;
    const double h01 = -2 * u * u * u + 3 * u * u, h11 = u * u * u - u * u;
    return h00 * riverZs[i] + h10 * h * slope(i) + h01 * riverZs[i + 1] + h11 * h * slope(i + 1);
}

// From the channel's ends inward: 0 at either end, 1 well inside.
double fromEnds(double x, double over) {
    return smoothstep(std::min(x - riverWestX, riverEastX() - x) / over);
}

} // namespace

double lakeAngle(const glm::dvec2& xz) {
    return std::atan2(xz.y - lakeCentre.y, xz.x - lakeCentre.x);
}

PlateauRings plateauRings(double angle) {
    const double lake = periodic(lakeKnots, angle);
    PlateauRings r;
    r.floorEdge = 0.75 * lake;
    r.shoreTop = 1.1 * lake + 2.0;
    r.rim = periodic(rimKnots, angle);
    r.edge = planeReach(angle);
    r.foot = std::min(r.rim + 10.0, r.edge - 3.0);
    return r;
}

double plateauHeight(const glm::dvec2& xz) {
    const double r = glm::length(xz - lakeCentre);
    const PlateauRings g = plateauRings(lakeAngle(xz));
    const double radii[5] = {g.floorEdge, g.shoreTop, g.rim, g.foot, g.edge};
    const double heights[5] = {basinFloorY, plateauTopY, plateauTopY, 0.0, 0.0};
    if (r <= radii[0])
        return basinFloorY;
    for (int i = 0; i < 4; ++i)
        if (r <= radii[i + 1])
            return heights[i] +
                   (heights[i + 1] - heights[i]) * (r - radii[i]) / (radii[i + 1] - radii[i]);
    return -1e9;
}

double riverEastX() {
    return riverWestX + riverColumnWidth * riverColumnCount;
}

RiverSection riverColumn(int k) {
    const double x = riverWestX + riverColumnWidth * k;
    const double half = 5.0 + 3.0 * fromEnds(x, 20.0);
    const double middle = riverMiddle(x);
    return {x, middle - half, middle + half};
}

bool riverSectionAt(double x, RiverSection& out) {
    if (x < riverWestX || x > riverEastX())
        return false;
    const int k =
        std::min(static_cast<int>((x - riverWestX) / riverColumnWidth), riverColumnCount - 1);
    const RiverSection a = riverColumn(k), b = riverColumn(k + 1);
    const double f = (x - a.x) / (b.x - a.x);
    out = {x, a.south + (b.south - a.south) * f, a.north + (b.north - a.north) * f};
    return true;
}

double riverBedHeight(double x, double v) {
    const double a = std::min(std::fabs(v), 1.0);
    // The deep middle, with the pool the static ball lies in at x = 28.
    const double bottom = -3.6 - 1.9 * std::exp(-((x - 28.0) / 7.0) * ((x - 28.0) / 7.0));
    double y;
    if (a >= 0.85)
        y = -1.7 * (1.0 - a) / 0.15; // the bank
    else if (a >= 0.55)
        y = -1.7 - 0.8 * (0.85 - a) / 0.3; // the shallows: a marble here stays above -2
    else
        y = bottom + (-2.5 - bottom) * (1.0 - std::cos(pi * a / 0.55)) / 2.0;
    return y * fromEnds(x, 12.0);
}

double groundBelow(const glm::dvec2& xz) {
    const double plateau = plateauHeight(xz);
    if (plateau > -1e8)
        return plateau;
    if (glm::length(xz) > meadowRadius)
        return floorless;
    RiverSection s;
    if (riverSectionAt(xz.x, s) && xz.y > s.south && xz.y < s.north)
        return riverBedHeight(xz.x, 2.0 * (xz.y - s.south) / (s.north - s.south) - 1.0);
    return 0.0;
}

} // namespace terrain
