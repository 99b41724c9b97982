#pragma once

#include <vector>

#include <glm/glm.hpp>

// The shape of the land the route crosses, in world units: the plateau with its lake basin
// (drawn by the out-of-bounds plane around the first area), and the meadow with the river
// channel (the out-of-bounds plane around the origin and the river bed). Meshes, pillars and
// the map all read it from here.
namespace terrain {

// The plateau, polar around the lake's centre.
const glm::dvec2 lakeCentre(-22.8401, -298.8401);
const glm::dvec2 planeCentre(-61.0, -280.0);
constexpr double plateauTopY = 15.0;
constexpr double basinFloorY = 4.0;
constexpr double lakeWaterY = 9.3;

// Angle (radians, atan2(dz, dx)) around the lake centre.
double lakeAngle(const glm::dvec2& xz);
// The radii of the plane's rings at angle a, from the lake centre outward: the basin floor's
// edge, the top of the shore, the plateau's rim, the foot of its slope and the plane's edge.
struct PlateauRings {
    double floorEdge, shoreTop, rim, foot, edge;
};
PlateauRings plateauRings(double angle);
// Height of the first area's plane at xz, or nothing (-1e9) outside it.
double plateauHeight(const glm::dvec2& xz);

// The meadow around the origin: a disc at y = 0 with the river channel cut out of it.
constexpr double meadowRadius = 127.5;
constexpr double riverWaterY = -1.509;
constexpr double riverWestX = -62.0;
constexpr double riverColumnWidth = 6.0;
constexpr int riverColumnCount = 23;
double riverEastX();

// The river's banks at a column edge (k = 0..riverColumnCount) and, linearly between them,
// at any x of the channel.
struct RiverSection {
    double x, south, north;
};
RiverSection riverColumn(int k);
bool riverSectionAt(double x, RiverSection& out);
// The bed's height across the channel at x, v = -1 (south bank) .. 1 (north bank).
double riverBedHeight(double x, double v);

// Height of the out-of-bounds surface or river bed under xz; `floorless` where neither
// plane reaches (between the two discs and beyond them).
constexpr double floorless = -4.0;
double groundBelow(const glm::dvec2& xz);

} // namespace terrain
