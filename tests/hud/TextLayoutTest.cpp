#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "hud/FontDescription.h"
#include "hud/TextLayout.h"

namespace {

Glyph makeGlyph(int x, int y, int width, int height, int xoffset, int yoffset, int xadvance) {
    return Glyph{static_cast<uint16_t>(x),        static_cast<uint16_t>(y),
                 static_cast<uint16_t>(width),    static_cast<uint16_t>(height),
                 static_cast<uint16_t>(xoffset),  static_cast<uint16_t>(yoffset),
                 static_cast<uint16_t>(xadvance), 0};
}

FontDescription testFont() {
    FontDescription font;
    font.scaleW = 256;
    font.scaleH = 128;
    font.glyphs['A'] = makeGlyph(16, 32, 12, 20, 1, 2, 14);
    font.glyphs['B'] = makeGlyph(64, 0, 10, 16, -2, -3, 11);
    // Digits share one advance, as they do in the game's font.
    for (char digit = '0'; digit <= '9'; ++digit)
        font.glyphs[static_cast<unsigned char>(digit)] =
            makeGlyph(8 * (digit - '0'), 64, 8, 14, digit == '5' ? 3 : 1, 4, 10);
    font.glyphs[':'] = makeGlyph(100, 64, 4, 14, 2, 4, 10);
    font.glyphs[200] = makeGlyph(200, 100, 6, 6, 0, 0, 7);
    return font;
}

} // namespace

TEST(TextLayout, PlacesGlyphsLeftToRightWithExactCornersAndTexCoords) {
    FontDescription font = testFont();
    TextLayout layout(font, "AB", -500.0f, 330.0f, true);
    ASSERT_EQ(layout.positions().size(), 8u);
    ASSERT_EQ(layout.texCoords().size(), 8u);

    // A at the pen: X = -500 + 1, top 330 - 2, bottom 330 - (20 + 2).
    const auto& p = layout.positions();
    EXPECT_EQ(p[0], glm::vec4(-499.0f, 308.0f, 0.0f, 1.0f));
    EXPECT_EQ(p[1], glm::vec4(-487.0f, 308.0f, 0.0f, 1.0f));
    EXPECT_EQ(p[2], glm::vec4(-487.0f, 328.0f, 0.0f, 1.0f));
    EXPECT_EQ(p[3], glm::vec4(-499.0f, 328.0f, 0.0f, 1.0f));
    const auto& t = layout.texCoords();
    EXPECT_FLOAT_EQ(t[0].x, 16.0f / 256.0f);
    EXPECT_FLOAT_EQ(t[0].y, 1.0f - 52.0f / 128.0f);
    EXPECT_FLOAT_EQ(t[1].x, 28.0f / 256.0f);
    EXPECT_FLOAT_EQ(t[1].y, 1.0f - 52.0f / 128.0f);
    EXPECT_FLOAT_EQ(t[2].x, 28.0f / 256.0f);
    EXPECT_FLOAT_EQ(t[2].y, 1.0f - 32.0f / 128.0f);
    EXPECT_FLOAT_EQ(t[3].x, 16.0f / 256.0f);
    EXPECT_FLOAT_EQ(t[3].y, 1.0f - 32.0f / 128.0f);

    // B after A's advance of 14; its negative offsets put it left of and above the pen.
    EXPECT_EQ(p[4], glm::vec4(-500.0f + 14.0f - 2.0f, 330.0f + 3.0f - 16.0f, 0.0f, 1.0f));
    EXPECT_EQ(p[6], glm::vec4(-500.0f + 14.0f - 2.0f + 10.0f, 333.0f, 0.0f, 1.0f));
}

TEST(TextLayout, RightToLeftPutsTheLastGlyphAtTheAnchorWhateverTheLength) {
    FontDescription font = testFont();
    for (std::string text : {"5", "45", "0:45", "12:34:55", "9999999995"}) {
        TextLayout layout(font, text.c_str(), 480.0f, 375.0f, false);
        size_t last = 4 * (text.size() - 1);
        ASSERT_EQ(layout.positions().size(), 4 * text.size());
        EXPECT_EQ(layout.positions()[last].x, 480.0f + 3.0f) << text;
        // Every earlier glyph lies one advance further left, whatever the direction of storage.
        for (size_t i = 0; i + 1 < text.size(); ++i) {
            float offset = font.glyphs[static_cast<unsigned char>(text[i])].xoffset;
            float expected = 480.0f - 10.0f * static_cast<float>(text.size() - 1 - i) + offset;
            EXPECT_EQ(layout.positions()[4 * i].x, expected) << text << " glyph " << i;
        }
    }
}

TEST(TextLayout, RightToLeftStepsBackByTheAdvanceOfEachGlyphItPlaces) {
    FontDescription font = testFont();
    TextLayout layout(font, "AB", 0.0f, 0.0f, false);
    // B goes first at the pen; A then sits one advance of its own (14) further left, so a
    // wide glyph never runs into its right-hand neighbour.
    EXPECT_EQ(layout.positions()[4].x, -2.0f);
    EXPECT_EQ(layout.positions()[0].x, -14.0f + 1.0f);
    // Read left to right, the two glyphs end up the same distance apart as in that direction.
    TextLayout forward(font, "AB", 0.0f, 0.0f, true);
    EXPECT_EQ(layout.positions()[4].x - layout.positions()[0].x,
              forward.positions()[4].x - forward.positions()[0].x);
}

TEST(TextLayout, EachGlyphOwnsSixIndicesInTheSameOrderInBothDirections) {
    FontDescription font = testFont();
    const uint32_t expected[12] = {1, 3, 0, 1, 2, 3, 5, 7, 4, 5, 6, 7};
    for (bool leftToRight : {true, false}) {
        TextLayout layout(font, "AB", 10.0f, 10.0f, leftToRight);
        ASSERT_EQ(layout.indexCount(), 12);
        for (int i = 0; i < 12; ++i)
            EXPECT_EQ(layout.indices()[i], expected[i]) << "index " << i;
    }
}

TEST(TextLayout, EmptyTextDrawsNothing) {
    FontDescription font = testFont();
    for (const char* text : {"", static_cast<const char*>(nullptr)}) {
        TextLayout layout(font, text, 0.0f, 0.0f, true);
        EXPECT_EQ(layout.indexCount(), 0);
        EXPECT_TRUE(layout.positions().empty());
        EXPECT_TRUE(layout.texCoords().empty());
    }
}

TEST(TextLayout, HighBytesIndexTheTableAsUnsignedAndUndefinedGlyphsAreEmpty) {
    FontDescription font = testFont();
    // 0xC8 is code 200 (defined), 0xE9 has no glyph: it collapses to a point and does not
    // move the pen.
    TextLayout layout(font,
                      "\xC8\xE9"
                      "A",
                      0.0f, 0.0f, true);
    const auto& p = layout.positions();
    ASSERT_EQ(p.size(), 12u);
    EXPECT_EQ(p[1].x - p[0].x, 6.0f);
    EXPECT_FLOAT_EQ(layout.texCoords()[0].x, 200.0f / 256.0f);
    for (int corner = 4; corner < 8; ++corner)
        EXPECT_EQ(p[corner], glm::vec4(7.0f, 0.0f, 0.0f, 1.0f));
    EXPECT_EQ(p[8].x, 7.0f + 1.0f);
}

TEST(TextLayout, AnEmptyFontGivesFiniteDegenerateQuads) {
    FontDescription empty;
    TextLayout layout(empty, "Zeit: 5:00", 0.0f, 0.0f, true);
    ASSERT_EQ(layout.indexCount(), 60);
    for (size_t i = 0; i < layout.positions().size(); ++i) {
        EXPECT_EQ(layout.positions()[i], glm::vec4(0.0f, 0.0f, 0.0f, 1.0f));
        EXPECT_TRUE(std::isfinite(layout.texCoords()[i].x));
        EXPECT_TRUE(std::isfinite(layout.texCoords()[i].y));
    }
}
