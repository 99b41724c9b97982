#pragma once

#include <string>

// The function-key display options: F2 frame rate, F3 wireframe, F4 filtering, F5 mipmaps,
// F6 buffer objects, F8 frustum culling, F9 transparency. Each key acts once per press and
// announces its new state in a status line shown for 100 HUD frames.

void handleDisplayOptions();
void drawStatusLines();

bool isShowFpsOn();
bool isWireframeOn();
bool isBilinearFilteringOn();
int getMipmapMode();

// Status line of one slot (0 to 9) and the HUD frames it has left.
std::string getStatusText(int slot);
int getStatusFrames(int slot);

// Back to the start-up options (filter and mipmaps as gameOptions() says), latches and status
// lines.
void resetDisplayOptions();
