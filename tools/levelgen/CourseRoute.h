#pragma once

#include <vector>

#include <glm/glm.hpp>

// The course's route as data: one smooth centreline from the start pad to the end of the
// finish straight. The asset generator lays the paths along it; a scripted driver and the
// tests follow its waypoints.
//
// What a driver needs to know:
// - The route leaves the start (28, 17, -338) toward the lake, the way W first rolls, swings
//   west along the lake shore and runs straight along z = -338 through the stop barrier at
//   x = -31. It then bends north over a 60-unit bridge across the lake's west arm (y = 16,
//   water 6.7 below), leaves the plateau and descends at most ~10 % to the meadow (y = 1),
//   runs straight north along x = 51 under the saw (z = -44) and over the river bridge, bends
//   west past the trees and ends beyond the finish gate at x = -56 on z = 37.
// - Path half-widths: 8 on the start pad, 6 at the barrier, 5.5 on most of the route, 4.5
//   under the saw (its frame posts stand at x = 51 +- 5.2 .. 5.9). Turns have radii of about
//   20 or more; the tightest are right after the barrier and after the river bridge.
// - Stop barrier: a wall across the whole path (world x -31.5 .. -30.5, z -344 .. -332),
//   looping over barrierLoopSeconds with barrierKeyframeCount keyframes; phase = animated
//   time / loop length, fractional part. Its collision pose (the nearest keyframe of the
//   last drawn pair) is sunk below the path while the phase is in [barrierOpenFrom, 1) or
//   [0, barrierOpenUntil) (1.75 s of the 4 s loop) and blocks the path otherwise. Without a
//   draw the collision pose stays at the mesh's base positions, which are the sunk pose.
// - Saw: the blade (radius 2) hangs at world y 4 + 2 cos(pi t) over the path surface at
//   y = 1, so its lowest point is 2 + 2 cos(pi t). The marble (top at y = 3) passes untouched
//   while cos(pi t) > 0.5, that is within 1/3 s of t = 0, 2, 4, ... and must keep about 1.2
//   units (along z) away from the blade's plane at other times.
// - Waypoint barrierWaitWaypoint() lies about 10 units before the barrier, sawWaitWaypoint()
//   about 10 units before the saw: wait there (at rest) for the obstacle to clear.
namespace level {

// One sample of the centreline.
struct RoutePoint {
    glm::vec3 surface; // the path's surface at the centre of the route
    glm::vec3 tangent; // horizontal unit direction of travel
    float halfWidth;   // from the centre to either edge
    float distance;    // along the route from its first point
    int segment;       // the control span [segment, segment + 1] the sample lies on
};

// Indices of the control points the route is drawn through (see CourseRoute.cpp).
constexpr int routeStartControl = 1;
constexpr int routeBarrierControl = 6;
constexpr int routePlateauEdgeControl = 13;
constexpr int routeDescentStartControl = 14;
constexpr int routeDescentEndControl = 20;
constexpr int routeSawControl = 22;
constexpr int routeRiverBridgeControl = 25;
constexpr int routeGateControl = 34;

constexpr float plateauSurfaceY = 16.0f; // path surface on the plateau
constexpr float meadowSurfaceY = 1.0f;   // path surface on the meadow

// The stop barrier's loop.
constexpr float barrierLoopSeconds = 4.0f;
constexpr int barrierKeyframeCount = 16;
constexpr float barrierOpenFrom = 14.5f / 16.0f;
constexpr float barrierOpenUntil = 5.5f / 16.0f;
// The barrier's height above the path surface at each keyframe (top of the wall).
float barrierTopAboveSurface(int keyframe);

// The control points (x, z) and half-widths the centreline passes through.
std::vector<glm::vec3> routeControlPoints(); // (x, halfWidth, z)

// The centreline sampled about every `spacing` units (the last sample is the route's end).
std::vector<RoutePoint> routeCentreline(float spacing);

// Marble-centre positions (surface + 1) about every 6 units, start first, the last one past
// the finish gate.
std::vector<glm::vec3> routeWaypoints();
int barrierWaitWaypoint();
int sawWaitWaypoint();

} // namespace level
