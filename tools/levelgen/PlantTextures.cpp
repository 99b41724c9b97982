// The tree and reed pictures with their cut-out masks (white = leaf or blade, black = hole).
// The plants stand upright when v runs from 0 at the ground to 1 at the top.
#include <algorithm>
#include <cmath>
#include <string>

#include "ArtGenerators.h"
#include "Image.h"
#include "Noise.h"

namespace {

constexpr int size = 512;
const glm::vec4 white(1.0f);

struct Plant {
    Image colour;
    Image mask;
    explicit Plant(glm::vec3 background)
        : colour(size, size, glm::vec4(background, 1.0f)), mask(size, size, glm::vec4(0, 0, 0, 1)) {
    }

    // A round-ended stroke from a to b whose width goes from w0 to w1, in both pictures.
    void stroke(glm::vec2 a, glm::vec2 b, float w0, float w1, const glm::vec3& c0,
                const glm::vec3& c1) {
        float length = glm::length(b - a);
        int steps = std::max(1, static_cast<int>(length));
        for (int i = 0; i <= steps; ++i) {
            float t = static_cast<float>(i) / steps;
            glm::vec2 p = glm::mix(a, b, t);
            float r = 0.5f * glm::mix(w0, w1, t);
            colour.fillEllipse(p.x, p.y, r, r, glm::vec4(glm::mix(c0, c1, t), 1.0f));
            mask.fillEllipse(p.x, p.y, r, r, white);
        }
    }
};

void treeTrunk(Plant& tree) {
    const glm::vec3 bark(0.30f, 0.21f, 0.13f), barkLight(0.42f, 0.31f, 0.20f);
    tree.stroke({256, 0}, {252, 250}, 38.0f, 18.0f, bark, barkLight);
    // Main boughs reaching into the crown.
    const glm::vec2 boughs[5][2] = {{{254, 150}, {150, 300}},
                                    {{254, 170}, {370, 320}},
                                    {{252, 230}, {190, 400}},
                                    {{252, 240}, {320, 420}},
                                    {{252, 250}, {256, 450}}};
    for (const auto& b : boughs)
        tree.stroke(b[0], b[1], 12.0f, 4.0f, bark, barkLight);
}

void treeCrown(Plant& tree) {
    const glm::vec2 centre(256.0f, 330.0f);
    const glm::vec2 radius(230.0f, 175.0f);
    const uint32_t seed = 301u;
    for (int k = 0; k < 6500; ++k) {
        glm::vec2 q(noise::unit(k, 0, 0, seed) * 2.0f - 1.0f,
                    noise::unit(k, 1, 0, seed) * 2.0f - 1.0f);
        if (glm::dot(q, q) > 1.0f)
            continue;
        glm::vec2 p = centre + q * radius;
        // Leaves grow in clumps with gaps between them, so light shows through the crown.
        float clump = noise::tiledFbm(p.x / size, p.y / size, 6, 3, seed + 1u);
        float rimFade = 1.0f - glm::dot(q, q);
        if (clump + 0.4f * rimFade < -0.02f)
            continue;
        float rx = 4.0f + 5.0f * noise::unit(k, 2, 0, seed);
        float ry = rx * (0.55f + 0.3f * noise::unit(k, 3, 0, seed));
        if (noise::unit(k, 4, 0, seed) < 0.5f)
            std::swap(rx, ry);
        // Sunlit from above: leaves high in the crown are lighter, the underside darker.
        float light = std::clamp(0.55f + 0.45f * q.y + 0.25f * (noise::unit(k, 5, 0, seed) - 0.5f),
                                 0.0f, 1.0f);
        glm::vec3 c =
            glm::mix(glm::vec3(0.10f, 0.26f, 0.07f), glm::vec3(0.42f, 0.66f, 0.20f), light);
        tree.colour.fillEllipse(p.x, p.y, rx, ry, glm::vec4(c, 1.0f));
        tree.mask.fillEllipse(p.x, p.y, rx, ry, white);
    }
}

void reedBlades(Plant& reeds) {
    const uint32_t seed = 311u;
    for (int k = 0; k < 70; ++k) {
        float x0 = 20.0f + noise::unit(k, 0, 0, seed) * (size - 40.0f);
        float height = 260.0f + noise::unit(k, 1, 0, seed) * 240.0f;
        float lean = (noise::unit(k, 2, 0, seed) - 0.5f) * 120.0f;
        float width = 5.0f + 4.0f * noise::unit(k, 3, 0, seed);
        glm::vec3 base = glm::mix(glm::vec3(0.20f, 0.34f, 0.10f), glm::vec3(0.32f, 0.48f, 0.16f),
                                  noise::unit(k, 4, 0, seed));
        glm::vec3 tip = glm::mix(base, glm::vec3(0.66f, 0.62f, 0.30f), 0.6f);
        // A blade bends more the higher it gets: three straight pieces along a curve.
        glm::vec2 prev(x0, 0.0f);
        for (int piece = 1; piece <= 3; ++piece) {
            float t = piece / 3.0f;
            glm::vec2 next(x0 + lean * t * t, height * t);
            reeds.stroke(prev, next, width * (1.0f - 0.3f * (t - 1.0f / 3.0f)),
                         std::max(1.5f, width * (1.0f - 0.9f * t)), glm::mix(base, tip, t - 0.33f),
                         glm::mix(base, tip, t));
            prev = next;
        }
        // Every fourth stem carries a brown seed head.
        if (k % 4 == 0) {
            glm::vec2 head(x0 + lean * 0.7f, height * 0.84f);
            reeds.stroke(head - glm::vec2(lean * 0.04f, 26.0f),
                         head + glm::vec2(lean * 0.04f, 26.0f), 11.0f, 11.0f, {0.36f, 0.22f, 0.12f},
                         {0.30f, 0.18f, 0.10f});
        }
    }
}

void write(const Plant& plant, const std::string& colourPath, const std::string& maskPath) {
    reportWrite(colourPath, plant.colour.writeJpg(colourPath, 3));
    // Grey in all three channels, so the mask reads the same whichever channel a shader uses.
    reportWrite(maskPath, plant.mask.writeJpg(maskPath, 3));
}

} // namespace

void writePlantTextures(const std::string& outDir) {
    const std::string dir = outDir + "/texture/trees/";
    // The colour behind the holes matches the foliage, so filtering at the cut edges stays green.
    Plant tree({0.18f, 0.34f, 0.11f});
    treeTrunk(tree);
    treeCrown(tree);
    write(tree, dir + "tree_summer08.jpg", dir + "tree_summer08Alpha.jpg");

    Plant reeds({0.26f, 0.40f, 0.13f});
    reedBlades(reeds);
    write(reeds, dir + "grass_summer10.jpg", dir + "grass_summer10Alpha.jpg");
}
