// The pictures the application shows flat on the screen: the life icon and the loading,
// game-over and winner screens. The HUD draws them with v growing upwards, which is how the
// Image rows run, so they read upright in the game.
#include <algorithm>
#include <cmath>
#include <string>

#include "ArtGenerators.h"
#include "Image.h"
#include "MarblePainting.h"
#include "Noise.h"
#include "TextRasterizer.h"

namespace {

// 800 x 600 keeps the three uncompressed BMPs small; the HUD stretches them to the window.
constexpr int screenWidth = 800;
constexpr int screenHeight = 600;
// The layouts below are written for a 1024 x 768 window and scaled to the picture.
constexpr float layoutScale = screenHeight / 768.0f;

int scaled(float designPixels) {
    return static_cast<int>(std::lround(designPixels * layoutScale));
}

// The HUD squeezes the icon into a 64 x 48 quad, so its marble is drawn taller than wide.
Image lifeIcon() {
    Image icon(128, 128, glm::vec4(0.0f)); // transparent black around the marble
    paintMarble(icon, {64.0f, 64.0f}, {44.0f, 58.0f});
    return icon;
}

Image gradient(glm::vec3 bottom, glm::vec3 top) {
    Image image(screenWidth, screenHeight);
    for (int y = 0; y < screenHeight; ++y) {
        float t = static_cast<float>(y) / (screenHeight - 1);
        for (int x = 0; x < screenWidth; ++x)
            image.at(x, y) = glm::vec4(glm::mix(bottom, top, t), 1.0f);
    }
    return image;
}

// Big centred text with a soft drop shadow, so it reads on any background.
void headline(Image& image, const std::string& text, int pixelSize, int baseline,
              const glm::vec3& colour) {
    pixelSize = scaled(static_cast<float>(pixelSize));
    baseline = scaled(static_cast<float>(baseline));
    TextRasterizer font(TextRasterizer::boldFontPath, pixelSize);
    if (!font.isOpen())
        return;
    int shadow = std::max(2, pixelSize / 24);
    font.drawCentred(image, text, screenWidth / 2 + shadow, baseline - shadow,
                     {0.0f, 0.0f, 0.0f, 0.55f});
    font.drawCentred(image, text, screenWidth / 2, baseline, glm::vec4(colour, 1.0f));
}

void chequeredBand(Image& image, int y0, int rows, int square) {
    for (int y = y0; y < y0 + rows * square; ++y)
        for (int x = 0; x < screenWidth; ++x) {
            bool dark = ((x / square) + ((y - y0) / square)) % 2 == 0;
            if (image.contains(x, y))
                image.at(x, y) = dark ? glm::vec4(0.05f, 0.05f, 0.06f, 1) : glm::vec4(0.97f);
        }
}

Image loadingScreen() {
    Image image = gradient({0.55f, 0.74f, 0.92f}, {0.10f, 0.26f, 0.55f});
    // A green hill line for the ground the marble is about to roll on.
    for (int x = 0; x < screenWidth; ++x) {
        float u = static_cast<float>(x) / screenWidth;
        int top = scaled(150.0f + 40.0f * noise::tiledFbm(u, 0.5f, 3, 3, 411u));
        for (int y = 0; y < top; ++y)
            image.at(x, y) =
                glm::vec4(glm::mix(glm::vec3(0.16f, 0.36f, 0.10f), glm::vec3(0.30f, 0.55f, 0.18f),
                                   static_cast<float>(y) / top),
                          1.0f);
    }
    headline(image, "Quillorb 3D", 96, 600, {1.0f, 1.0f, 1.0f});
    float r = scaled(120.0f);
    paintMarble(image, {screenWidth / 2.0f, static_cast<float>(scaled(390.0f))}, {r, r});
    headline(image, "Loading\u2026", 84, 190, {1.0f, 0.92f, 0.45f});
    return image;
}

Image gameOverScreen() {
    Image image = gradient({0.05f, 0.0f, 0.0f}, {0.45f, 0.04f, 0.03f});
    headline(image, "GAME OVER", 128, 380, {1.0f, 0.85f, 0.80f});
    headline(image, "No lives left", 44, 270, {0.95f, 0.75f, 0.70f});
    return image;
}

Image winnerScreen() {
    Image image = gradient({0.95f, 0.62f, 0.10f}, {1.0f, 0.90f, 0.45f});
    int square = scaled(48.0f);
    chequeredBand(image, 0, 2, square);
    chequeredBand(image, screenHeight - 2 * square, 2, square);
    headline(image, "WINNER!", 170, 400, {0.75f, 0.08f, 0.05f});
    headline(image, "You win! The marble reached the finish.", 40, 280, {0.25f, 0.12f, 0.02f});
    return image;
}

} // namespace

void writeScreenPictures(const std::string& outDir) {
    const std::string dir = outDir + "/texture/";
    reportWrite(dir + "sphereMitte.png", lifeIcon().writePng(dir + "sphereMitte.png", 4));
    reportWrite(dir + "TestLoadingScreen.bmp",
                loadingScreen().writeBmp(dir + "TestLoadingScreen.bmp"));
    reportWrite(dir + "GameOver.bmp", gameOverScreen().writeBmp(dir + "GameOver.bmp"));
    reportWrite(dir + "WinnerScreen.bmp", winnerScreen().writeBmp(dir + "WinnerScreen.bmp"));
}
