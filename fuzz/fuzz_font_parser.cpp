// Feeds arbitrary bytes to the font parser as a font file, then lays out text with whatever
// glyph table came out, both directions, so offsets, advances and sizes from hostile files
// run through the layout arithmetic too.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "hud/FontDescription.h"
#include "hud/FontParser.h"
#include "hud/TextLayout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    FontDescription font;
    FontParser parser(font);
    std::istringstream in(bytes);
    parser.parse(in);

    // Every byte value once, then the game's own kinds of strings.
    std::string everyByte;
    for (int code = 1; code < 256; ++code)
        everyByte.push_back(static_cast<char>(code));
    for (const std::string& text : {everyByte, std::string("Zeit: 4:07"), std::string("60 Fps")}) {
        TextLayout forward(font, text.c_str(), -500.0f, 330.0f, true);
        TextLayout backward(font, text.c_str(), 480.0f, 375.0f, false);
    }
    return 0;
}
