#include <gtest/gtest.h>

#include <GL/glew.h>

#include <glm/glm.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "GlTestContext.h"
#include "PrintedOutput.h"
#include "ReadFile.h"
#include "TestFiles.h"
#include "assets/ImageDecoder.h"
#include "assets/TextureLoader.h"
#include "platform/DataFileReport.h"

namespace {

// A 3x2 uncompressed 24-bit TGA: odd row length (9 bytes) and one mipmap level below it.
std::string writeTga() {
    std::string file(18, '\0');
    file[2] = 2;  // uncompressed true colour
    file[12] = 3; // width
    file[14] = 2; // height
    file[16] = 24;
    const unsigned char bgr[6][3] = {{0, 0, 255}, {0, 255, 0},     {255, 0, 0},
                                     {0, 0, 0},   {255, 255, 255}, {10, 20, 30}};
    for (const auto& pixel : bgr)
        file.append(reinterpret_cast<const char*>(pixel), 3);
    return writeScratchFile("tiny.tga", file);
}

struct Expected {
    GLint wrap;
    GLint minFilter;
    GLint magFilter;
    bool anisotropic;
    bool mipmaps;
};

GLint parameter(GLenum name) {
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

GLint levelParameter(int level, GLenum name) {
    GLint value = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
    return value;
}

class TextureLoading : public testing::Test {
  protected:
    void SetUp() override {
        if (!ensureGlContext())
            GTEST_SKIP() << "no display";
        path = writeTga();
        glActiveTexture(GL_TEXTURE0);
        glGenTextures(2, names);
        glGetError();
    }
    void TearDown() override {
        if (names[0] != 0)
            glDeleteTextures(2, names);
    }

    void expectSettings(const Expected& e, const std::string& row) {
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(GLuint(bound), names[1]) << row;
        EXPECT_EQ(parameter(GL_TEXTURE_WRAP_R), e.wrap) << row;
        EXPECT_EQ(parameter(GL_TEXTURE_WRAP_S), e.wrap) << row;
        EXPECT_EQ(parameter(GL_TEXTURE_WRAP_T), e.wrap) << row;
        EXPECT_EQ(parameter(GL_TEXTURE_MIN_FILTER), e.minFilter) << row;
        EXPECT_EQ(parameter(GL_TEXTURE_MAG_FILTER), e.magFilter) << row;
        EXPECT_EQ(levelParameter(0, GL_TEXTURE_WIDTH), 3) << row;
        EXPECT_EQ(levelParameter(0, GL_TEXTURE_HEIGHT), 2) << row;
        EXPECT_EQ(levelParameter(1, GL_TEXTURE_WIDTH), e.mipmaps ? 1 : 0) << row;
        if (glewIsSupported("GL_EXT_texture_filter_anisotropic")) {
            GLfloat maximum = 0.0f, actual = 0.0f;
            glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &maximum);
            glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, &actual);
            EXPECT_EQ(actual, e.anisotropic ? maximum : 1.0f) << row;
        }
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << row;
    }

    std::string path;
    GLuint names[2] = {0, 0};
};

} // namespace

TEST_F(TextureLoading, LoadTextureSettingsTable) {
    struct Row {
        bool mipmaps, clamp;
        Expected expected;
    } rows[] = {
        {true, true, {GL_CLAMP_TO_EDGE, GL_LINEAR, GL_LINEAR, true, false}},
        {false, true, {GL_CLAMP_TO_EDGE, GL_LINEAR, GL_LINEAR, true, false}},
        {true, false, {GL_REPEAT, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, true, true}},
        {false, false, {GL_REPEAT, GL_LINEAR, GL_LINEAR, false, false}},
    };
    for (const Row& row : rows) {
        glDeleteTextures(1, &names[1]);
        glGenTextures(1, &names[1]);
        EXPECT_EQ(printedBy([&] { loadTexture(path.c_str(), names, 1, row.mipmaps, row.clamp); }),
                  "");
        expectSettings(row.expected, "mipmaps " + std::to_string(row.mipmaps) + " clamp " +
                                         std::to_string(row.clamp));
    }
}

TEST_F(TextureLoading, LoadTextureFilteredSettingsTable) {
    struct Row {
        int mode;
        bool bilinear, clamp;
        Expected expected;
    } rows[] = {
        {2, false, true, {GL_CLAMP_TO_EDGE, GL_LINEAR, GL_LINEAR, true, false}},
        {3, false, true, {GL_CLAMP_TO_EDGE, GL_LINEAR, GL_LINEAR, true, false}},
        {2, true, false, {GL_REPEAT, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, true, true}},
        {2, false, false, {GL_REPEAT, GL_LINEAR_MIPMAP_LINEAR, GL_NEAREST, true, true}},
        {1, true, false, {GL_REPEAT, GL_NEAREST_MIPMAP_NEAREST, GL_LINEAR, true, true}},
        {1, false, false, {GL_REPEAT, GL_NEAREST_MIPMAP_NEAREST, GL_NEAREST, true, true}},
        {0, true, false, {GL_REPEAT, GL_LINEAR, GL_LINEAR, false, false}},
        {0, false, false, {GL_REPEAT, GL_NEAREST, GL_NEAREST, false, false}},
    };
    for (const Row& row : rows) {
        glDeleteTextures(1, &names[1]);
        glGenTextures(1, &names[1]);
        loadTextureFiltered(path.c_str(), names, 1, row.mode, row.bilinear, row.clamp);
        expectSettings(row.expected, "mode " + std::to_string(row.mode) + " bilinear " +
                                         std::to_string(row.bilinear) + " clamp " +
                                         std::to_string(row.clamp));
    }
}

// The player's limit caps what the driver allows, for mipmapped and clamped textures alike;
// no limit, or one above the driver's maximum, is the maximum.
TEST_F(TextureLoading, AnisotropyLimitCapsTheDriversMaximum) {
    if (!glewIsSupported("GL_EXT_texture_filter_anisotropic"))
        GTEST_SKIP() << "no anisotropic filtering";
    GLfloat maximum = 0.0f;
    glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &maximum);
    ASSERT_GT(maximum, 2.0f);
    for (float limit : {1.0f, 2.0f, 0.0f, 2.0f * maximum}) {
        setAnisotropyLimit(limit);
        float expected = limit >= 1.0f && limit < maximum ? limit : maximum;
        EXPECT_EQ(anisotropyInUse(), expected) << limit;
        for (bool clamp : {false, true}) {
            loadTextureFiltered(path.c_str(), names, 1, 2, true, clamp);
            GLfloat actual = 0.0f;
            glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, &actual);
            EXPECT_EQ(actual, expected) << "limit " << limit << " clamp " << clamp;
        }
    }
    setAnisotropyLimit(0.0f);
}

// F4 and F5 reload into the same names: a reload without mipmaps kept their anisotropy and froze.
TEST_F(TextureLoading, AReloadTakesTheAnisotropyOfItsNewMode) {
    if (!glewIsSupported("GL_EXT_texture_filter_anisotropic"))
        GTEST_SKIP() << "no anisotropic filtering";
    GLfloat maximum = 0.0f, actual = 0.0f;
    glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &maximum);
    ASSERT_GT(maximum, 1.0f);
    for (int mode : {2, 0, 1, 0, 2}) {
        loadTextureFiltered(path.c_str(), names, 1, mode, mode != 1, false);
        glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, &actual);
        EXPECT_EQ(actual, mode == 0 ? 1.0f : maximum) << "mode " << mode;
    }
}

TEST_F(TextureLoading, UnknownModeLeavesTheNameUntouched) {
    glBindTexture(GL_TEXTURE_2D, names[0]);
    loadTextureFiltered(path.c_str(), names, 1, 3, true, false);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(GLuint(bound), names[0]);
    EXPECT_FALSE(glIsTexture(names[1])); // never even bound

    // An existing texture keeps its image and filters.
    loadTextureFiltered(path.c_str(), names, 1, 0, false, false);
    loadTextureFiltered(path.c_str(), names, 1, 7, true, false);
    glBindTexture(GL_TEXTURE_2D, names[1]);
    EXPECT_EQ(parameter(GL_TEXTURE_MAG_FILTER), GL_NEAREST);
    EXPECT_EQ(levelParameter(0, GL_TEXTURE_WIDTH), 3);
}

TEST_F(TextureLoading, UploadsTheDecodedBytesAsDelivered) {
    const std::optional<DecodedImage> image = decodeImage(path.c_str());
    ASSERT_TRUE(image && image->channels == 3);

    loadTexture(path.c_str(), names, 0, false, false);
    EXPECT_EQ(levelParameter(0, GL_TEXTURE_ALPHA_SIZE), 0); // three components
    EXPECT_GT(levelParameter(0, GL_TEXTURE_RED_SIZE), 0);
    std::vector<unsigned char> uploaded(18);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, uploaded.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    EXPECT_EQ(uploaded, image->pixels);
    // The red first pixel of the file is somewhere in it, in its own colour.
    bool foundRed = false;
    for (int p = 0; p < 6; ++p)
        foundRed = foundRed ||
                   (uploaded[3 * p] == 255 && uploaded[3 * p + 1] == 0 && uploaded[3 * p + 2] == 0);
    EXPECT_TRUE(foundRed);
}

namespace {

using Texel = glm::ivec4;
const Texel red(255, 0, 0, 255), green(0, 255, 0, 255), blue(0, 0, 255, 255);

// The bound texture's level 0 as RGBA rows.
std::vector<std::vector<Texel>> boundTexels() {
    const int width = levelParameter(0, GL_TEXTURE_WIDTH);
    const int height = levelParameter(0, GL_TEXTURE_HEIGHT);
    std::vector<unsigned char> bytes(static_cast<size_t>(width * height * 4));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    std::vector<std::vector<Texel>> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const unsigned char* t = &bytes[static_cast<size_t>((y * width + x) * 4)];
            rows[static_cast<size_t>(y)].push_back(Texel(t[0], t[1], t[2], t[3]));
        }
    return rows;
}

// A 2x2 colour-mapped TGA: a palette of red, green and blue, rows (red, green), (blue, green).
std::string palettedTga() {
    std::string file(18, '\0');
    file[1] = 1; // colour map present
    file[2] = 1; // colour-mapped image
    file[5] = 3; // three palette entries
    file[7] = 24;
    file[12] = 2;
    file[14] = 2;
    file[16] = 8;
    const unsigned char paletteBgr[9] = {0, 0, 255, 0, 255, 0, 255, 0, 0};
    const unsigned char indices[4] = {0, 1, 2, 1};
    file.append(reinterpret_cast<const char*>(paletteBgr), 9);
    file.append(reinterpret_cast<const char*>(indices), 4);
    return writeScratchFile("paletted.tga", file);
}

std::string bigEndian32(uint32_t value) {
    const char bytes[4] = {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
                           static_cast<char>(value >> 8), static_cast<char>(value)};
    return std::string(bytes, 4);
}

std::string pngChunk(const std::string& type, const std::string& data) {
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : type + data) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return bigEndian32(static_cast<uint32_t>(data.size())) + type + data + bigEndian32(~crc);
}

// A 2x1 PNG with 16 bits per channel: red, then blue. The pixel row goes into one stored
// (uncompressed) deflate block, so no compressor is needed.
std::string sixteenBitPng() {
    const std::string row("\0\xff\xff\0\0\0\0\0\0\0\0\xff\xff", 13); // filter 0, two pixels
    uint32_t a = 1, b = 0;
    for (unsigned char byte : row) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    const std::string stored =
        std::string("\x78\x01\x01\x0d\x00\xf2\xff", 7) + row + bigEndian32(b << 16 | a);
    const std::string header = bigEndian32(2) + bigEndian32(1) + std::string("\x10\x02\0\0\0", 5);
    return writeScratchFile("wide.png", std::string("\x89PNG\r\n\x1a\n") +
                                            pngChunk("IHDR", header) + pngChunk("IDAT", stored) +
                                            pngChunk("IEND", ""));
}

} // namespace

TEST_F(TextureLoading, PaletteAndSixteenBitImagesArriveInTheirColours) {
    capturePrinted();
    loadTexture(palettedTga().c_str(), names, 0, false, false);
    std::vector<std::vector<Texel>> paletted = boundTexels();
    loadTexture(sixteenBitPng().c_str(), names, 1, false, false);
    std::vector<std::vector<Texel>> wide = boundTexels();
    EXPECT_EQ(takePrinted(), "");
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    // The rows may come in either order; each keeps its own texels in file order.
    ASSERT_EQ(paletted.size(), 2u);
    const std::vector<Texel> first{red, green}, second{blue, green};
    EXPECT_TRUE((paletted[0] == first && paletted[1] == second) ||
                (paletted[0] == second && paletted[1] == first));
    ASSERT_EQ(wide.size(), 1u);
    EXPECT_TRUE((wide[0] == std::vector<Texel>{red, blue}));
}

TEST_F(TextureLoading, MissingFileLeavesABoundOnePixelPlaceholder) {
    forgetReportedDataFiles();
    for (int filtered = 0; filtered < 2; ++filtered) {
        capturePrinted();
        if (filtered)
            loadTextureFiltered("texture/no-such-image.png", names, 1, 2, true, false);
        else
            loadTexture("texture/no-such-image.png", names, 1, true, false);
        // The file is named after the loader's own line, and only the first time.
        EXPECT_EQ(takePrinted(), filtered ? "Texture could not be loaded\n"
                                          : "Texture could not be loaded\n"
                                            "Data file \"texture/no-such-image.png\": missing\n");
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(GLuint(bound), names[1]);
        EXPECT_EQ(levelParameter(0, GL_TEXTURE_WIDTH), 1);
        EXPECT_EQ(levelParameter(0, GL_TEXTURE_HEIGHT), 1);
        unsigned char texel[4] = {0, 0, 0, 0};
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
        EXPECT_EQ(texel[0], 255);
        EXPECT_EQ(texel[1], 0);
        EXPECT_EQ(texel[2], 255);
        EXPECT_EQ(texel[3], 255);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
    // A good file afterwards is not blamed for the earlier failure.
    EXPECT_EQ(printedBy([&] { loadTexture(path.c_str(), names, 0, false, false); }), "");
}

TEST_F(TextureLoading, ATargaCutShortIsNamedThoughTheDecoderTakesIt) {
    // 4x2 true colour, run-length coded: one run of four red pixels, then four raw ones.
    std::string header(18, '\0');
    header[2] = 10;
    header[12] = 4;
    header[14] = 2;
    header[16] = 24;
    std::string runs = "\x83" + std::string("\0\0\xff", 3) + "\x03" + std::string(12, '\x40');
    std::string plain = writeTga();
    std::string plainBytes = readFile(plain);
    struct Case {
        std::string name;
        std::string bytes;
        bool whole;
    };
    const Case cases[] = {
        {"rle-whole.tga", header + runs, true},
        {"rle-cut.tga", header + runs.substr(0, runs.size() - 6), false},
        {"plain-whole.tga", plainBytes, true},
        {"plain-cut.tga", plainBytes.substr(0, plainBytes.size() - 4), false},
    };
    forgetReportedDataFiles();
    for (const Case& c : cases) {
        std::string file = writeScratchFile(c.name, c.bytes);
        std::string out = printedBy([&] { loadTexture(file.c_str(), names, 0, false, false); });
        bool named = out.find("Data file \"" + file + "\": ") != std::string::npos;
        EXPECT_EQ(named, !c.whole) << c.name << ": " << out;
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << c.name;
    }
}
