#pragma once

// Composes and presents one frame: display options, polygon mode and viewport, then the
// winner screen, the game-over screen, or the scene with the HUD; then the buffer swap.
void renderFrame();
// Gives back what frames kept between them (the frozen picture of a pause).
void releaseFrameResources();
