#include "physics/CollisionGeometry.h"

#include <algorithm>

#include <cmath>

namespace collision {

namespace {

const double parallelThreshold = 1e-6;
// Widened from float on purpose: the game has always used these float constants.
const double backOff = static_cast<double>(0.001f);
const double pushOut = static_cast<double>(0.00001f);

// Scalar products of float vectors, formed in double: at the level's coordinates (a few
// hundred units) a float dot product loses more than the push-out distance.
double dotD(const glm::vec3& a, const glm::vec3& b) {
    return glm::dot(glm::dvec3(a), glm::dvec3(b));
}

// The triangle's normal, or false when the triangle has no area to give it one. The same
// value as triangleNormal, with the cross product formed once.
bool normalOf(const Triangle& triangle, glm::vec3& n) {
    const glm::vec3 c = glm::cross(triangle.c1 - triangle.c0, triangle.c2 - triangle.c0);
    const float squared = glm::dot(c, c);
    // Below this the corners are one point or one line, up to rounding.
    if (!(squared > 1e-30f) || !std::isfinite(squared))
        return false;
    n = c * glm::inversesqrt(squared);
    return true;
}

int sign(float value) {
    return (value > 0.0f) - (value < 0.0f);
}

// Step 6 of the sweep: the corners, then the edges. Each accepts only a root strictly
// before the best so far, so on equal times the feature tested first keeps the hit.
int sweepCornersAndEdges(CollisionPacket& packet, const Triangle& triangle) {
    const glm::vec3& base = packet.basePoint;
    const glm::vec3& v = packet.velocity;
    const double a = packet.velocitySquaredLength;
    const glm::vec3 corners[3] = {triangle.c0, triangle.c1, triangle.c2};

    double t = 1.0;
    int result = NoHit;
    glm::vec3 point(0.0f);
    for (const glm::vec3& corner : corners) {
        double r = sweepVertex(base, v, a, corner, t);
        if (r >= 0.0) {
            t = r;
            point = corner;
            result = CornerHit;
        }
    }
    for (int k = 0; k < 3; ++k) {
        glm::vec3 contact(0.0f);
        double r = sweepEdge(base, v, a, corners[k], corners[(k + 1) % 3], t, contact);
        if (r >= 0.0) {
            t = r;
            point = contact;
            result = EdgeHit;
        }
    }
    if (result == NoHit)
        return NoHit;
    packet.intersectionPoint = point;
    packet.nearestDistance = t * packet.velocityLength;
    return result;
}

} // namespace

glm::vec3 triangleNormal(const Triangle& triangle) {
    return glm::normalize(glm::cross(triangle.c1 - triangle.c0, triangle.c2 - triangle.c0));
}

bool hasArea(const Triangle& triangle) {
    glm::vec3 n;
    return normalOf(triangle, n);
}

bool pointInTriangle(const Triangle& triangle, const glm::vec3& n, const glm::vec3& p) {
    const glm::vec3 corners[3] = {triangle.c0, triangle.c1, triangle.c2};
    for (int k = 0; k < 3; ++k) {
        const glm::vec3& a = corners[k];
        const glm::vec3& b = corners[(k + 1) % 3];
        // m points from the edge into the triangle, within the triangle's plane.
        glm::vec3 m = glm::cross(a - b, n);
        if (dotD(p, m) - dotD(m, a) < 0.0)
            return false;
    }
    return true;
}

// Each edge plane of the prism keeps the points with dot(p, m) - dot(m, a) >= 0; along the
// segment that side is linear in t, so the inside is an interval that each edge narrows.
bool segmentCrossesPrism(const Triangle& triangle, const glm::vec3& n, const glm::vec3& from,
                         const glm::vec3& to, double& enter) {
    const glm::vec3 corners[3] = {triangle.c0, triangle.c1, triangle.c2};
    double low = 0.0;
    double high = 1.0;
    for (int k = 0; k < 3; ++k) {
        const glm::vec3& a = corners[k];
        const glm::vec3& b = corners[(k + 1) % 3];
        glm::vec3 m = glm::cross(a - b, n);
        double atFrom = dotD(from, m) - dotD(m, a);
        double change = (dotD(to, m) - dotD(m, a)) - atFrom;
        if (change == 0.0) {
            if (atFrom < 0.0)
                return false;
            continue;
        }
        double t = -atFrom / change;
        if (change > 0.0)
            low = std::max(low, t);
        else
            high = std::min(high, t);
        if (low > high)
            return false;
    }
    enter = low;
    return true;
}

// The sphere touches p when |base + t v - p| = R:
//   |v|^2 t^2 + 2 v.(base - p) t + |base - p|^2 - R^2 = 0.
// The smaller root is the moment of first contact.
double sweepVertex(const glm::vec3& base, const glm::vec3& v, double velocitySquaredLength,
                   const glm::vec3& p, double tmax) {
    const double a = velocitySquaredLength;
    if (!(a > 0.0))
        return -1.0;
    glm::dvec3 toBase = glm::dvec3(base) - glm::dvec3(p);
    double qb = 2.0 * glm::dot(glm::dvec3(v), toBase);
    double qc = glm::dot(toBase, toBase) - collisionRadius * collisionRadius;
    double disc = qb * qb - 4.0 * a * qc;
    if (disc < 0.0)
        return -1.0;
    double r = ((-qb - std::sqrt(disc)) / 2.0) / a;
    return (r > 0.0 && r < tmax) ? r : -1.0;
}

// The sphere touches the infinite line through p1 and p2 when the centre's distance to it
// is R; removing the part of (base + t v - p1) along the edge gives a quadratic in t whose
// coefficients are scaled by |edge|^2 to avoid dividing. f locates the contact on the edge.
double sweepEdge(const glm::vec3& base, const glm::vec3& v, double velocitySquaredLength,
                 const glm::vec3& p1, const glm::vec3& p2, double tmax, glm::vec3& contact) {
    const glm::dvec3 vel(v);
    const glm::dvec3 edge = glm::dvec3(p2) - glm::dvec3(p1);
    const glm::dvec3 baseToVertex = glm::dvec3(p1) - glm::dvec3(base);
    const double edgeLength = glm::length(edge);
    const double edgeSq = edgeLength * edgeLength;
    const double edgeDotV = glm::dot(edge, vel);
    const double edgeDotB = glm::dot(edge, baseToVertex);
    const double R = collisionRadius;

    double qa = edgeSq * -velocitySquaredLength + edgeDotV * edgeDotV;
    double qb = 2.0 * (edgeSq * glm::dot(vel, baseToVertex) - edgeDotV * edgeDotB);
    double qc = edgeSq * (R * R - glm::dot(baseToVertex, baseToVertex)) + edgeDotB * edgeDotB;
    double disc = qb * qb - 4.0 * qa * qc;
    // qa is zero when moving along the edge: then only its ends can be met, and the corner
    // test has already looked at those.
    if (disc < 0.0 || !(qa < 0.0) || !(edgeSq > 0.0))
        return -1.0;
    double r = ((std::sqrt(disc) - qb) / 2.0) / qa;
    if (!(r > 0.0 && r < tmax))
        return -1.0;
    double f = (edgeDotV * r - edgeDotB) / edgeSq;
    if (!(f >= 0.0 && f <= 1.0))
        return -1.0;
    contact = glm::vec3(glm::dvec3(p1) + f * edge);
    return r;
}

int sweepSphereTriangle(CollisionPacket& packet, const Triangle& triangle) {
    glm::vec3 n;
    if (!normalOf(triangle, n))
        return NoHit;
    // Only a triangle that faces the motion (or lies along it) can stop the sphere.
    double nDotV = dotD(n, packet.velocity);
    if (nDotV > 0.0)
        return NoHit;
    double planeConstant = -dotD(n, triangle.c0);
    double signedDist = dotD(n, packet.basePoint) + planeConstant;
    const double R = collisionRadius;

    if (std::fabs(nDotV) < parallelThreshold) {
        // Moving along the plane: either clear of it for the whole step, or embedded in it,
        // in which case only a corner or an edge can still be met.
        if (std::fabs(signedDist) >= R)
            return NoHit;
        return sweepCornersAndEdges(packet, triangle);
    }

    // The times at which the sphere's front and back surfaces cross the plane.
    double t0 = (R - signedDist) / nDotV;
    double t1 = (-R - signedDist) / nDotV;
    if (t0 > 1.0 || t1 < 0.0)
        return NoHit;
    if (t0 < 0.0)
        t0 = 0.0;
    glm::vec3 contact =
        packet.basePoint - static_cast<float>(R) * n + static_cast<float>(t0) * packet.velocity;
    if (pointInTriangle(triangle, n, contact)) {
        packet.nearestDistance = t0 * packet.velocityLength;
        packet.intersectionPoint = contact;
        return FaceHit;
    }
    return sweepCornersAndEdges(packet, triangle);
}

void respondToCollision(CollisionPacket& packet) {
    // Stop just short of the contact; a contact closer than that backs the sphere off.
    float k = static_cast<float>(packet.nearestDistance - backOff);
    packet.basePoint = packet.basePoint + k * packet.normalizedVelocity;

    // The sliding plane passes through the contact, facing the stopped centre.
    glm::vec3 away = packet.basePoint - packet.intersectionPoint;
    glm::vec3 n = glm::length(away) > 0.0f ? glm::normalize(away) : -packet.normalizedVelocity;

    // d is the signed distance of the destination from the sliding plane through the start,
    // i.e. the velocity's part along n. That part is replaced by a tiny push away from the
    // contact; the rest of the velocity is kept whole. It is formed directly rather than as
    // (start + velocity + push) - start, whose float cancellation would swallow the push.
    double d = dotD(n, packet.velocity);
    double push = static_cast<double>(static_cast<float>(std::fabs(d))) + pushOut;
    packet.velocity = glm::vec3(glm::dvec3(packet.velocity) + push * glm::dvec3(n));
}

bool sphereTouchesTriangle(const glm::vec3& p, const Triangle& triangle) {
    glm::vec3 n;
    if (!normalOf(triangle, n))
        return false;
    if (std::fabs(glm::dot(p - triangle.c0, n)) < 1.0f && pointInTriangle(triangle, n, p))
        return true;
    const glm::vec3 corners[3] = {triangle.c0, triangle.c1, triangle.c2};
    for (const glm::vec3& corner : corners) {
        if (glm::length(p - corner) < 1.0f)
            return true;
    }
    for (int k = 0; k < 3; ++k) {
        const glm::vec3& a = corners[k];
        const glm::vec3& b = corners[(k + 1) % 3];
        glm::vec3 e = glm::normalize(b - a);
        bool nearLine = glm::length(glm::cross(p - a, e)) < 1.0f;
        // Projecting strictly between the ends puts p on opposite sides of a and b.
        bool betweenEnds = sign(glm::dot(p - a, e)) != sign(glm::dot(p - b, e));
        if (nearLine && betweenEnds)
            return true;
    }
    return false;
}

CollisionPacket makePacket(const glm::vec3& base, const glm::vec3& velocity) {
    CollisionPacket packet;
    packet.velocity = velocity;
    packet.velocityLength = glm::length(glm::dvec3(velocity));
    packet.velocitySquaredLength = packet.velocityLength * packet.velocityLength;
    if (packet.velocityLength > 0.0)
        packet.normalizedVelocity = glm::vec3(glm::dvec3(velocity) / packet.velocityLength);
    packet.basePoint = base;
    return packet;
}

} // namespace collision
