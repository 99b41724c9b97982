#pragma once

#include <string>
#include <vector>

#include <glm/glm.hpp>

// A picture in floating-point RGBA (0..1) that the generators paint into.
// Row 0 is the BOTTOM of the picture: the row OpenGL receives first, texture coordinate v = 0.
// The game's loader hands DevIL's rows to OpenGL unconverted, and DevIL delivers PNG and JPEG
// rows top-of-file first but BMP and TGA rows bottom-of-file first; the writers below store the
// rows so that every format arrives in OpenGL in this same order. A PNG or JPEG written here
// therefore looks upside down in an image viewer but upright in the game.
class Image {
  public:
    Image(int width, int height, glm::vec4 fillColour = glm::vec4(0.0f));

    int width() const { return w; }
    int height() const { return h; }

    glm::vec4& at(int x, int y) { return pixels[static_cast<size_t>(y) * w + x]; }
    const glm::vec4& at(int x, int y) const { return pixels[static_cast<size_t>(y) * w + x]; }
    // Reads with both coordinates wrapped, for tileable pictures.
    const glm::vec4& wrapped(int x, int y) const;
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }

    // Mixes colour over the pixel by coverage (0..1); pixels outside the picture are ignored.
    void blend(int x, int y, const glm::vec4& colour, float coverage);
    // The same, with x and y wrapped around the edges (stamps on tileable pictures).
    void blendWrapped(int x, int y, const glm::vec4& colour, float coverage);
    void fillRect(int x0, int y0, int x1, int y1, const glm::vec4& colour);
    // An antialiased ellipse centred at (cx, cy) with radii rx, ry in pixels.
    void fillEllipse(float cx, float cy, float rx, float ry, const glm::vec4& colour,
                     bool wrap = false);

    // Encoders; channels is 1 (grey from red), 3 or 4. Each returns false when the file could
    // not be written.
    bool writePng(const std::string& path, int channels) const;
    bool writeJpg(const std::string& path, int channels, int quality = 92) const;
    bool writeBmp(const std::string& path) const;
    bool writeTga(const std::string& path) const;

  private:
    // 8-bit interleaved samples, row 0 first when bottomRowFirst, else the top row first.
    std::vector<unsigned char> bytes(int channels, bool bottomRowFirst) const;

    int w;
    int h;
    std::vector<glm::vec4> pixels;
};

// Creates the folders above a file about to be written.
void makeParentFolders(const std::string& path);
// Reports a file that could not be written on standard error.
void reportWrite(const std::string& path, bool ok);
