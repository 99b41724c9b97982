#pragma once

class Game;

// Composes and presents one frame of the game: display options, polygon mode and viewport,
// then the winner screen, the game-over screen, or the scene with the HUD; then the buffer
// swap.
void renderFrame(Game& game);
// Gives back what frames kept between them (the frozen picture of a pause).
void releaseFrameResources(Game& game);
