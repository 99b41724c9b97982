#pragma once

#include <string>

class Game;
struct RaceState;

// Composes and presents one frame of the game: display options, polygon mode and viewport,
// then the winner screen, the game-over screen, or the scene with the HUD; then the buffer
// swap.
void renderFrame(Game& game);
// Gives back what frames kept between them (the frozen picture of a pause).
void releaseFrameResources(Game& game);
// The line the HUD centres for two seconds of the race after a life is lost: why, and the
// attempts left; empty when none is due.
std::string lifeLostLine(const RaceState& race);
