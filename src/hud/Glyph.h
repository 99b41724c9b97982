#pragma once

#include <cstdint>

// One character of a bitmap font, as the font file stores it: its rectangle in the font
// page (y from the top of the image), its size, the offset of its top-left corner from the
// pen (y downwards), the pen advance after it and its page. The drawing code reads the first
// six fields as signed.
struct Glyph {
    uint16_t x, y, width, height, xoffset, yoffset, xadvance, page;
};
