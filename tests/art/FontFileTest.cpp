// The HUD font as generated: a text BMFont description whose glyph rectangles lie on its page
// and cover the ink there, the page oriented so that v = 1 - y / scaleH finds each glyph.
#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ArtFiles.h"

namespace {

using Fields = std::map<std::string, long>;

struct Description {
    Fields common;
    std::map<long, Fields> chars; // by id
    int charLines = 0;
    long declaredCount = -1;
    std::string pageFile;
};

// key=value words after the first word of a line; quoted values are skipped.
Fields numbers(std::istringstream& words) {
    Fields f;
    std::string word;
    while (words >> word) {
        size_t eq = word.find('=');
        if (eq == std::string::npos || eq + 1 >= word.size() || word[eq + 1] == '"')
            continue;
        f[word.substr(0, eq)] = std::stol(word.substr(eq + 1));
    }
    return f;
}

Description readDescription(const std::string& path) {
    Description d;
    std::vector<unsigned char> bytes = readBytes(path);
    std::istringstream file(std::string(bytes.begin(), bytes.end()));
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream words(line);
        std::string first;
        words >> first;
        if (first == "common") {
            d.common = numbers(words);
        } else if (first == "char") {
            Fields f = numbers(words);
            ++d.charLines;
            d.chars[f["id"]] = f;
        } else if (first == "chars") {
            d.declaredCount = numbers(words)["count"];
        } else if (first == "page") {
            size_t q = line.find("file=\"");
            if (q != std::string::npos)
                d.pageFile = line.substr(q + 6, line.find('"', q + 6) - q - 6);
        }
    }
    return d;
}

class FontFile : public ::testing::Test {
  protected:
    void SetUp() override {
        font = readDescription("data/basicFont.fnt");
        page = loadAsGl("data/basicFont_0.tga");
        ASSERT_TRUE(page.ok);
    }
    // Alpha at page position (x, y), y counted from the top as the description counts it.
    int alphaAt(long x, long y) const { return page.rgba(x, page.height - 1 - y).a; }

    Description font;
    GlPicture page;
};

TEST_F(FontFile, DescribesOnePageAndAllPrintableAscii) {
    EXPECT_EQ(font.pageFile, "basicFont_0.tga");
    EXPECT_EQ(font.common["pages"], 1);
    EXPECT_EQ(font.common["scaleW"], page.width);
    EXPECT_EQ(font.common["scaleH"], page.height);
    EXPECT_GE(font.common["lineHeight"], 20); // legible on a 1024 x 768 HUD
    EXPECT_LE(font.common["lineHeight"], 40);
    EXPECT_EQ(font.declaredCount, font.charLines);
    for (long c = 32; c <= 126; ++c) {
        ASSERT_TRUE(font.chars.count(c)) << c;
        EXPECT_GT(font.chars[c]["xadvance"], 0) << c;
        EXPECT_EQ(font.chars[c]["page"], 0) << c;
    }
    for (long c = 33; c <= 126; ++c)
        EXPECT_GT(font.chars[c]["width"] * font.chars[c]["height"], 0) << c;
}

TEST_F(FontFile, DigitsShareOneAdvance) {
    for (long c = '1'; c <= '9'; ++c)
        EXPECT_EQ(font.chars[c]["xadvance"], font.chars['0']["xadvance"]) << static_cast<char>(c);
}

TEST_F(FontFile, GlyphRectanglesLieOnThePageAndHoldAllItsInk) {
    std::vector<bool> covered(static_cast<size_t>(page.width) * page.height, false);
    for (auto& [id, g] : font.chars) {
        SCOPED_TRACE(id);
        ASSERT_GE(g["x"], 0);
        ASSERT_GE(g["y"], 0);
        ASSERT_LE(g["x"] + g["width"], page.width);
        ASSERT_LE(g["y"] + g["height"], page.height);
        // A glyph sits inside its line: top at or below the line's top, bottom near the base.
        EXPECT_GE(g["yoffset"], 0);
        EXPECT_LE(g["yoffset"] + g["height"], font.common["lineHeight"] + 2);
        int ink = 0;
        for (long y = g["y"]; y < g["y"] + g["height"]; ++y)
            for (long x = g["x"]; x < g["x"] + g["width"]; ++x) {
                covered[static_cast<size_t>(y) * page.width + x] = true;
                ink = std::max(ink, alphaAt(x, y));
            }
        if (g["width"] > 0) {
            EXPECT_GT(ink, 128);
        }
    }
    long stray = 0;
    for (long y = 0; y < page.height; ++y)
        for (long x = 0; x < page.width; ++x)
            stray += !covered[static_cast<size_t>(y) * page.width + x] && alphaAt(x, y) > 0;
    EXPECT_EQ(stray, 0);
}

TEST_F(FontFile, GlyphsStandUprightOnThePage) {
    // 'T' has its bar in its top row and only the stem in its bottom row.
    Fields t = font.chars['T'];
    int top = 0, bottom = 0;
    for (long x = t["x"]; x < t["x"] + t["width"]; ++x) {
        top += alphaAt(x, t["y"]) > 128;
        bottom += alphaAt(x, t["y"] + t["height"] - 1) > 128;
    }
    EXPECT_GT(top, t["width"] * 3 / 4);
    EXPECT_LT(bottom, t["width"] / 2);
}

TEST_F(FontFile, InkIsWhiteAtEveryCoverage) {
    // The HUD draws the page unblended and keeps texels by alpha: any kept texel must be white,
    // or letters get a dark fringe.
    long inked = 0;
    for (int row = 0; row < page.height; ++row)
        for (int x = 0; x < page.width; ++x) {
            glm::ivec4 c = page.rgba(x, row);
            if (c.a == 0)
                continue;
            ++inked;
            ASSERT_EQ(glm::ivec3(c), glm::ivec3(255)) << x << "," << row;
        }
    EXPECT_GT(inked, 1000);
}

} // namespace
