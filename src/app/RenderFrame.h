#pragma once

// Composes and presents one frame: display options, polygon mode and viewport, then the
// winner screen, the game-over screen, or the scene with the HUD; then the buffer swap.
void renderFrame();
