#include <gtest/gtest.h>

#include <GL/glew.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include <glm/glm.hpp>
#include <glm/gtc/type_ptr.hpp>

#include "GlTestContext.h"
#include "PrintedOutput.h"
#include "QuietShader.h"
#include "ReadFile.h"
#include "TestFiles.h"
#include "assets/Shader.h"
#include "platform/DataFileReport.h"

namespace {

const char* const goodVertex = R"(
in vec4 vertex;
in vec2 texCoord;
uniform mat4 perspective;
uniform mat4 view;
uniform mat4 model;
out vec2 uv;
void main() { uv = texCoord; gl_Position = perspective * view * model * vertex; }
)";

const char* const goodFragment = R"(
in vec2 uv;
out vec4 fragColor;
void main() { fragColor = vec4(uv, 0.0, 1.0); }
)";

const char* const hudFragment = R"(
in vec2 uv;
out vec4 hudColor;
void main() { hudColor = vec4(uv, 1.0, 1.0); }
)";

class ShaderTest : public testing::Test {
  protected:
    void SetUp() override {
        if (!ensureGlContext())
            GTEST_SKIP() << "no display";
        while (glGetError() != GL_NO_ERROR) {
        }
        forgetReportedDataFiles();
    }

    static std::string file(const char* name, const char* text) {
        return writeScratchFile(name, text);
    }
};

TEST_F(ShaderTest, AGoodPairPrintsThreeSuccessLinesAndDropsItsStageObjects) {
    std::string v = file("good.vert", goodVertex);
    std::string f = file("good.frag", goodFragment);
    Shader shader;
    std::string out = loadShaderQuietly(shader, v, f);
    EXPECT_EQ(out, "Vertex-shader loaded and compiled successfully.\n"
                   "Fragment-shader loaded and compiled successfully.\n"
                   "Shader-program linked successfully.\n\n");
    EXPECT_TRUE(shader.isUsable());
    EXPECT_TRUE(glIsProgram(shader.program()));
    EXPECT_EQ(glGetFragDataLocation(shader.program(), "fragColor"), 0);

    GLint attached = -1;
    glGetProgramiv(shader.program(), GL_ATTACHED_SHADERS, &attached);
    GLuint stages[2] = {0, 0};
    glGetAttachedShaders(shader.program(), 2, nullptr, stages);
    EXPECT_EQ(attached, 2);
    // Flagged for deletion: they vanish with the program.
    GLint flagged = 0;
    glGetShaderiv(stages[0], GL_DELETE_STATUS, &flagged);
    EXPECT_EQ(flagged, GL_TRUE);
}

TEST_F(ShaderTest, HudProgramsBindTheirOutputToHudColor) {
    std::string v = file("hud.vert", goodVertex);
    std::string f = file("hud.frag", hudFragment);
    Shader shader;
    std::string out = printedBy([&] { shader.loadHud(v.c_str(), f.c_str()); });
    EXPECT_NE(out.find("Shader-program linked successfully."), std::string::npos);
    EXPECT_EQ(glGetFragDataLocation(shader.program(), "hudColor"), 0);
}

TEST_F(ShaderTest, ABrokenVertexStageStillReportsTheFragmentStageAndTheLink) {
    std::string v = file("broken.vert", "void main() { this is not glsl }\n");
    std::string f = file("ok.frag", goodFragment);
    Shader shader;
    std::string out = loadShaderQuietly(shader, v, f);
    size_t vertexError = out.find("Vertex-shader compile error:\n\n");
    size_t fragmentOk = out.find("Fragment-shader loaded and compiled successfully.\n");
    size_t linkError = out.find("Shader-program link error:\n\n");
    ASSERT_NE(vertexError, std::string::npos) << out;
    ASSERT_NE(fragmentOk, std::string::npos) << out;
    ASSERT_NE(linkError, std::string::npos) << out;
    EXPECT_LT(vertexError, fragmentOk);
    EXPECT_LT(fragmentOk, linkError);
    // The driver's log is printed between the heading and the next stage.
    EXPECT_GT(fragmentOk - vertexError, std::string("Vertex-shader compile error:\n\n\n").size());
    // The broken file is named right after the driver's log, and only that file.
    size_t named = out.find("\nData file \"" + v + "\": shader did not compile\n");
    EXPECT_LT(vertexError, named) << out;
    EXPECT_EQ(named + 1, out.find("Data file")) << out;
    EXPECT_LT(named, fragmentOk);
    EXPECT_EQ(out.find("Data file", named + 2), std::string::npos) << out;
    EXPECT_FALSE(shader.isUsable());
}

TEST_F(ShaderTest, TwoGoodStagesThatDoNotLinkAreNamedAsAPair) {
    std::string v = file("lonely.vert", goodVertex);
    // Each stage compiles on its own; only the link finds that nobody wrote a main().
    std::string f = file("no-main.frag", R"(
in vec2 uv;
out vec4 fragColor;
void shade() { fragColor = vec4(uv, 0.0, 1.0); }
)");
    Shader shader;
    std::string out = loadShaderQuietly(shader, v, f);
    size_t linkError = out.find("Shader-program link error:\n\n");
    size_t named =
        out.find("Data file \"" + v + "\": shader program did not link with \"" + f + "\"\n");
    ASSERT_NE(linkError, std::string::npos) << out;
    EXPECT_LT(linkError, named) << out;
    EXPECT_FALSE(shader.isUsable());
}

TEST_F(ShaderTest, MissingFilesAreHandedToTheDriverAsEmptySources) {
    // Whatever the driver makes of an empty source, a missing file must get the same verdict,
    // and each missing file is named as missing.
    std::string v = file("empty.vert", "");
    std::string f = file("empty.frag", "");
    forgetReportedDataFiles();
    std::string outputs[2];
    bool usable[2] = {true, true};
    const char* paths[2][2] = {{v.c_str(), f.c_str()},
                               {"/nonexistent/a.vert", "/nonexistent/b.frag"}};
    for (int i = 0; i < 2; ++i) {
        Shader shader;
        outputs[i] = loadShaderQuietly(shader, paths[i][0], paths[i][1]);
        usable[i] = shader.isUsable();
    }
    EXPECT_NE(outputs[1].find("Data file \"/nonexistent/a.vert\": missing\n"), std::string::npos)
        << outputs[1];
    EXPECT_NE(outputs[1].find("Data file \"/nonexistent/b.frag\": missing\n"), std::string::npos)
        << outputs[1];
    // Past the naming of the files, the driver's verdicts are the same.
    for (std::string& out : outputs) {
        std::istringstream lines(out);
        std::string kept;
        for (std::string line; std::getline(lines, line);)
            if (line.rfind("Data file ", 0) != 0)
                kept += line + "\n";
        out = kept;
    }
    EXPECT_NE(outputs[0].find("Vertex-shader"), std::string::npos) << outputs[0];
    EXPECT_EQ(outputs[1], outputs[0]);
    EXPECT_FALSE(usable[1]);
    EXPECT_EQ(usable[0], usable[1]);
}

TEST_F(ShaderTest, SetMatricesFillsPerspectiveViewAndModelInThatOrder) {
    std::string v = file("m.vert", goodVertex);
    std::string f = file("m.frag", goodFragment);
    Shader shader;
    loadShaderQuietly(shader, v, f);
    glUseProgram(shader.program());
    glm::mat4 a(1.0f), b(2.0f), c(3.0f);
    shader.setMatrices(a, b, c);
    const char* names[3] = {"perspective", "view", "model"};
    const glm::mat4* expected[3] = {&a, &b, &c};
    for (int i = 0; i < 3; ++i) {
        glm::mat4 read(0.0f);
        glGetUniformfv(shader.program(), glGetUniformLocation(shader.program(), names[i]),
                       glm::value_ptr(read));
        EXPECT_EQ(read, *expected[i]) << names[i];
    }
    glUseProgram(0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ShaderTest, TheProgramIsDeletedWithTheShader) {
    std::string v = file("d.vert", goodVertex);
    std::string f = file("d.frag", goodFragment);
    GLuint program = 0;
    {
        Shader shader;
        loadShaderQuietly(shader, v, f);
        program = shader.program();
        EXPECT_TRUE(glIsProgram(program));
    }
    EXPECT_FALSE(glIsProgram(program));
}

TEST_F(ShaderTest, DrawTexturedRendersAndLeavesItsAttributesDisabled) {
    std::string v = file("t.vert", goodVertex);
    std::string f = file("t.frag", goodFragment);
    Shader shader;
    loadShaderQuietly(shader, v, f);

    glm::vec4 positions[3] = {{-1, -1, 0, 1}, {3, -1, 0, 1}, {-1, 3, 0, 1}};
    glm::vec2 uvs[3] = {{1, 0}, {1, 0}, {1, 0}};
    unsigned int indices[3] = {0, 1, 2};
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glUseProgram(shader.program());
    shader.setMatrices(glm::mat4(1.0f), glm::mat4(1.0f), glm::mat4(1.0f));
    shader.drawTextured(positions, uvs, indices, 3);
    glUseProgram(0);
    unsigned char pixel[4] = {};
    glReadPixels(10, 10, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_GT(pixel[0], 200);
    EXPECT_LT(pixel[1], 50);
    GLint enabled = 1;
    glGetVertexAttribiv(static_cast<GLuint>(glGetAttribLocation(shader.program(), "vertex")),
                        GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
    EXPECT_EQ(enabled, 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// The level programs' texture lookup against a plain texture() lookup of the same texture.
// Blocks whose footprint covers the whole texture, or whose filter box would be enormous, take
// the smallest mip level's texel instead of the driver's filter; the first case must leave
// every pixel as the filter drew it.

constexpr int side = 128;

// 64 x 64 with detail at every scale: a ramp in red, stripes in green, and a texel pattern
// in blue, so each mip level differs from the next.
unsigned int mipmappedTexture(bool anisotropicMipmaps) {
    std::vector<unsigned char> texels(64 * 64 * 3);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            unsigned char* t = &texels[static_cast<size_t>(y * 64 + x) * 3];
            t[0] = static_cast<unsigned char>(x * 4);
            t[1] = ((x / 8 + y / 16) % 2) ? 230 : 20;
            t[2] = static_cast<unsigned char>(((x ^ y) & 3) * 80);
        }
    }
    unsigned int name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 64, 64, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    glGenerateMipmap(GL_TEXTURE_2D);
    if (anisotropicMipmaps) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        GLfloat maximum = 1.0f;
        glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &maximum);
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, maximum);
    } else {
        // What the no-mipmaps option leaves: the levels are still there but never sampled.
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return name;
}

class LevelTexture : public testing::Test {
  protected:
    void SetUp() override {
        if (!ensureGlContext())
            GTEST_SKIP() << "no display";
        loadShaderQuietly(level, "shader/simple_shader.vert", "shader/simple_shader.frag",
                          "shader/level_texture.frag");
        // The same program with the driver's lookup everywhere: the picture to keep.
        std::string source = readFile("shader/simple_shader.frag");
        const std::string call = "levelTexture(colorTexture, uv)";
        size_t at = source.rfind(call);
        ASSERT_NE(at, std::string::npos);
        source.replace(at, call.size(), "texture(colorTexture, uv)");
        std::string plainPath = writeScratchFile("plain_lookup.frag", source);
        loadShaderQuietly(plain, "shader/simple_shader.vert", plainPath);
        ASSERT_TRUE(level.isUsable());
        ASSERT_TRUE(plain.isUsable());
    }

    // Horizontal bands across the view, each with texture coordinates that change by
    // `texelsPerPixel` (columns: per pixel right, per pixel up) in texels of the full size.
    // Only ambient light, so each pixel is the texture lookup itself.
    struct Band {
        float bottom, top; // in clip space
        glm::mat2 texelsPerPixel;
    };
    std::vector<unsigned char> draw(Shader& shader, unsigned int texture, bool mipmapped,
                                    const std::vector<Band>& bands) {
        glViewport(0, 0, side, side);
        glDisable(GL_CULL_FACE);
        glDisable(GL_DEPTH_TEST);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        GLuint program = shader.program();
        glUseProgram(program);
        glm::mat4 identity(1.0f);
        glUniformMatrix4fv(glGetUniformLocation(program, "PV"), 1, GL_FALSE, &identity[0][0]);
        shader.setModel(identity);
        // No shadow lookup: every point lands behind the light's view.
        glm::mat4 behind(0.0f);
        glUniformMatrix4fv(glGetUniformLocation(program, "T"), 1, GL_FALSE, &behind[0][0]);
        shader.setLights(glm::vec3(0, 10, 0), glm::vec4(0), glm::vec4(1));
        shader.setInt(0, "colorTexture");
        shader.setInt(mipmapped ? 1 : 0, "levelTexturesMipmapped");
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, texture);
        for (const Band& band : bands) {
            glm::vec4 positions[4] = {{-1, band.bottom, 0, 1},
                                      {1, band.bottom, 0, 1},
                                      {1, band.top, 0, 1},
                                      {-1, band.top, 0, 1}};
            glm::vec3 normals[4] = {{0, 1, 0}, {0, 1, 0}, {0, 1, 0}, {0, 1, 0}};
            glm::vec2 uvs[4];
            for (int i = 0; i < 4; ++i) {
                glm::vec2 pixel = (glm::vec2(positions[i]) + 1.0f) * (0.5f * side);
                uvs[i] = band.texelsPerPixel * pixel / 64.0f;
            }
            unsigned int indices[6] = {0, 1, 2, 0, 2, 3};
            shader.drawLit(positions, normals, uvs, indices, 6);
        }
        glUseProgram(0);
        std::vector<unsigned char> image(static_cast<size_t>(side * side) * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, side, side, GL_RGB, GL_UNSIGNED_BYTE, image.data());
        return image;
    }

    static int largestDifference(const std::vector<unsigned char>& a,
                                 const std::vector<unsigned char>& b) {
        int largest = 0;
        for (size_t i = 0; i < a.size(); ++i)
            largest = std::max(largest, std::abs(a[i] - b[i]));
        return largest;
    }

    Shader level;
    Shader plain;
};

// From a few texels per pixel up to many copies of the texture per block, looked at square
// on: the filter's box stays small, so every pixel must be exactly the filter's.
TEST_F(LevelTexture, SquareOnFootprintsAreTheFiltersOwnWithMipmapsAndWithout) {
    std::vector<Band> bands;
    const float scales[] = {0.3f, 1.5f, 3.0f, 7.0f, 20.0f, 40.0f, 70.0f, 150.0f};
    for (int i = 0; i < 8; ++i)
        bands.push_back({-1.0f + 0.25f * i, -0.75f + 0.25f * i, glm::mat2(scales[i])});
    for (bool mipmapped : {true, false}) {
        unsigned int texture = mipmappedTexture(mipmapped);
        std::vector<unsigned char> expected = draw(plain, texture, mipmapped, bands);
        std::vector<unsigned char> drawn = draw(level, texture, mipmapped, bands);
        glDeleteTextures(1, &texture);
        EXPECT_LE(largestDifference(drawn, expected), 1) << "mipmapped " << mipmapped;
        // The top band covers the texture many times per block: with mipmaps the filter
        // gives one colour there (the case the smallest level stands in for), without
        // them a scatter of texels.
        int top = (side - 4) * side * 3;
        bool topVaries = false;
        for (int x = 1; x < side; ++x)
            topVaries = topVaries || std::abs(expected[top + x * 3] - expected[top]) > 8;
        EXPECT_EQ(topVaries, !mipmapped);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// A sheet seen edge-on: eighty texels per pixel along a diagonal, almost nothing across it.
// The filter would walk a box of thousands of texels per block; the smallest level, the
// texture's average, stands in. Without mipmaps nothing changes.
TEST_F(LevelTexture, AnEdgeOnSliverTakesTheAverageColourOnlyWithMipmaps) {
    std::vector<Band> sliver = {{-1.0f, 1.0f, glm::mat2(80.0f, 80.0f, 0.001f, 0.0f)}};
    for (bool mipmapped : {true, false}) {
        unsigned int texture = mipmappedTexture(mipmapped);
        unsigned char average[3] = {};
        glGetTexImage(GL_TEXTURE_2D, 6, GL_RGB, GL_UNSIGNED_BYTE, average);
        std::vector<unsigned char> expected = draw(plain, texture, mipmapped, sliver);
        std::vector<unsigned char> drawn = draw(level, texture, mipmapped, sliver);
        glDeleteTextures(1, &texture);
        if (mipmapped) {
            int farFromAverage = 0;
            for (size_t i = 0; i < drawn.size(); ++i)
                farFromAverage += std::abs(drawn[i] - average[i % 3]) > 1;
            EXPECT_EQ(farFromAverage, 0);
            // The filter's own picture is not uniform: the stand-in is what the test sees.
            EXPECT_GT(largestDifference(drawn, expected), 4);
        } else {
            EXPECT_LE(largestDifference(drawn, expected), 1);
        }
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

} // namespace
