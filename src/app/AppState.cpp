#include "app/AppState.h"

#include <algorithm>

#include <glm/gtc/matrix_transform.hpp>

namespace {
constexpr int startWidth = 1024;
constexpr int startHeight = 768;
constexpr int startLives = 3;

int windowWidth = startWidth;
int windowHeight = startHeight;
glm::mat4 projectionMatrix = computeProjectionMatrix(startWidth, startHeight);
glm::mat4 hudMatrix = computeHudMatrix(startWidth, startHeight);
int lives = startLives;
bool gameOver = false;
bool gameWon = false;
} // namespace

int getWindowWidth() {
    return windowWidth;
}
int getWindowHeight() {
    return windowHeight;
}

void setWindowSize(int width, int height) {
    windowWidth = width;
    windowHeight = height;
    projectionMatrix = computeProjectionMatrix(width, height);
    hudMatrix = computeHudMatrix(width, height);
}

glm::mat4 getProjectionMatrix() {
    return projectionMatrix;
}
glm::mat4 getHudMatrix() {
    return hudMatrix;
}

glm::mat4 computeProjectionMatrix(int width, int height) {
    // A minimised window reports 0 x 0; keep the aspect finite instead of dividing by zero.
    float aspect = height > 0 ? static_cast<float>(width) / static_cast<float>(height) : 1.0f;
    if (aspect <= 0.0f)
        aspect = 1.0f;
    return glm::perspective(glm::radians(60.0f), aspect, 0.1f, 1000.0f);
}

glm::mat4 computeHudMatrix(int width, int height) {
    // A minimised window's zero span would divide by zero; one pixel keeps the matrix finite.
    width = std::max(width, 1);
    height = std::max(height, 1);
    return glm::ortho(static_cast<float>(-(width / 2)), width / 2.0f,
                      static_cast<float>(-(height / 2)), height / 2.0f, -2.0f, 2.0f);
}

void setLives(int value) {
    lives = value;
}
int getLives() {
    return lives;
}
void setGameOver() {
    gameOver = true;
}
bool isGameOver() {
    return gameOver;
}
void setGameWon() {
    gameWon = true;
}
bool isGameWon() {
    return gameWon;
}

void resetRace() {
    lives = startLives;
    gameOver = false;
    gameWon = false;
}

void resetAppState() {
    setWindowSize(startWidth, startHeight);
    resetRace();
}
