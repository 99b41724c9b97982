#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>

#include "hud/FontDescription.h"
#include "hud/FontParser.h"
#include "support/TestFiles.h"

namespace {

int16_t signedField(uint16_t value) {
    return static_cast<int16_t>(value);
}

bool glyphIsEmpty(const Glyph& g) {
    return g.x == 0 && g.y == 0 && g.width == 0 && g.height == 0 && g.xoffset == 0 &&
           g.yoffset == 0 && g.xadvance == 0 && g.page == 0;
}

int definedGlyphCount(const FontDescription& font) {
    int count = 0;
    for (const Glyph& g : font.glyphs)
        count += glyphIsEmpty(g) ? 0 : 1;
    return count;
}

FontDescription parseText(const std::string& text, bool* ok = nullptr) {
    FontDescription font;
    FontParser parser(font);
    std::istringstream in(text);
    bool result = parser.parse(in);
    if (ok)
        *ok = result;
    return font;
}

} // namespace

TEST(FontParser, ReadsCommonAndCharLinesOfAFontFile) {
    std::string path = writeScratchFile(
        "font.fnt",
        "info face=\"Quill Sans\" size=24 bold=0 italic=0 charset=\"\" padding=0,0,0,0\n"
        "common lineHeight=28 base=22 scaleW=256 scaleH=128 pages=1 packed=0\n"
        "page id=0 file=\"font_0.tga\"\n"
        "chars count=2\n"
        "char id=65   x=10   y=20   width=14   height=18   xoffset=-2   yoffset=-3   "
        "xadvance=13   page=0  chnl=15\n"
        "char id=48 x=30 y=40 width=11 height=17 xoffset=1 yoffset=5 xadvance=12 page=2\n"
        "kerning first=65 second=48 amount=-1\n");
    FontDescription font;
    FontParser parser(font);
    ASSERT_TRUE(parser.parseFile(path.c_str()));

    EXPECT_EQ(font.lineHeight, 28);
    EXPECT_EQ(font.base, 22);
    EXPECT_EQ(font.scaleW, 256);
    EXPECT_EQ(font.scaleH, 128);
    EXPECT_EQ(font.pages, 1);

    const Glyph& a = font.glyphs[65];
    EXPECT_EQ(a.x, 10);
    EXPECT_EQ(a.y, 20);
    EXPECT_EQ(a.width, 14);
    EXPECT_EQ(a.height, 18);
    // Negative offsets are stored as 16-bit two's complement and read back as signed.
    EXPECT_EQ(a.xoffset, 65534);
    EXPECT_EQ(signedField(a.xoffset), -2);
    EXPECT_EQ(signedField(a.yoffset), -3);
    EXPECT_EQ(a.xadvance, 13);
    EXPECT_EQ(font.glyphs[48].page, 2);
    EXPECT_EQ(font.glyphs[48].yoffset, 5);
    // The kerning and info lines touch nothing.
    EXPECT_EQ(definedGlyphCount(font), 2);
}

TEST(FontParser, AppliesKeysInTheOrderTheyAppear) {
    FontDescription font = parseText("char x=5 id=66 y=7\n"
                                     "char id=67 x=1 id=68 x=2\n"
                                     "char id=69 x=3 x=4\n");
    // Before any id the current glyph is 0.
    EXPECT_EQ(font.glyphs[0].x, 5);
    EXPECT_EQ(font.glyphs[66].x, 0);
    EXPECT_EQ(font.glyphs[66].y, 7);
    EXPECT_EQ(font.glyphs[67].x, 1);
    EXPECT_EQ(font.glyphs[68].x, 2);
    EXPECT_EQ(font.glyphs[69].x, 4);
    // Each char line starts again at glyph 0, not at the previous line's glyph.
    FontDescription second = parseText("char id=70 x=1\nchar y=9\n");
    EXPECT_EQ(second.glyphs[70].y, 0);
    EXPECT_EQ(second.glyphs[0].y, 9);
}

TEST(FontParser, IgnoresUnknownKeysAndOtherLines) {
    FontDescription font = parseText("common lineHeight=30 letterSpacing=4 scaleW=64\n"
                                     "char id=70 chnl=15 letter=F x=4 Width=99\n"
                                     "chars count=200\n"
                                     "charx id=71 x=8\n"
                                     "kerning first=70 second=71 amount=-3\n"
                                     "\n"
                                     "   char   id=72\tx=6\r\n");
    EXPECT_EQ(font.lineHeight, 30);
    EXPECT_EQ(font.scaleW, 64);
    EXPECT_EQ(font.glyphs[70].x, 4);
    EXPECT_EQ(font.glyphs[70].width, 0);
    EXPECT_EQ(font.glyphs[72].x, 6);
    EXPECT_EQ(definedGlyphCount(font), 2);
}

TEST(FontParser, CharIdsOutsideTheTableWriteNothing) {
    FontDescription font = parseText("char id=256 x=9 width=9\n"
                                     "char id=70000 x=9\n"
                                     "char id=-1 x=9\n"
                                     "char id=abc x=9\n"
                                     "char id= x=9\n");
    // In particular glyph 0 (the line's start) and 255 (the last slot) stay empty.
    EXPECT_EQ(definedGlyphCount(font), 0);

    FontDescription mixed = parseText("char id=300 x=1 id=255 x=2\n");
    EXPECT_EQ(mixed.glyphs[255].x, 2);
    EXPECT_EQ(definedGlyphCount(mixed), 1);
}

TEST(FontParser, RejectsMalformedNumbersWithoutTouchingTheField) {
    FontDescription font = parseText("char id=65 x=7 y=8 width=9 height=10 xoffset=11\n"
                                     "char id=65 x=abc y= width=12abc height=65536 xoffset=-40000\n"
                                     "char id=65 x==4 =3 yoffset 5 page=+6 xadvance=65535\n");
    const Glyph& g = font.glyphs[65];
    EXPECT_EQ(g.x, 7);
    EXPECT_EQ(g.y, 8);
    EXPECT_EQ(g.width, 9);
    EXPECT_EQ(g.height, 10);
    EXPECT_EQ(g.xoffset, 11);
    EXPECT_EQ(g.yoffset, 0);
    EXPECT_EQ(g.page, 6);
    EXPECT_EQ(g.xadvance, 65535);

    uint16_t value = 1;
    EXPECT_TRUE(FontParser::readValue("-32768", value));
    EXPECT_EQ(value, 32768);
    EXPECT_FALSE(FontParser::readValue("-", value));
    EXPECT_FALSE(FontParser::readValue("99999999999999999999", value));
    EXPECT_EQ(value, 32768);
}

TEST(FontParser, ReadsALineOfAnyLength) {
    std::string padding(200000, ' ');
    std::string longWord(100000, 'k');
    FontDescription font =
        parseText("char id=65" + padding + longWord + "=1 x=3" + padding + "width=5\n");
    EXPECT_EQ(font.glyphs[65].x, 3);
    EXPECT_EQ(font.glyphs[65].width, 5);
}

TEST(FontParser, ReportsMissingOrUnreadableFilesAndAcceptsAMissingFinalNewline) {
    FontDescription font;
    FontParser parser(font);
    EXPECT_FALSE(parser.parseFile((scratchDir() + "/no-such-font.fnt").c_str()));
    EXPECT_EQ(definedGlyphCount(font), 0);
    // A folder opens but cannot be read.
    EXPECT_FALSE(parser.parseFile(scratchDir().c_str()));

    EXPECT_EQ(parser.problem(), "unreadable");

    bool ok = false;
    FontDescription last = parseText("common scaleH=32\nchar id=66 x=1", &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(last.glyphs[66].x, 1);
    EXPECT_EQ(last.scaleH, 32);
}

TEST(FontParser, ADescriptionWithoutCommonOrUsableCharsOrCutShortIsAFailure) {
    struct Case {
        const char* text;
        const char* problem;
    };
    const Case cases[] = {
        {"", "not a font description"},
        {"char id=65 x=1 width=3 xadvance=4\n", "not a font description"},
        // A char line that names no glyph in the table, or no field of one, fills nothing.
        {"common scaleW=8\nchar id=300 x=1\nchar id=65 chnl=15\n", "not a font description"},
        {"common scaleW=8\nchars count=3\nchar id=65 x=1\nchar id=66 x=2\n",
         "truncated, 2 of 3 characters"},
        {"common scaleW=8\nchars count=2\nchar id=65 x=1\nchar id=66 x", ""},
    };
    for (const Case& c : cases) {
        FontDescription font;
        FontParser parser(font);
        std::istringstream in(c.text);
        EXPECT_EQ(parser.parse(in), std::string(c.problem).empty()) << c.text;
        EXPECT_EQ(parser.problem(), c.problem) << c.text;
    }
    // What was read before the file broke off stays usable.
    FontDescription font = parseText("common scaleW=8\nchars count=9\nchar id=65 x=1 xadvance=5\n");
    EXPECT_EQ(font.glyphs[65].xadvance, 5);
}
