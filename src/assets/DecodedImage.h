#pragma once

#include <vector>

// A picture as the texture loader uploads it: 8-bit RGB or RGBA, rows tightly packed and in
// the order the file stores them (bottom row first in a BMP or TGA that says so, top row
// first in PNG and JPEG). The level's texture coordinates were made for that order, so every
// decoder keeps it.
struct DecodedImage {
    int width = 0;
    int height = 0;
    int channels = 0; // 3 (RGB) or 4 (RGBA)
    std::vector<unsigned char> pixels;
};
