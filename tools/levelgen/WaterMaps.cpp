// The water's distortion and normal maps, both taken from one tileable wave height field: the
// du/dv map holds its slope and the normal map the surface normal of the same slope, so the
// ripples the shader distorts by are the ripples it lights.
#include <cmath>
#include <string>
#include <vector>

#include "ArtGenerators.h"
#include "Image.h"
#include "Noise.h"

namespace {

constexpr int mapSize = 256;

std::vector<float> waveHeights() {
    std::vector<float> height(static_cast<size_t>(mapSize) * mapSize);
    for (int y = 0; y < mapSize; ++y) {
        for (int x = 0; x < mapSize; ++x) {
            float u = static_cast<float>(x) / mapSize;
            float v = static_cast<float>(y) / mapSize;
            // Broad swells plus a finer chop; both repeat across the map's edges.
            float h = noise::tiledFbm(u, v, 4, 3, 71u) + 0.35f * noise::tiledFbm(u, v, 12, 2, 73u);
            height[static_cast<size_t>(y) * mapSize + x] = h;
        }
    }
    return height;
}

float heightAt(const std::vector<float>& height, int x, int y) {
    x = (x % mapSize + mapSize) % mapSize;
    y = (y % mapSize + mapSize) % mapSize;
    return height[static_cast<size_t>(y) * mapSize + x];
}

} // namespace

void writeWaterMaps(const std::string& outDir) {
    std::vector<float> height = waveHeights();
    Image dudv(mapSize, mapSize);
    Image normals(mapSize, mapSize);
    // Central differences across the wrapped edges, scaled so the steepest slopes reach the
    // ends of the byte range without clipping much.
    const float slopeScale = 6.0f;
    for (int y = 0; y < mapSize; ++y) {
        for (int x = 0; x < mapSize; ++x) {
            float du = (heightAt(height, x + 1, y) - heightAt(height, x - 1, y)) * slopeScale;
            float dv = (heightAt(height, x, y + 1) - heightAt(height, x, y - 1)) * slopeScale;
            dudv.at(x, y) = glm::vec4(0.5f + 0.5f * du, 0.5f + 0.5f * dv, 0.0f, 1.0f);
            glm::vec3 n = glm::normalize(glm::vec3(-du, -dv, 1.0f));
            normals.at(x, y) = glm::vec4(0.5f + 0.5f * n, 1.0f);
        }
    }
    std::string dudvPath = outDir + "/texture/Water/dudvmap.bmp";
    reportWrite(dudvPath, dudv.writeBmp(dudvPath));
    std::string normalPath = outDir + "/texture/Water/normalmap.bmp";
    reportWrite(normalPath, normals.writeBmp(normalPath));
}
