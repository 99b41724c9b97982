// The generated pictures as the game's loader sees them: every file decodes in the format its
// name promises and at its size, masks cut real holes, tiling textures wrap, and pictures the
// HUD shows flat come out the right way up.
#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "ArtFiles.h"

namespace {

struct Expected {
    const char* path;
    const char* kind;
    int width;
    int height;
};

const Expected pictures[] = {
    {"texture/Green2.png", "png", 512, 512},
    {"texture/Black Marble.jpg", "jpg", 512, 512},
    {"texture/Cherry_Wood_Texture.png", "png", 512, 512},
    {"texture/Ziel.bmp", "bmp", 512, 128},
    {"texture/Test2.png", "png", 512, 512},
    {"texture/wall2.jpg", "jpg", 512, 512},
    {"texture/grey12.jpg", "jpg", 512, 512},
    {"texture/testPlane.png", "png", 512, 512},
    {"texture/trees/tree_summer08.jpg", "jpg", 512, 512},
    {"texture/trees/tree_summer08Alpha.jpg", "jpg", 512, 512},
    {"texture/wood05.jpg", "jpg", 512, 512},
    {"texture/material08Gray.jpg", "jpg", 512, 512},
    {"texture/trees/grass_summer10.jpg", "jpg", 512, 512},
    {"texture/trees/grass_summer10Alpha.jpg", "jpg", 512, 512},
    {"texture/sphereMitte.png", "png", 128, 128},
    {"texture/TestLoadingScreen.bmp", "bmp", 800, 600},
    {"texture/GameOver.bmp", "bmp", 800, 600},
    {"texture/WinnerScreen.bmp", "bmp", 800, 600},
    {"texture/Skybox/up.png", "png", 512, 512},
    {"texture/Skybox/bottom.png", "png", 512, 512},
    {"texture/Skybox/front.png", "png", 512, 512},
    {"texture/Skybox/back.png", "png", 512, 512},
    {"texture/Skybox/right.png", "png", 512, 512},
    {"texture/Skybox/left.png", "png", 512, 512},
    {"texture/Water/dudvmap.bmp", "bmp", 256, 256},
    {"texture/Water/normalmap.bmp", "bmp", 256, 256},
    {"data/basicFont_0.tga", "tga", 256, 256},
};

bool isPowerOfTwo(int n) {
    return n > 0 && (n & (n - 1)) == 0;
}

TEST(ArtImages, EveryPictureDecodesInItsFormatAndSize) {
    for (const Expected& e : pictures) {
        SCOPED_TRACE(e.path);
        EXPECT_EQ(imageKind(e.path), e.kind);
        GlPicture p = loadAsGl(e.path);
        ASSERT_TRUE(p.ok);
        EXPECT_EQ(p.width, e.width);
        EXPECT_EQ(p.height, e.height);
        // The loader hands the byte count to OpenGL as the component count.
        EXPECT_TRUE(p.bytesPerPixel == 3 || p.bytesPerPixel == 4) << p.bytesPerPixel;
    }
}

TEST(ArtImages, MipmappedTexturesHavePowerOfTwoSizes) {
    // The fourteen level textures and the font page get mipmaps.
    for (int i = 0; i < 14; ++i) {
        SCOPED_TRACE(pictures[i].path);
        GlPicture p = loadAsGl(pictures[i].path);
        EXPECT_TRUE(isPowerOfTwo(p.width) && isPowerOfTwo(p.height));
    }
    GlPicture page = loadAsGl("data/basicFont_0.tga");
    EXPECT_TRUE(isPowerOfTwo(page.width) && isPowerOfTwo(page.height));
}

TEST(ArtImages, AlphaMasksHaveLeavesAndHoles) {
    for (const char* path :
         {"texture/trees/tree_summer08Alpha.jpg", "texture/trees/grass_summer10Alpha.jpg"}) {
        SCOPED_TRACE(path);
        GlPicture p = loadAsGl(path);
        ASSERT_TRUE(p.ok);
        long leaf = 0, hole = 0, total = static_cast<long>(p.width) * p.height;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x) {
                glm::ivec4 c = p.rgba(x, y);
                // Grey: every channel says the same, so any channel can be tested.
                EXPECT_LE(std::abs(c.r - c.g) + std::abs(c.g - c.b), 12) << x << "," << y;
                leaf += c.r > 200;
                hole += c.r < 50;
            }
        EXPECT_GT(leaf, total / 5);
        EXPECT_GT(hole, total / 5);
        // Hardly anything in between: the alpha test must not depend on the threshold.
        EXPECT_GT(leaf + hole, total * 9 / 10);
    }
}

// A texture tiles when the step from its last column to its first (and last row to first) is
// no bigger than the steps between neighbouring columns (rows) inside it. One column pair of
// a veined or cobbled picture can step far more than the average, so the wrap is measured
// against the largest inside step; a picture that does not tile steps beyond all of them.
void expectTiles(const char* path) {
    SCOPED_TRACE(path);
    GlPicture p = loadAsGl(path);
    ASSERT_TRUE(p.ok);
    auto diff = [&](int x0, int y0, int x1, int y1) {
        glm::ivec4 a = p.rgba(x0, y0), b = p.rgba(x1, y1);
        return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
    };
    // Mean step from each column to the next (the last one wraps to the first), and likewise
    // for the rows; returns the wrap step and the largest inside step.
    auto steps = [&](bool columns) {
        int lines = columns ? p.width : p.height, length = columns ? p.height : p.width;
        double largest = 0.0, wrap = 0.0;
        for (int i = 0; i < lines; ++i) {
            double step = 0.0;
            for (int j = 0; j < length; ++j)
                step += columns ? diff(i, j, (i + 1) % lines, j) : diff(j, i, j, (i + 1) % lines);
            step /= length;
            if (i == lines - 1)
                wrap = step;
            else
                largest = std::max(largest, step);
        }
        return std::make_pair(wrap, largest);
    };
    auto [wrapColumnStep, largestColumnStep] = steps(true);
    auto [wrapRowStep, largestRowStep] = steps(false);
    EXPECT_LE(wrapColumnStep, largestColumnStep * 1.05 + 1.0);
    EXPECT_LE(wrapRowStep, largestRowStep * 1.05 + 1.0);
}

TEST(ArtImages, RepeatingTexturesTile) {
    for (const char* path :
         {"texture/Green2.png", "texture/testPlane.png", "texture/Test2.png", "texture/wall2.jpg",
          "texture/Black Marble.jpg", "texture/Cherry_Wood_Texture.png", "texture/wood05.jpg",
          "texture/grey12.jpg", "texture/material08Gray.jpg", "texture/Water/dudvmap.bmp",
          "texture/Water/normalmap.bmp"})
        expectTiles(path);
}

TEST(ArtImages, LifeIconIsARoundMarbleLitFromAboveOnTransparentCorners) {
    GlPicture p = loadAsGl("texture/sphereMitte.png");
    ASSERT_TRUE(p.ok);
    ASSERT_EQ(p.bytesPerPixel, 4);
    for (glm::ivec2 corner :
         {glm::ivec2(0, 0), glm::ivec2(127, 0), glm::ivec2(0, 127), glm::ivec2(127, 127)})
        EXPECT_EQ(p.rgba(corner.x, corner.y).a, 0);
    EXPECT_EQ(p.rgba(64, 64).a, 255);
    // The highlight sits in the upper half as the HUD shows it: there v, and so the GL row,
    // grows upwards.
    float upper = 0.0f, lower = 0.0f;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 128; ++x) {
            lower = std::max(lower, p.luminance(x, y));
            upper = std::max(upper, p.luminance(x, 127 - y));
        }
    EXPECT_GT(upper, 200.0f);
    EXPECT_GT(upper, lower + 40.0f);
}

// Rows crossed by lettering (many sharp steps along the row): the end screens put their big
// headline above the middle of the window and the small lines below it, so with v growing
// upwards the upper half holds more lettered rows. A picture upside down fails.
TEST(ArtImages, EndScreensReadUpright) {
    for (const char* path : {"texture/GameOver.bmp", "texture/WinnerScreen.bmp"}) {
        SCOPED_TRACE(path);
        GlPicture p = loadAsGl(path);
        ASSERT_TRUE(p.ok);
        // Centred lettering leaves the margins plain; the winner's chequered bands do not.
        const int margin = p.width / 20;
        auto lettered = [&](int row) {
            int steps = 0, marginSteps = 0;
            for (int x = 1; x < p.width; ++x) {
                bool step = std::abs(p.luminance(x, row) - p.luminance(x - 1, row)) > 40.0f;
                steps += step;
                marginSteps += step && (x < margin || x >= p.width - margin);
            }
            return steps > 10 && marginSteps == 0;
        };
        int upper = 0, lower = 0;
        for (int row = 0; row < p.height / 2; ++row) {
            lower += lettered(row);
            upper += lettered(p.height - 1 - row);
        }
        EXPECT_GT(lower, 10);
        EXPECT_GT(upper, lower + lower / 2);
    }
}

} // namespace
