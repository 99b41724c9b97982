#include "Image.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iostream>

#include <stb_image_write.h>

Image::Image(int width, int height, glm::vec4 fillColour)
    : w(std::max(width, 1)), h(std::max(height, 1)),
      pixels(static_cast<size_t>(w) * h, fillColour) {}

const glm::vec4& Image::wrapped(int x, int y) const {
    x %= w;
    y %= h;
    return at(x < 0 ? x + w : x, y < 0 ? y + h : y);
}

void Image::blend(int x, int y, const glm::vec4& colour, float coverage) {
    if (!contains(x, y) || coverage <= 0.0f)
        return;
    glm::vec4& p = at(x, y);
    p = glm::mix(p, colour, std::min(coverage, 1.0f));
}

void Image::blendWrapped(int x, int y, const glm::vec4& colour, float coverage) {
    x %= w;
    y %= h;
    blend(x < 0 ? x + w : x, y < 0 ? y + h : y, colour, coverage);
}

void Image::fillRect(int x0, int y0, int x1, int y1, const glm::vec4& colour) {
    for (int y = std::max(y0, 0); y < std::min(y1, h); ++y)
        for (int x = std::max(x0, 0); x < std::min(x1, w); ++x)
            at(x, y) = colour;
}

void Image::fillEllipse(float cx, float cy, float rx, float ry, const glm::vec4& colour,
                        bool wrap) {
    if (rx <= 0.0f || ry <= 0.0f)
        return;
    int x0 = static_cast<int>(std::floor(cx - rx - 1.0f));
    int x1 = static_cast<int>(std::ceil(cx + rx + 1.0f));
    int y0 = static_cast<int>(std::floor(cy - ry - 1.0f));
    int y1 = static_cast<int>(std::ceil(cy + ry + 1.0f));
    float pixelsPerUnit = std::min(rx, ry);
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            float dx = (x + 0.5f - cx) / rx;
            float dy = (y + 0.5f - cy) / ry;
            // Distance to the rim in pixels, approximately, gives a one-pixel soft edge.
            float edge = (1.0f - std::sqrt(dx * dx + dy * dy)) * pixelsPerUnit + 0.5f;
            float coverage = std::clamp(edge, 0.0f, 1.0f);
            if (wrap)
                blendWrapped(x, y, colour, coverage);
            else
                blend(x, y, colour, coverage);
        }
    }
}

std::vector<unsigned char> Image::bytes(int channels, bool bottomRowFirst) const {
    std::vector<unsigned char> out(static_cast<size_t>(w) * h * channels);
    auto toByte = [](float v) {
        return static_cast<unsigned char>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
    };
    for (int row = 0; row < h; ++row) {
        int y = bottomRowFirst ? row : h - 1 - row;
        for (int x = 0; x < w; ++x) {
            const glm::vec4& p = at(x, y);
            unsigned char* dst = &out[(static_cast<size_t>(row) * w + x) * channels];
            for (int c = 0; c < channels; ++c)
                dst[c] = toByte(channels == 1 ? p.r : p[c]);
        }
    }
    return out;
}

// stb writes the first row it is given at the top of the file's picture. PNG and JPEG keep
// that row first, and DevIL hands it to OpenGL first: it must be our bottom row. BMP and TGA
// are stored bottom-up, and DevIL hands over their bottom row first: that must be ours too,
// so stb gets our top row first.
bool Image::writePng(const std::string& path, int channels) const {
    makeParentFolders(path);
    std::vector<unsigned char> data = bytes(channels, true);
    return stbi_write_png(path.c_str(), w, h, channels, data.data(), w * channels) != 0;
}

bool Image::writeJpg(const std::string& path, int channels, int quality) const {
    makeParentFolders(path);
    std::vector<unsigned char> data = bytes(channels, true);
    return stbi_write_jpg(path.c_str(), w, h, channels, data.data(), quality) != 0;
}

bool Image::writeBmp(const std::string& path) const {
    makeParentFolders(path);
    // DevIL rejects stb's 32-bit BMPs; three channels load everywhere.
    std::vector<unsigned char> data = bytes(3, false);
    return stbi_write_bmp(path.c_str(), w, h, 3, data.data()) != 0;
}

bool Image::writeTga(const std::string& path) const {
    makeParentFolders(path);
    std::vector<unsigned char> data = bytes(4, false);
    return stbi_write_tga(path.c_str(), w, h, 4, data.data()) != 0;
}

void makeParentFolders(const std::string& path) {
    std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) {
        std::error_code ignored;
        std::filesystem::create_directories(parent, ignored);
    }
}

void reportWrite(const std::string& path, bool ok) {
    if (!ok)
        std::cerr << "levelgen: could not write " << path << std::endl;
}
