#pragma once

#include <gtest/gtest.h>

#include <glm/glm.hpp>

// Whether every component of a and b differs by at most tolerance, as EXPECT_NEAR checks one
// number; a failure prints both vectors. Use as EXPECT_TRUE(nearlyEqual(a, b, tolerance)).
testing::AssertionResult nearlyEqual(const glm::vec3& a, const glm::vec3& b, float tolerance);
