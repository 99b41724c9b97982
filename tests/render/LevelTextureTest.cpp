// The level program's texture lookup against a plain texture() lookup of the same texture:
// blocks whose footprint covers the whole texture take the smallest mip level's texel instead
// of the driver's filter, and that must leave every pixel as the filter drew it.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <glm/glm.hpp>

#include "GlTestContext.h"
#include "TestFiles.h"
#include "render/Shader.h"

namespace {

constexpr int side = 128;

std::string readText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

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
        testing::internal::CaptureStdout();
        level.load("shader/simple_shader.vert", "shader/simple_shader.frag",
                   "shader/level_texture.frag");
        // The same program with the driver's lookup everywhere: the picture to keep.
        std::string source = readText("shader/simple_shader.frag");
        const std::string call = "levelTexture(colorTexture, uv)";
        size_t at = source.rfind(call);
        ASSERT_NE(at, std::string::npos);
        source.replace(at, call.size(), "texture(colorTexture, uv)");
        std::string plainPath = writeScratchFile("plain_lookup.frag", source);
        plain.load("shader/simple_shader.vert", plainPath.c_str());
        testing::internal::GetCapturedStdout();
        ASSERT_TRUE(level.isUsable());
        ASSERT_TRUE(plain.isUsable());
    }

    // A floor seen from just above it, filling the view: footprints from about a texel per
    // pixel at the bottom to many copies of the texture per block at the top. Only ambient
    // light, so each pixel is the texture lookup itself.
    std::vector<unsigned char> draw(Shader& shader, unsigned int texture, bool mipmapped) {
        const float far = 60.0f;
        glm::vec4 positions[4] = {
            {-1, -1, 0, 1}, {1, -1, 0, 1}, {far, far, 0, far}, {-far, far, 0, far}};
        glm::vec3 normals[4] = {{0, 1, 0}, {0, 1, 0}, {0, 1, 0}, {0, 1, 0}};
        glm::vec2 uvs[4] = {{0, 0}, {0.5f, 0}, {300.0f, 400.0f}, {0, 400.0f}};
        unsigned int indices[6] = {0, 1, 2, 0, 2, 3};
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
        shader.drawLit(positions, normals, uvs, indices, 6);
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

TEST_F(LevelTexture, EveryPixelIsTheFiltersOwnWithMipmapsAndWithout) {
    for (bool mipmapped : {true, false}) {
        unsigned int texture = mipmappedTexture(mipmapped);
        std::vector<unsigned char> expected = draw(plain, texture, mipmapped);
        std::vector<unsigned char> drawn = draw(level, texture, mipmapped);
        glDeleteTextures(1, &texture);
        EXPECT_LE(largestDifference(drawn, expected), 1) << "mipmapped " << mipmapped;
        // The far rows vary only with mipmaps off: the scene reaches the blocks that
        // cover the texture, where the smallest level stands for the whole of it.
        int top = (side - 4) * side * 3;
        bool farRowsVary = false;
        for (int x = 1; x < side; ++x)
            farRowsVary = farRowsVary || std::abs(expected[top + x * 3] - expected[top]) > 8;
        EXPECT_EQ(farRowsVary, !mipmapped);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

} // namespace
