#include "hud/FontParser.h"

#include <cctype>
#include <cstdio>
#include <sstream>
#include <vector>

#include "hud/FontDescription.h"

namespace {

bool isSpace(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

std::vector<std::string> splitWords(const std::string& line) {
    std::vector<std::string> words;
    size_t pos = 0;
    while (pos < line.size()) {
        while (pos < line.size() && isSpace(line[pos]))
            ++pos;
        size_t end = pos;
        while (end < line.size() && !isSpace(line[end]))
            ++end;
        if (end > pos)
            words.push_back(line.substr(pos, end - pos));
        pos = end;
    }
    return words;
}

} // namespace

bool FontParser::readValue(const std::string& text, uint16_t& value) {
    size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
        negative = text[pos] == '-';
        ++pos;
    }
    if (pos == text.size())
        return false;
    long magnitude = 0;
    for (; pos < text.size(); ++pos) {
        if (!std::isdigit(static_cast<unsigned char>(text[pos])))
            return false;
        magnitude = magnitude * 10 + (text[pos] - '0');
        if (magnitude > 65535)
            return false;
    }
    // Negative offsets are written by font tools; anything below a signed 16-bit value is not.
    if (negative && magnitude > 32768)
        return false;
    long stored = negative ? 65536 - magnitude : magnitude;
    value = static_cast<uint16_t>(stored & 0xFFFF);
    return true;
}

bool FontParser::parseFile(const char* path) {
    // Read through stdio: a stream would report a folder or an I/O error as a plain end of file.
    startReading();
    std::FILE* file = std::fopen(path, "rb");
    if (!file)
        return finishReading(false);
    std::string text;
    char buffer[4096];
    size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, count);
    bool readFailed = std::ferror(file) != 0;
    std::fclose(file);

    if (readFailed)
        return finishReading(false);
    std::istringstream in(text);
    return parse(in);
}

bool FontParser::parse(std::istream& in) {
    startReading();
    std::string line;
    while (std::getline(in, line))
        parseLine(line);
    // getline stops at the end of the file or at a read failure; only the first is success.
    return finishReading(in.eof() && !in.bad());
}

void FontParser::startReading() {
    commonSeen = false;
    charLines = 0;
    filledCharLines = 0;
    announcedChars = -1;
    failure.clear();
}

bool FontParser::finishReading(bool readToTheEnd) {
    if (!readToTheEnd)
        failure = "unreadable";
    else if (!commonSeen || filledCharLines == 0)
        failure = "not a font description";
    else if (charLines < announcedChars)
        failure = "truncated, " + std::to_string(charLines) + " of " +
                  std::to_string(announcedChars) + " characters";
    return failure.empty();
}

void FontParser::parseLine(const std::string& line) {
    std::vector<std::string> words = splitWords(line);
    if (words.empty())
        return;
    if (words[0] == "chars") {
        countAnnouncedChars(words);
        return;
    }
    bool common = words[0] == "common";
    if (!common && words[0] != "char")
        return;
    commonSeen = commonSeen || common;
    charLines += common ? 0 : 1;

    // Keys before any "id" go to glyph 0; an "id" outside the table sends the rest of the
    // line nowhere until a valid one follows.
    int index = 0;
    bool filled = false;
    for (size_t i = 1; i < words.size(); ++i) {
        size_t equals = words[i].find('=');
        if (equals == std::string::npos)
            continue;
        std::string key = words[i].substr(0, equals);
        uint16_t value = 0;
        bool valid = readValue(words[i].substr(equals + 1), value);
        if (common) {
            if (valid)
                applyCommon(key, value);
        } else if (key == "id") {
            index = valid && value < 256 ? value : -1;
        } else if (valid && index >= 0 && applyGlyph(key, value, index)) {
            filled = true;
        }
    }
    filledCharLines += filled ? 1 : 0;
}

// BMFont writes how many "char" lines follow; fewer of them means the file was cut short.
void FontParser::countAnnouncedChars(const std::vector<std::string>& words) {
    const std::string key = "count=";
    for (size_t i = 1; i < words.size(); ++i) {
        if (words[i].compare(0, key.size(), key) != 0)
            continue;
        std::string text = words[i].substr(key.size());
        uint16_t value = 0;
        if (!text.empty() && text[0] != '-' && readValue(text, value))
            announcedChars = value;
    }
}

void FontParser::applyCommon(const std::string& key, uint16_t value) {
    if (key == "lineHeight")
        font.lineHeight = value;
    else if (key == "base")
        font.base = value;
    else if (key == "scaleW")
        font.scaleW = value;
    else if (key == "scaleH")
        font.scaleH = value;
    else if (key == "pages")
        font.pages = value;
}

bool FontParser::applyGlyph(const std::string& key, uint16_t value, int index) {
    Glyph& glyph = font.glyphs[index];
    uint16_t* field = nullptr;
    if (key == "x")
        field = &glyph.x;
    else if (key == "y")
        field = &glyph.y;
    else if (key == "width")
        field = &glyph.width;
    else if (key == "height")
        field = &glyph.height;
    else if (key == "xoffset")
        field = &glyph.xoffset;
    else if (key == "yoffset")
        field = &glyph.yoffset;
    else if (key == "xadvance")
        field = &glyph.xadvance;
    else if (key == "page")
        field = &glyph.page;
    if (field)
        *field = value;
    return field != nullptr;
}
