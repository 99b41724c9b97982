// The textures the marble rolls over or beside: grass, meadow, the gravel path and the stone
// wall. All of them repeat across the level, so every one tiles without a visible edge.
#include <algorithm>
#include <cmath>
#include <string>

#include "ArtGenerators.h"
#include "Image.h"
#include "Noise.h"

namespace {

constexpr int size = 512;

struct BladePalette {
    glm::vec3 dark;
    glm::vec3 light;
    glm::vec3 dry; // an occasional yellowed blade
};

// Short grass blades stamped all over a tileable ground colour.
void paintBlades(Image& image, int count, uint32_t seed, const BladePalette& palette) {
    for (int k = 0; k < count; ++k) {
        float x = noise::unit(k, 0, 0, seed) * size;
        float y = noise::unit(k, 1, 0, seed) * size;
        float length = 4.0f + 8.0f * noise::unit(k, 2, 0, seed);
        float lean = (noise::unit(k, 3, 0, seed) - 0.5f) * 0.9f;
        float shade = noise::unit(k, 4, 0, seed);
        glm::vec3 colour = glm::mix(palette.dark, palette.light, shade);
        if (noise::unit(k, 5, 0, seed) < 0.08f)
            colour = palette.dry;
        for (int step = 0; step <= static_cast<int>(length); ++step) {
            float t = step / length;
            // Blades get lighter toward the tip, as sunlit tips do.
            glm::vec4 c(colour * (0.8f + 0.35f * t), 1.0f);
            int px = static_cast<int>(std::floor(x + lean * step));
            int py = static_cast<int>(std::floor(y + step));
            image.blendWrapped(px, py, c, 0.85f - 0.3f * t);
        }
    }
}

Image groundColour(glm::vec3 low, glm::vec3 high, uint32_t seed) {
    Image image(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            float u = static_cast<float>(x) / size, v = static_cast<float>(y) / size;
            float patches = noise::tiledFbm(u, v, 4, 4, seed);
            float grain = noise::tiledFbm(u, v, 64, 2, seed + 5u);
            float t = std::clamp(0.5f + 0.8f * patches + 0.15f * grain, 0.0f, 1.0f);
            image.at(x, y) = glm::vec4(glm::mix(low, high, t), 1.0f);
        }
    }
    return image;
}

Image grass() {
    Image image = groundColour({0.16f, 0.32f, 0.08f}, {0.33f, 0.55f, 0.16f}, 101u);
    paintBlades(image, 26000, 102u,
                {{0.14f, 0.30f, 0.07f}, {0.36f, 0.62f, 0.18f}, {0.55f, 0.56f, 0.25f}});
    return image;
}

Image meadow() {
    Image image = groundColour({0.30f, 0.45f, 0.14f}, {0.50f, 0.62f, 0.24f}, 111u);
    paintBlades(image, 20000, 112u,
                {{0.26f, 0.42f, 0.12f}, {0.52f, 0.70f, 0.26f}, {0.70f, 0.66f, 0.32f}});
    // Scattered flowers: white daisies, yellow buttercups and a few purple ones.
    const glm::vec4 petals[3] = {
        {0.96f, 0.96f, 0.92f, 1}, {0.98f, 0.84f, 0.18f, 1}, {0.62f, 0.42f, 0.80f, 1}};
    for (int k = 0; k < 420; ++k) {
        float x = noise::unit(k, 0, 1, 113u) * size;
        float y = noise::unit(k, 1, 1, 113u) * size;
        int kind = static_cast<int>(noise::unit(k, 2, 1, 113u) * 3.0f) % 3;
        float r = 1.6f + 1.4f * noise::unit(k, 3, 1, 113u);
        image.fillEllipse(x, y, r, r, petals[kind], true);
        image.fillEllipse(x, y, r * 0.4f, r * 0.4f, {0.95f, 0.72f, 0.10f, 1}, true);
    }
    return image;
}

Image gravelPath() {
    Image image(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            float u = static_cast<float>(x) / size, v = static_cast<float>(y) / size;
            noise::Cell cell = noise::tiledCells(u, v, 28, 121u);
            float tone = (cell.id & 0xFF) / 255.0f;
            float warm = ((cell.id >> 8) & 0xFF) / 255.0f;
            glm::vec3 stone =
                glm::mix(glm::vec3(0.46f, 0.44f, 0.41f), glm::vec3(0.72f, 0.68f, 0.60f), tone);
            stone = glm::mix(stone, stone * glm::vec3(1.08f, 0.96f, 0.84f), warm);
            // Rounded stones: darker toward their rims, sandy grit in the gaps between them.
            float gap = cell.second - cell.nearest;
            float rim = std::clamp(gap * 4.0f, 0.0f, 1.0f);
            glm::vec3 sand(0.50f, 0.43f, 0.33f);
            float grit = noise::tiledFbm(u, v, 96, 2, 122u);
            glm::vec3 c = glm::mix(sand * (0.9f + 0.2f * grit), stone * (0.75f + 0.25f * rim),
                                   std::clamp(gap * 12.0f - 0.3f, 0.0f, 1.0f));
            c *= 0.92f + 0.12f * noise::tiledFbm(u, v, 8, 3, 123u);
            image.at(x, y) = glm::vec4(c, 1.0f);
        }
    }
    return image;
}

// Rough stone blocks in courses, with mortar between them; each course has its own joints.
Image stoneWall() {
    const int courses = 8;
    const float courseHeight = static_cast<float>(size) / courses;
    Image image(size, size);
    for (int y = 0; y < size; ++y) {
        int course = static_cast<int>(y / courseHeight);
        float inCourse = y - course * courseHeight;
        int blocks = 3 + static_cast<int>(noise::unit(course, 0, 0, 131u) * 3.0f);
        float offset = noise::unit(course, 1, 0, 131u) * size;
        for (int x = 0; x < size; ++x) {
            float along = std::fmod(x + offset, static_cast<float>(size)) * blocks / size;
            int block = static_cast<int>(along);
            float inBlock = (along - block) * size / blocks;
            float blockWidth = static_cast<float>(size) / blocks;
            float u = static_cast<float>(x) / size, v = static_cast<float>(y) / size;
            float rough = noise::tiledFbm(u, v, 16, 4, 132u);
            // Distance to the nearest joint, roughened so the blocks look hewn, not sawn.
            float edge =
                std::min({inCourse, courseHeight - inCourse, inBlock, blockWidth - inBlock});
            edge += rough * 3.0f;
            uint32_t id = noise::hash(course, block % blocks, 0, 133u);
            float tone = (id & 0xFF) / 255.0f;
            glm::vec3 stone =
                glm::mix(glm::vec3(0.42f, 0.40f, 0.38f), glm::vec3(0.66f, 0.62f, 0.56f), tone);
            stone *= 0.85f + 0.3f * (0.5f + 0.5f * rough);
            float bevel = std::clamp((edge - 2.0f) / 6.0f, 0.0f, 1.0f);
            glm::vec3 mortar(0.30f, 0.28f, 0.25f);
            glm::vec3 c = glm::mix(mortar, stone * (0.7f + 0.3f * bevel),
                                   std::clamp(edge - 2.0f, 0.0f, 1.0f));
            image.at(x, y) = glm::vec4(c, 1.0f);
        }
    }
    return image;
}

} // namespace

void writeGroundTextures(const std::string& outDir) {
    const std::string dir = outDir + "/texture/";
    reportWrite(dir + "Green2.png", grass().writePng(dir + "Green2.png", 3));
    reportWrite(dir + "testPlane.png", meadow().writePng(dir + "testPlane.png", 3));
    reportWrite(dir + "Test2.png", gravelPath().writePng(dir + "Test2.png", 3));
    reportWrite(dir + "wall2.jpg", stoneWall().writeJpg(dir + "wall2.jpg", 3));
}
