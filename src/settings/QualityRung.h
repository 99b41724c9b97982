#pragma once

#include <string>

#include "settings/QualitySettings.h"

// The fixed steps of picture quality, cheapest first. Full is the game's own picture; each
// rung below gives up what costs the most time for the least change of the picture, as
// measured on a machine without a GPU (docs/performance.md):
//   high    no antialiasing samples (2 % of the pixels, every edge; about half the frame)
//   medium  and no anisotropic filtering, shadow map 2048, water images 256 (the distance
//           softer; under a third of high's frame)
//   low     and the 3D picture drawn at 3/4 of the window's size each way, then scaled up
enum class QualityRung { Low, Medium, High, Full };

constexpr int qualityRungCount = 4;

// What the rung draws with when the player pinned nothing.
QualitySettings rungSettings(QualityRung rung);

// The rung's frame time as a share of full's, estimated from what each aspect cost where the
// figures were taken; aspects named in `pinned` stay as the player set them and cost the same
// on every rung.
double estimatedCost(QualityRung rung, unsigned pinned);

// "low", "medium", "high", "full", as --quality and the state file write them.
const char* rungName(QualityRung rung);
// False, leaving `rung` alone, for any other word.
bool rungFromName(const std::string& name, QualityRung& rung);
