#pragma once

#include <string>
#include <vector>

#include <glm/glm.hpp>

// A picture decoded exactly as the game's texture loader hands it to OpenGL: no origin flip,
// so row 0 is the row at texture coordinate v = 0.
struct GlPicture {
    bool ok = false;
    int width = 0;
    int height = 0;
    int bytesPerPixel = 0;
    int format = 0; // DevIL's format code, equal to OpenGL's
    std::vector<unsigned char> data;

    // Red, green, blue, alpha (0..255) of column x in GL row `row`, whatever the channel order.
    glm::ivec4 rgba(int x, int row) const;
    float luminance(int x, int row) const;
};

GlPicture loadAsGl(const std::string& path);
std::vector<unsigned char> readBytes(const std::string& path);
// "png", "jpg", "bmp" or "tga" by the file's first bytes (TGA has no signature: anything with
// a valid TGA image type), or "" when unreadable.
std::string imageKind(const std::string& path);

// Every image, font and sound file the generator writes for the art, relative to the run dir.
const std::vector<std::string>& generatedArtFiles();
