#pragma once

#include <glm/glm.hpp>

#include "assets/Triangle.h"
#include "physics/CollisionPacket.h"

// The narrow phase of the marble's collisions: a sphere of radius collisionRadius swept
// along a packet's velocity against single triangles, the sliding response, and the
// plain overlap test used for deadly obstacles. Triangles without area have no usable
// normal; every test here treats them as absent.
namespace collision {

constexpr double collisionRadius = 1.0;

// What a sweep reports.
enum SweepResult { NoHit = -1, FaceHit = 1, EdgeHit = 2, CornerHit = 3 };

glm::vec3 triangleNormal(const Triangle& triangle);
// False for triangles of zero (or unmeasurably small) area.
bool hasArea(const Triangle& triangle);
// Prism test: is p inside all three edge planes? Height over the triangle does not matter.
bool pointInTriangle(const Triangle& triangle, const glm::vec3& n, const glm::vec3& p);
// Does the segment from -> to pass through the prism over and under the triangle? On
// success enter receives the segment's share in [0, 1] at which it first is inside.
bool segmentCrossesPrism(const Triangle& triangle, const glm::vec3& n, const glm::vec3& from,
                         const glm::vec3& to, double& enter);

// Earliest time in (0, tmax) at which a sphere at base moving by v touches point p, or -1.
double sweepVertex(const glm::vec3& base, const glm::vec3& v, double velocitySquaredLength,
                   const glm::vec3& p, double tmax);
// The same for the segment p1-p2; contact receives the touched point of the segment.
double sweepEdge(const glm::vec3& base, const glm::vec3& v, double velocitySquaredLength,
                 const glm::vec3& p1, const glm::vec3& p2, double tmax, glm::vec3& contact);

// Sweeps the packet's sphere against one triangle. On a hit fills nearestDistance and
// intersectionPoint and returns FaceHit, EdgeHit or CornerHit; otherwise NoHit.
int sweepSphereTriangle(CollisionPacket& packet, const Triangle& triangle);
// Stops the sphere just short of the packet's contact and turns its velocity into the slide.
void respondToCollision(CollisionPacket& packet);

// Does a sphere of radius 1 around p overlap the triangle? All comparisons are strict.
bool sphereTouchesTriangle(const glm::vec3& p, const Triangle& triangle);

// A packet for sweeping from base along velocity (velocity must not be zero).
CollisionPacket makePacket(const glm::vec3& base, const glm::vec3& velocity);

} // namespace collision
