// Textures of the made things: the black marble, two woods, two metals and the finish banner.
#include <algorithm>
#include <cmath>
#include <string>

#include "ArtGenerators.h"
#include "Image.h"
#include "Noise.h"
#include "TextRasterizer.h"

namespace {

constexpr int size = 512;
constexpr float twoPi = 6.2831853f;

float fract(float x) {
    return x - std::floor(x);
}

// Black stone with thin white veins. The veins follow whole periods across the picture, so
// the texture wraps around the sphere without a seam.
Image blackMarble() {
    Image image(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            float u = static_cast<float>(x) / size, v = static_cast<float>(y) / size;
            float warp = noise::tiledFbm(u, v, 3, 5, 201u);
            float wide = std::abs(std::sin((3.0f * u + 1.0f * v) * twoPi + 4.0f * warp));
            float fine = std::abs(
                std::sin((2.0f * u - 5.0f * v) * twoPi + 6.0f * noise::tiledFbm(u, v, 5, 5, 202u)));
            float vein = std::pow(1.0f - wide, 24.0f) + 0.5f * std::pow(1.0f - fine, 60.0f);
            float cloud = 0.5f + 0.5f * noise::tiledFbm(u, v, 6, 4, 203u);
            glm::vec3 base = glm::mix(glm::vec3(0.03f, 0.03f, 0.04f),
                                      glm::vec3(0.13f, 0.12f, 0.14f), cloud * cloud);
            glm::vec3 c = glm::mix(base, glm::vec3(0.88f, 0.88f, 0.86f), std::min(vein, 1.0f));
            image.at(x, y) = glm::vec4(c, 1.0f);
        }
    }
    return image;
}

struct WoodLook {
    glm::vec3 early; // the light wood between rings
    glm::vec3 late;  // the dark ring wood
    float rings;     // rings across the picture
    uint32_t seed;
};

// Plank wood with its grain running along u.
Image wood(const WoodLook& look) {
    Image image(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            float u = static_cast<float>(x) / size, v = static_cast<float>(y) / size;
            float bend = noise::tiledFbm(u, v, 2, 4, look.seed);
            float ring = fract(v * look.rings + 2.5f * bend);
            float band = std::pow(std::sin(ring * 3.1415927f), 6.0f);
            // Fibres: noise stretched along the grain.
            float fibre = noise::tiled(u * 4.0f, v * 180.0f, 4, 180, look.seed + 1u);
            glm::vec3 c = glm::mix(look.early, look.late, band);
            c *= 0.9f + 0.12f * fibre + 0.06f * noise::tiledFbm(u, v, 16, 2, look.seed + 2u);
            image.at(x, y) = glm::vec4(c, 1.0f);
        }
    }
    return image;
}

// Metal brushed along u: fine streaks over a slightly cloudy grey.
glm::vec3 brushedMetal(float u, float v, uint32_t seed) {
    float streak = noise::tiled(u * 3.0f, v * 256.0f, 3, 256, seed) * 0.6f +
                   noise::tiled(u * 8.0f, v * 512.0f, 8, 512, seed + 1u) * 0.4f;
    float cloud = noise::tiledFbm(u, v, 4, 3, seed + 2u);
    float g = 0.58f + 0.08f * streak + 0.06f * cloud;
    return glm::vec3(g, g, g * 1.03f);
}

Image sawMetal() {
    Image image(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            image.at(x, y) = glm::vec4(
                brushedMetal(static_cast<float>(x) / size, static_cast<float>(y) / size, 211u),
                1.0f);
    return image;
}

// The stop barrier: red and white warning stripes painted on metal, worn at the edges.
Image stopStripes() {
    Image image(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            float u = static_cast<float>(x) / size, v = static_cast<float>(y) / size;
            glm::vec3 metal = brushedMetal(u, v, 221u);
            float phase = fract((u + v) * 4.0f); // four stripe pairs: tiles in u and v
            float red =
                std::clamp((std::abs(phase - 0.5f) - 0.25f) * size / 4.0f + 0.5f, 0.0f, 1.0f);
            glm::vec3 paint =
                glm::mix(glm::vec3(0.93f, 0.93f, 0.90f), glm::vec3(0.80f, 0.08f, 0.06f), red);
            float wear = noise::tiledFbm(u, v, 12, 4, 222u);
            float painted = std::clamp((0.55f - wear) * 6.0f, 0.0f, 1.0f);
            glm::vec3 c = glm::mix(metal * 0.8f, paint * (0.92f + 0.1f * wear), painted);
            image.at(x, y) = glm::vec4(c, 1.0f);
        }
    }
    return image;
}

// The finish banner: chequered bands above and below the word ZIEL, 4:1 like the banner it
// is stretched over. Upright when v grows upwards on the banner.
Image finishBanner() {
    const int width = 512, height = 128, square = 12;
    const glm::vec4 light(0.97f, 0.97f, 0.95f, 1.0f), dark(0.06f, 0.06f, 0.07f, 1.0f);
    Image image(width, height, light);
    for (int y = 0; y < height; ++y) {
        if (y >= 2 * square && y < height - 2 * square)
            continue;
        for (int x = 0; x < width; ++x)
            image.at(x, y) = ((x / square) + (y / square)) % 2 == 0 ? dark : light;
    }
    TextRasterizer font(TextRasterizer::boldFontPath, 84);
    if (font.isOpen()) {
        int capHeight = font.glyph('Z').top;
        int baseline = height / 2 - capHeight / 2;
        font.drawCentred(image, "ZIEL", width / 2 + 2, baseline - 2, {0.2f, 0.05f, 0.05f, 0.6f});
        font.drawCentred(image, "ZIEL", width / 2, baseline, {0.82f, 0.07f, 0.06f, 1.0f});
    }
    return image;
}

} // namespace

void writeMaterialTextures(const std::string& outDir) {
    const std::string dir = outDir + "/texture/";
    reportWrite(dir + "Black Marble.jpg", blackMarble().writeJpg(dir + "Black Marble.jpg", 3));
    Image cherry = wood({{0.62f, 0.30f, 0.16f}, {0.42f, 0.17f, 0.08f}, 9.0f, 231u});
    reportWrite(dir + "Cherry_Wood_Texture.png",
                cherry.writePng(dir + "Cherry_Wood_Texture.png", 3));
    Image pine = wood({{0.80f, 0.62f, 0.38f}, {0.58f, 0.40f, 0.20f}, 6.0f, 241u});
    reportWrite(dir + "wood05.jpg", pine.writeJpg(dir + "wood05.jpg", 3));
    reportWrite(dir + "Ziel.bmp", finishBanner().writeBmp(dir + "Ziel.bmp"));
    reportWrite(dir + "grey12.jpg", stopStripes().writeJpg(dir + "grey12.jpg", 3));
    reportWrite(dir + "material08Gray.jpg", sawMetal().writeJpg(dir + "material08Gray.jpg", 3));
}
