// The HUD font: printable ASCII rasterised with FreeType into one page, and its description in
// the text BMFont form. The page is white ink whose alpha carries the coverage: every texel of
// a glyph's rectangle (and the one-texel ring around it that filtering reaches) is white, so the
// HUD, which draws unblended and drops texels of low alpha, shows clean white letters without a
// dark fringe. Everything else is transparent black.
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "Generators.h"
#include "Image.h"
#include "TextRasterizer.h"

namespace {

constexpr int pixelSize = 24; // readable on a 1024 x 768 HUD
constexpr int pageWidth = 256;
constexpr int spacing = 2; // empty pixels between glyphs, so filtering never bleeds
constexpr int firstCode = 32;
constexpr int lastCode = 126;

struct PlacedGlyph {
    int code;
    TextRasterizer::Glyph bitmap;
    int x = 0; // top-left in the page, y counted from the top
    int y = 0;
};

// Shelf packing in code order; returns the height used.
int packGlyphs(std::vector<PlacedGlyph>& glyphs) {
    int penX = spacing, penY = spacing, shelf = 0;
    for (PlacedGlyph& g : glyphs) {
        if (g.bitmap.width == 0 || g.bitmap.height == 0)
            continue; // blank glyphs keep (0, 0) and an empty rectangle
        if (penX + g.bitmap.width + spacing > pageWidth) {
            penX = spacing;
            penY += shelf + spacing;
            shelf = 0;
        }
        g.x = penX;
        g.y = penY;
        penX += g.bitmap.width + spacing;
        shelf = std::max(shelf, g.bitmap.height);
    }
    return penY + shelf + spacing;
}

int nextPowerOfTwo(int n) {
    int p = 64;
    while (p < n)
        p *= 2;
    return p;
}

Image paintPage(const std::vector<PlacedGlyph>& glyphs, int pageHeight) {
    Image page(pageWidth, pageHeight, glm::vec4(0.0f));
    for (const PlacedGlyph& g : glyphs) {
        if (g.bitmap.width == 0 || g.bitmap.height == 0)
            continue;
        int bottom = pageHeight - (g.y + g.bitmap.height);
        page.fillRect(g.x - 1, bottom - 1, g.x + g.bitmap.width + 1, bottom + g.bitmap.height + 1,
                      glm::vec4(1.0f, 1.0f, 1.0f, 0.0f));
        for (int row = 0; row < g.bitmap.height; ++row) {
            int y = pageHeight - 1 - (g.y + row); // page rows are counted from the bottom
            for (int col = 0; col < g.bitmap.width; ++col) {
                float a =
                    g.bitmap.coverage[static_cast<size_t>(row) * g.bitmap.width + col] / 255.0f;
                page.at(g.x + col, y).a = a;
            }
        }
    }
    return page;
}

bool writeDescription(const std::string& path, const std::vector<PlacedGlyph>& glyphs,
                      const TextRasterizer& font, int pageHeight) {
    // The HUD right-aligns numbers, so every digit advances by the same amount.
    int digitAdvance = 0;
    for (const PlacedGlyph& g : glyphs)
        if (g.code >= '0' && g.code <= '9')
            digitAdvance = std::max(digitAdvance, g.bitmap.advance);

    makeParentFolders(path);
    std::ofstream out(path, std::ios::binary);
    out << "info face=\"DejaVu Sans Bold\" size=" << pixelSize
        << " bold=1 italic=0 charset=\"\" unicode=1 stretchH=100 smooth=1 aa=1"
        << " padding=0,0,0,0 spacing=" << spacing << "," << spacing << "\n";
    out << "common lineHeight=" << font.lineHeight() << " base=" << font.ascender()
        << " scaleW=" << pageWidth << " scaleH=" << pageHeight << " pages=1 packed=0\n";
    out << "page id=0 file=\"basicFont_0.tga\"\n";
    out << "chars count=" << glyphs.size() << "\n";
    for (const PlacedGlyph& g : glyphs) {
        bool digit = g.code >= '0' && g.code <= '9';
        out << "char id=" << g.code << " x=" << g.x << " y=" << g.y << " width=" << g.bitmap.width
            << " height=" << g.bitmap.height << " xoffset=" << g.bitmap.left
            << " yoffset=" << font.ascender() - g.bitmap.top
            << " xadvance=" << (digit ? digitAdvance : g.bitmap.advance) << " page=0 chnl=15\n";
    }
    return static_cast<bool>(out);
}

} // namespace

void generateFont(const std::string& outDir) {
    TextRasterizer font(TextRasterizer::boldFontPath, pixelSize);
    if (!font.isOpen()) {
        std::cerr << "levelgen: the HUD font needs a TrueType font; stopping" << std::endl;
        std::exit(1);
    }
    std::vector<PlacedGlyph> glyphs;
    for (int code = firstCode; code <= lastCode; ++code)
        glyphs.push_back(PlacedGlyph{code, font.glyph(static_cast<unsigned long>(code))});
    int pageHeight = nextPowerOfTwo(packGlyphs(glyphs));

    std::string pagePath = outDir + "/data/basicFont_0.tga";
    reportWrite(pagePath, paintPage(glyphs, pageHeight).writeTga(pagePath));
    std::string fontPath = outDir + "/data/basicFont.fnt";
    reportWrite(fontPath, writeDescription(fontPath, glyphs, font, pageHeight));
}
