#pragma once

#include <cstdint>

#include "hud/Glyph.h"

// What a BMFont text file tells about a font: the page metrics of the "common" line and one
// glyph record per character code. Everything is zero until the file sets it.
struct FontDescription {
    uint16_t lineHeight = 0;
    uint16_t base = 0;
    uint16_t scaleW = 0;
    uint16_t scaleH = 0;
    uint16_t pages = 0;
    Glyph glyphs[256] = {};
};
