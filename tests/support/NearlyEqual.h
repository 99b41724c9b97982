#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include <glm/glm.hpp>

// Whether every component of a and b differs by at most tolerance, as EXPECT_NEAR checks one
// number; a failure prints both vectors. Use as EXPECT_TRUE(nearlyEqual(a, b, tolerance)).
inline testing::AssertionResult nearlyEqual(const glm::vec3& a, const glm::vec3& b,
                                            float tolerance) {
    auto text = [](const glm::vec3& v) {
        return "(" + testing::PrintToString(v.x) + ", " + testing::PrintToString(v.y) + ", " +
               testing::PrintToString(v.z) + ")";
    };
    for (int i = 0; i < 3; ++i) {
        // Written so that a NaN anywhere fails, as it does in EXPECT_NEAR.
        if (!(std::fabs(a[i] - b[i]) <= tolerance))
            return testing::AssertionFailure()
                   << text(a) << " and " << text(b) << " differ by more than " << tolerance
                   << " (in component "
                   << "xyz"[i] << ")";
    }
    return testing::AssertionSuccess();
}
