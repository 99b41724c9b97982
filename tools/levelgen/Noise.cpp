#include "Noise.h"

#include <cmath>
#include <initializer_list>

namespace noise {

uint32_t hash(int32_t x, int32_t y, int32_t z, uint32_t seed) {
    uint32_t h = seed * 0x9E3779B9u;
    for (int32_t v : {x, y, z}) {
        h ^= static_cast<uint32_t>(v) + 0x7F4A7C15u + (h << 6) + (h >> 2);
        h *= 0x85EBCA6Bu;
        h ^= h >> 13;
        h *= 0xC2B2AE35u;
        h ^= h >> 16;
    }
    return h;
}

float unit(int32_t x, int32_t y, int32_t z, uint32_t seed) {
    return static_cast<float>(hash(x, y, z, seed) >> 8) * (1.0f / 16777216.0f);
}

namespace {

float fade(float t) {
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

int wrap(int i, int period) {
    int r = i % period;
    return r < 0 ? r + period : r;
}

struct CircleTable {
    glm::vec2 direction[256];
    CircleTable() {
        for (int k = 0; k < 256; ++k) {
            float a = 6.2831853f * (k + 0.5f) / 256.0f;
            direction[k] = glm::vec2(std::cos(a), std::sin(a));
        }
    }
};

float gradient2(int ix, int iy, float dx, float dy, uint32_t seed) {
    static const CircleTable table;
    const glm::vec2& g = table.direction[hash(ix, iy, 0, seed) & 255u];
    return g.x * dx + g.y * dy;
}

struct DirectionTable {
    glm::vec3 direction[256];
    DirectionTable() {
        // Evenly spread directions on the sphere (a golden-angle spiral), picked by hash.
        for (int k = 0; k < 256; ++k) {
            float z = 1.0f - (k + 0.5f) / 128.0f;
            float r = std::sqrt(1.0f - z * z);
            float a = 2.3999632f * k;
            direction[k] = glm::vec3(r * std::cos(a), r * std::sin(a), z);
        }
    }
};

const glm::vec3& gradientDirection(int ix, int iy, int iz, uint32_t seed) {
    static const DirectionTable table;
    return table.direction[hash(ix, iy, iz, seed) & 255u];
}

} // namespace

float tiled(float x, float y, int period, uint32_t seed) {
    return tiled(x, y, period, period, seed);
}

float tiled(float x, float y, int periodX, int periodY, uint32_t seed) {
    periodX = periodX < 1 ? 1 : periodX;
    periodY = periodY < 1 ? 1 : periodY;
    float fx = std::floor(x);
    float fy = std::floor(y);
    int ix = static_cast<int>(fx);
    int iy = static_cast<int>(fy);
    float dx = x - fx;
    float dy = y - fy;
    int x0 = wrap(ix, periodX), x1 = wrap(ix + 1, periodX);
    int y0 = wrap(iy, periodY), y1 = wrap(iy + 1, periodY);
    float n00 = gradient2(x0, y0, dx, dy, seed);
    float n10 = gradient2(x1, y0, dx - 1.0f, dy, seed);
    float n01 = gradient2(x0, y1, dx, dy - 1.0f, seed);
    float n11 = gradient2(x1, y1, dx - 1.0f, dy - 1.0f, seed);
    float u = fade(dx);
    float v = fade(dy);
    float a = n00 + (n10 - n00) * u;
    float b = n01 + (n11 - n01) * u;
    return (a + (b - a) * v) * 1.41f;
}

float tiledFbm(float u, float v, int cells, int octaves, uint32_t seed) {
    float sum = 0.0f;
    float amplitude = 1.0f;
    float norm = 0.0f;
    int period = cells;
    for (int o = 0; o < octaves; ++o) {
        sum += amplitude * tiled(u * period, v * period, period, seed + 977u * o);
        norm += amplitude;
        amplitude *= 0.5f;
        period *= 2;
    }
    return sum / norm;
}

Cell tiledCells(float u, float v, int cells, uint32_t seed) {
    if (cells < 1)
        cells = 1;
    float x = u * cells;
    float y = v * cells;
    int cx = static_cast<int>(std::floor(x));
    int cy = static_cast<int>(std::floor(y));
    Cell result{1e9f, 1e9f, 0};
    for (int j = -1; j <= 1; ++j) {
        for (int i = -1; i <= 1; ++i) {
            int gx = wrap(cx + i, cells);
            int gy = wrap(cy + j, cells);
            float px = static_cast<float>(cx + i) + 0.1f + 0.8f * unit(gx, gy, 1, seed);
            float py = static_cast<float>(cy + j) + 0.1f + 0.8f * unit(gx, gy, 2, seed);
            float d = std::hypot(px - x, py - y);
            if (d < result.nearest) {
                result.second = result.nearest;
                result.nearest = d;
                result.id = hash(gx, gy, 3, seed);
            } else if (d < result.second) {
                result.second = d;
            }
        }
    }
    return result;
}

float solid(const glm::vec3& p, uint32_t seed) {
    glm::vec3 f = glm::floor(p);
    glm::ivec3 i(f);
    glm::vec3 d = p - f;
    float corner[8];
    for (int c = 0; c < 8; ++c) {
        glm::ivec3 o(c & 1, (c >> 1) & 1, (c >> 2) & 1);
        const glm::vec3& g = gradientDirection(i.x + o.x, i.y + o.y, i.z + o.z, seed);
        corner[c] = glm::dot(g, d - glm::vec3(o));
    }
    float u = fade(d.x), v = fade(d.y), w = fade(d.z);
    auto lerp = [](float a, float b, float t) { return a + (b - a) * t; };
    float x00 = lerp(corner[0], corner[1], u), x10 = lerp(corner[2], corner[3], u);
    float x01 = lerp(corner[4], corner[5], u), x11 = lerp(corner[6], corner[7], u);
    return lerp(lerp(x00, x10, v), lerp(x01, x11, v), w) * 1.6f;
}

float solidFbm(const glm::vec3& p, int octaves, uint32_t seed) {
    float sum = 0.0f;
    float amplitude = 1.0f;
    float norm = 0.0f;
    glm::vec3 q = p;
    for (int o = 0; o < octaves; ++o) {
        sum += amplitude * solid(q, seed + 1013u * o);
        norm += amplitude;
        amplitude *= 0.5f;
        q *= 2.03f;
    }
    return sum / norm;
}

} // namespace noise
