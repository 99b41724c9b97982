#pragma once

#include <cstdint>
#include <istream>
#include <string>

struct FontDescription;

// Reads the text variant of the BMFont format: the "common" line and the "char" lines, with
// their keys applied in the order they appear. Values are unsigned 16-bit; a negative number
// is kept as its two's complement so the drawing code reads it back as signed.
class FontParser {
  public:
    explicit FontParser(FontDescription& target) : font(target) {}

    // False when the file cannot be opened or reading stops before its end.
    bool parseFile(const char* path);
    bool parse(std::istream& in);
    void parseLine(const std::string& line);

    // A decimal value in 16 bits; false (value untouched) for anything that is not one.
    static bool readValue(const std::string& text, uint16_t& value);

  private:
    void applyCommon(const std::string& key, uint16_t value);
    void applyGlyph(const std::string& key, uint16_t value, int index);

    FontDescription& font;
};
