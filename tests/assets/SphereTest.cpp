#include <gtest/gtest.h>

#include <cmath>

#include <glm/gtc/matrix_transform.hpp>

#include "NearlyEqual.h"
#include "assets/Sphere.h"

namespace {

glm::vec3 worldOf(const Sphere& marble, const glm::vec3& local) {
    return glm::vec3(marble.getTransform() * glm::vec4(local, 1.0f));
}

} // namespace

TEST(Sphere, RollingOneUnitTurnsOneRadianForward) {
    Sphere marble(nullptr);
    marble.roll(glm::vec3(1, 0, 0));
    EXPECT_TRUE(nearlyEqual(marble.getBoundingCenter(), glm::vec3(1, 0, 0), 1e-5f));
    // The top of a unit ball rolled along +x leans forward, towards +x.
    EXPECT_TRUE(nearlyEqual(worldOf(marble, glm::vec3(0, 1, 0)),
                            glm::vec3(1 + std::sin(1.0f), std::cos(1.0f), 0), 1e-5f));

    Sphere other(nullptr);
    other.roll(glm::vec3(0, 0, -2));
    EXPECT_TRUE(nearlyEqual(worldOf(other, glm::vec3(0, 1, 0)),
                            glm::vec3(0, std::cos(2.0f), -2 - std::sin(2.0f)), 1e-5f));
}

TEST(Sphere, RollingIsTheSameInWorldSpaceWhateverTheMarbleHasTurned) {
    Sphere marble(nullptr);
    glm::mat4 turned = glm::rotate(glm::mat4(1.0f), glm::radians(90.0f), glm::vec3(0, 1, 0)) *
                       glm::rotate(glm::mat4(1.0f), glm::radians(35.0f), glm::vec3(1, 0, 0));
    marble.setTransform(glm::translate(glm::mat4(1.0f), glm::vec3(3, 1, 2)) * turned);
    glm::vec3 pointBefore = worldOf(marble, glm::vec3(0.2f, 0.7f, -0.4f)) - glm::vec3(3, 1, 2);
    marble.roll(glm::vec3(0.5f, 0, 0));
    EXPECT_TRUE(nearlyEqual(marble.getBoundingCenter(), glm::vec3(3.5f, 1, 2), 1e-5f));
    glm::vec3 pointAfter = worldOf(marble, glm::vec3(0.2f, 0.7f, -0.4f)) - glm::vec3(3.5f, 1, 2);
    glm::vec3 expected = glm::vec3(glm::rotate(glm::mat4(1.0f), 0.5f, glm::vec3(0, 0, -1)) *
                                   glm::vec4(pointBefore, 1.0f));
    EXPECT_TRUE(nearlyEqual(pointAfter, expected, 1e-5f));
}

TEST(Sphere, AngleUsesTheFullLengthOfTheDisplacement) {
    Sphere marble(nullptr);
    marble.roll(glm::vec3(0.6f, 0.8f, 0)); // length 1, of which 0.6 horizontal
    EXPECT_TRUE(nearlyEqual(worldOf(marble, glm::vec3(0, 1, 0)),
                            glm::vec3(0.6f + std::sin(1.0f), 0.8f + std::cos(1.0f), 0), 1e-5f));
}

TEST(Sphere, VerticalOrZeroMovesDoNotTurn) {
    Sphere marble(nullptr);
    glm::mat4 turned = glm::rotate(glm::mat4(1.0f), glm::radians(30.0f), glm::vec3(0, 0, 1));
    marble.setTransform(turned);
    marble.roll(glm::vec3(0, 0, 0));
    EXPECT_EQ(marble.getTransform(), turned);
    marble.roll(glm::vec3(1e-7f, -2.0f, -1e-6f));
    glm::mat4 after = marble.getTransform();
    glm::mat4 expected = glm::translate(glm::mat4(1.0f), glm::vec3(1e-7f, -2.0f, -1e-6f)) * turned;
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            EXPECT_FLOAT_EQ(after[c][r], expected[c][r]);
}
