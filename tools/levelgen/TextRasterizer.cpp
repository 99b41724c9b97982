#include "TextRasterizer.h"

#include <iostream>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "Image.h"

const char* const TextRasterizer::boldFontPath =
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

TextRasterizer::TextRasterizer(const std::string& fontPath, int pixelSize) {
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0) {
        std::cerr << "levelgen: FreeType could not start" << std::endl;
        return;
    }
    library = lib;
    FT_Face f = nullptr;
    if (FT_New_Face(lib, fontPath.c_str(), 0, &f) != 0) {
        std::cerr << "levelgen: cannot open font " << fontPath
                  << " (Debian package fonts-dejavu-core)" << std::endl;
        return;
    }
    FT_Set_Pixel_Sizes(f, 0, static_cast<FT_UInt>(pixelSize));
    face = f;
    ascent = static_cast<int>((f->size->metrics.ascender + 63) >> 6);
    descent = static_cast<int>(f->size->metrics.descender >> 6);
    lineGap = static_cast<int>((f->size->metrics.height + 63) >> 6);
}

TextRasterizer::~TextRasterizer() {
    if (face)
        FT_Done_Face(static_cast<FT_Face>(face));
    if (library)
        FT_Done_FreeType(static_cast<FT_Library>(library));
}

TextRasterizer::Glyph TextRasterizer::glyph(unsigned long codePoint) const {
    Glyph g;
    if (!face)
        return g;
    FT_Face f = static_cast<FT_Face>(face);
    if (FT_Load_Char(f, codePoint, FT_LOAD_RENDER) != 0)
        return g;
    const FT_Bitmap& bitmap = f->glyph->bitmap;
    g.width = static_cast<int>(bitmap.width);
    g.height = static_cast<int>(bitmap.rows);
    g.left = f->glyph->bitmap_left;
    g.top = f->glyph->bitmap_top;
    g.advance = static_cast<int>((f->glyph->advance.x + 32) >> 6);
    g.coverage.resize(static_cast<size_t>(g.width) * g.height);
    for (int row = 0; row < g.height; ++row)
        for (int col = 0; col < g.width; ++col)
            g.coverage[static_cast<size_t>(row) * g.width + col] =
                bitmap.buffer[row * bitmap.pitch + col];
    return g;
}

int TextRasterizer::measure(const std::string& utf8) const {
    int width = 0;
    for (unsigned long c : decodeUtf8(utf8))
        width += glyph(c).advance;
    return width;
}

void TextRasterizer::draw(Image& image, const std::string& utf8, int x, int baselineY,
                          const glm::vec4& colour) const {
    int pen = x;
    for (unsigned long c : decodeUtf8(utf8)) {
        Glyph g = glyph(c);
        for (int row = 0; row < g.height; ++row) {
            // FreeType's rows run downwards; ours run upwards from the bottom.
            int y = baselineY + g.top - 1 - row;
            for (int col = 0; col < g.width; ++col) {
                float a = g.coverage[static_cast<size_t>(row) * g.width + col] / 255.0f;
                image.blend(pen + g.left + col, y, colour, a * colour.a);
            }
        }
        pen += g.advance;
    }
}

void TextRasterizer::drawCentred(Image& image, const std::string& utf8, int centreX, int baselineY,
                                 const glm::vec4& colour) const {
    draw(image, utf8, centreX - measure(utf8) / 2, baselineY, colour);
}

std::vector<unsigned long> decodeUtf8(const std::string& text) {
    std::vector<unsigned long> out;
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + extra >= text.size()) {
            out.push_back('?');
            ++i;
            continue;
        }
        unsigned long cp = extra == 0 ? c : (c & (0x3F >> extra));
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            unsigned char next = static_cast<unsigned char>(text[i + k]);
            ok = ok && (next >> 6) == 2;
            cp = (cp << 6) | (next & 0x3F);
        }
        out.push_back(ok ? cp : '?');
        i += ok ? extra + 1 : 1;
    }
    return out;
}
