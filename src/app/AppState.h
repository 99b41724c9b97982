#pragma once

#include <glm/glm.hpp>

// Application-wide values: window size, projection and HUD matrices, lives and the two
// end-of-game flags. Everything else reads and writes them through these accessors.

int getWindowWidth();
int getWindowHeight();
// Stores the new size and rebuilds both matrices (no GL call; the resize handler adds the
// viewport).
void setWindowSize(int width, int height);

glm::mat4 getProjectionMatrix();
glm::mat4 getHudMatrix();

// Perspective of 60 degrees vertically, near 0.1, far 1000, aspect width / height.
glm::mat4 computeProjectionMatrix(int width, int height);
// Origin at the window centre, one unit per pixel, y up; the left and bottom edges use
// integer halves so odd sizes keep whole-pixel text on the left.
glm::mat4 computeHudMatrix(int width, int height);

void setLives(int lives);
int getLives();
// The end flags are only ever set while the game runs.
void setGameOver();
bool isGameOver();
void setGameWon();
bool isGameWon();

// A new race: three spare lives and neither end flag; the window stays as it is.
void resetRace();

// Puts every value back to its start-up state (1024 x 768, three spare lives, no flags).
void resetAppState();
