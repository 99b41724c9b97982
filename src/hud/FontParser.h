#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

struct FontDescription;

// Reads the text variant of the BMFont format: the "common" line and the "char" lines, with
// their keys applied in the order they appear. Values are unsigned 16-bit; a negative number
// is kept as its two's complement so the drawing code reads it back as signed.
class FontParser {
  public:
    explicit FontParser(FontDescription& target) : font(target) {}

    // False when the file cannot be opened or reading stops before its end, when it holds no
    // "common" line or no "char" line that fills a glyph, or when it ends before the characters
    // its "chars count" announces; problem() then says which. The glyphs read are kept.
    bool parseFile(const char* path);
    bool parse(std::istream& in);
    void parseLine(const std::string& line);
    // Empty after a successful parse.
    const std::string& problem() const { return failure; }

    // A decimal value in 16 bits; false (value untouched) for anything that is not one.
    static bool readValue(const std::string& text, uint16_t& value);

  private:
    void applyCommon(const std::string& key, uint16_t value);
    // False for a key that names no glyph field.
    bool applyGlyph(const std::string& key, uint16_t value, int index);
    void countAnnouncedChars(const std::vector<std::string>& words);
    void startReading();
    bool finishReading(bool readToTheEnd);

    FontDescription& font;
    bool commonSeen = false;
    int charLines = 0;
    int filledCharLines = 0;
    int announcedChars = -1;
    std::string failure;
};
