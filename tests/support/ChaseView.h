#pragma once

#include <gtest/gtest.h>

#include <glm/glm.hpp>

#include "NearlyEqual.h"
#include "assets/Sphere.h"
#include "physics/Camera.h"
#include "render/Skybox.h"
#include "scene/Scene.h"

// What the first picture of a race shows: the marble at the start seen by the chase camera,
// the eye 15 from it, 4 above it, on the start side, at the point the level table's test works
// out, with the sky centred on that eye (not over a black void far outside it).
inline testing::AssertionResult seesTheStartFromBehind(const Scene& scene) {
    const glm::vec3 eye = scene.getCamera()->getPosition();
    testing::AssertionResult placed = nearlyEqual(eye, {37.92f, 21.0f, -349.11f}, 0.05f);
    if (!placed)
        return testing::AssertionFailure() << "the eye: " << placed.message();
    testing::AssertionResult sky = nearlyEqual(scene.getSkybox()->getCenter(), eye, 0.01f);
    if (!sky)
        return testing::AssertionFailure() << "the sky's centre and the eye: " << sky.message();
    return testing::AssertionSuccess();
}
