#pragma once

#include "MeshBuilder.h"

// Round shapes for the made things of the level.

// A UV sphere about `centre`: `slices` around, `stacks` from pole to pole; texture u runs
// around once, v from the bottom pole (0) to the top pole (1).
void addSphere(MeshBuilder& m, const glm::vec3& centre, float radius, int slices, int stacks);

// A prism along z (a bolt, a hub) with `sides` faces, both ends closed.
void addPrismZ(MeshBuilder& m, const glm::vec2& centre, float radius, int sides, float z0,
               float z1);

// A saw blade in the x-y plane about the origin: `teeth` hooked teeth reaching `tipRadius`
// from a body of `bodyRadius`, `thickness` thick along z.
void addSawBlade(MeshBuilder& m, float bodyRadius, float tipRadius, int teeth, float thickness);
