#pragma once

#include <string>
#include <vector>

#include <glm/glm.hpp>

class Image;

// Renders text with FreeType from a TrueType font at one pixel size: single glyph bitmaps for
// the font page, whole strings for the pictures.
class TextRasterizer {
  public:
    // Where the generator's fonts come from (Debian's fonts-dejavu-core).
    static const char* const boldFontPath;

    struct Glyph {
        int width = 0;
        int height = 0;
        int left = 0;                        // from the pen to the bitmap's left edge
        int top = 0;                         // from the baseline up to the bitmap's top edge
        int advance = 0;                     // pen advance in whole pixels
        std::vector<unsigned char> coverage; // width * height, the TOP row first
    };

    TextRasterizer(const std::string& fontPath, int pixelSize);
    ~TextRasterizer();
    TextRasterizer(const TextRasterizer&) = delete;
    TextRasterizer& operator=(const TextRasterizer&) = delete;

    bool isOpen() const { return face != nullptr; }
    int ascender() const { return ascent; }
    int descender() const { return descent; } // negative: below the baseline
    int lineHeight() const { return lineGap; }

    Glyph glyph(unsigned long codePoint) const;
    // Width of a UTF-8 string in pixels (sum of the advances).
    int measure(const std::string& utf8) const;
    // Draws a UTF-8 string with its baseline at row baselineY (rows counted from the bottom, as
    // in Image) starting at pen x.
    void draw(Image& image, const std::string& utf8, int x, int baselineY,
              const glm::vec4& colour) const;
    // Draws the string centred on x.
    void drawCentred(Image& image, const std::string& utf8, int centreX, int baselineY,
                     const glm::vec4& colour) const;

  private:
    void* library = nullptr; // FT_Library
    void* face = nullptr;    // FT_Face
    int ascent = 0;
    int descent = 0;
    int lineGap = 0;
};

// Decodes UTF-8 into code points; malformed bytes become '?'.
std::vector<unsigned long> decodeUtf8(const std::string& text);
