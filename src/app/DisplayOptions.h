#pragma once

#include <string>
#include <vector>

#include "hud/RaceHud.h"

class Scene;

// The function-key display options: F2 frame rate, F3 wireframe, F4 filtering, F5 mipmaps,
// F6 buffer objects, F8 frustum culling, F9 transparency. Each key acts once per press and
// announces its new state in a status line shown for 100 HUD frames. The flags are the
// player's for the whole run, whatever is drawn, so they are kept here and not in a scene.

// Reads the keys; the scene's own switches and textures change on it (which may be null).
void handleDisplayOptions(Scene* scene);
// The status lines to show in this HUD frame, each counted down by one frame.
std::vector<RaceHudView::StatusLine> takeStatusLines();

bool isShowFpsOn();
// The frame-rate line as the options menu sets it, without a status line.
void setShowFps(bool on);
bool isWireframeOn();
bool isBilinearFilteringOn();
int getMipmapMode();

// Status line of one slot (0 to 9) and the HUD frames it has left.
std::string getStatusText(int slot);
int getStatusFrames(int slot);

// Back to the start-up options (the filter and mipmaps the player started with), latches and
// status lines.
void resetDisplayOptions(bool bilinearFiltering = true, int mipmapMode = 2);
