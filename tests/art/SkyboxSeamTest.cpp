// The six sky faces meet without seams when drawn on the cube the skybox draws: each face's
// corners and texture coordinates (the skybox's own table) map every edge texel to a point
// on a cube edge, and the face on the other side of that edge must show the same colour
// there. A face that is mirrored or turned fails along its edges.
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "ArtFiles.h"
#include "render/Skybox.h"

namespace {

// A sky face as the seam check sees it: the corner at texture coordinate (0, 0) and the
// steps to (1, 0) and (0, 1), worked out from the skybox's own table.
struct Face {
    const char* path;
    glm::vec3 origin, alongS, alongT;
};

Face faces[Skybox::faceCount];

void prepare() {
    for (int i = 0; i < Skybox::faceCount; ++i) {
        const Skybox::Face& drawn = Skybox::face(i);
        glm::vec3 at[2][2];
        for (int k = 0; k < 4; ++k) {
            const glm::vec2 st = drawn.texCoords[k];
            at[static_cast<int>(st.x)][static_cast<int>(st.y)] = glm::vec3(drawn.corners[k]);
        }
        faces[i] = Face{drawn.file, at[0][0], at[1][0] - at[0][0], at[0][1] - at[0][0]};
    }
}

// Texture coordinates of a cube point on a face, or false when the point is not on it.
bool onFace(const Face& f, const glm::vec3& p, glm::vec2& st) {
    glm::vec3 r = p - f.origin;
    glm::vec3 normal = glm::normalize(glm::cross(f.alongS, f.alongT));
    if (std::abs(glm::dot(r, normal)) > 0.01f)
        return false;
    st = {glm::dot(r, f.alongS) / glm::dot(f.alongS, f.alongS),
          glm::dot(r, f.alongT) / glm::dot(f.alongT, f.alongT)};
    return st.x > -1e-4f && st.x < 1.0001f && st.y > -1e-4f && st.y < 1.0001f;
}

int texel(float coordinate, int size) {
    return std::clamp(static_cast<int>(std::lround(coordinate * (size - 1))), 0, size - 1);
}

TEST(SkyboxSeams, EdgeTexelsMatchTheNeighbouringFace) {
    prepare();
    GlPicture pictures[6];
    for (int i = 0; i < 6; ++i) {
        pictures[i] = loadAsGl(faces[i].path);
        ASSERT_TRUE(pictures[i].ok) << faces[i].path;
        ASSERT_EQ(pictures[i].width, pictures[i].height) << faces[i].path;
    }
    int neighbours[6][6] = {};
    double worst = 0.0;
    for (int a = 0; a < 6; ++a) {
        const int n = pictures[a].width;
        for (int edge = 0; edge < 4; ++edge) {
            for (int i = 0; i < n; ++i) {
                float along = static_cast<float>(i) / (n - 1);
                glm::vec2 st = edge == 0   ? glm::vec2(along, 0)
                               : edge == 1 ? glm::vec2(along, 1)
                               : edge == 2 ? glm::vec2(0, along)
                                           : glm::vec2(1, along);
                glm::vec3 p = faces[a].origin + st.x * faces[a].alongS + st.y * faces[a].alongT;
                glm::ivec4 mine = pictures[a].rgba(texel(st.x, n), texel(st.y, n));
                for (int b = 0; b < 6; ++b) {
                    glm::vec2 other;
                    if (b == a || !onFace(faces[b], p, other))
                        continue;
                    const int m = pictures[b].width;
                    glm::ivec4 theirs = pictures[b].rgba(texel(other.x, m), texel(other.y, m));
                    glm::ivec4 d = glm::abs(mine - theirs);
                    double step = std::max({d.r, d.g, d.b});
                    worst = std::max(worst, step);
                    ++neighbours[a][b];
                    EXPECT_LE(step, 6.0) << faces[a].path << " " << faces[b].path << " at " << i;
                }
            }
        }
    }
    // Every face meets exactly four others, never its opposite.
    for (int a = 0; a < 6; ++a) {
        int met = 0;
        for (int b = 0; b < 6; ++b)
            met += neighbours[a][b] > 100;
        EXPECT_EQ(met, 4) << faces[a].path;
    }
    RecordProperty("worst_edge_step", static_cast<int>(worst));
}

glm::dvec3 meanColour(const GlPicture& p, int rowFrom, int rowTo) {
    glm::dvec3 sum(0.0);
    for (int y = rowFrom; y < rowTo; ++y)
        for (int x = 0; x < p.width; ++x)
            sum += glm::dvec3(glm::vec3(p.rgba(x, y)));
    return sum / static_cast<double>((rowTo - rowFrom) * p.width);
}

TEST(SkyboxSeams, SkyAboveGroundBelow) {
    prepare();
    GlPicture up = loadAsGl(faces[0].path);
    GlPicture bottom = loadAsGl(faces[1].path);
    ASSERT_TRUE(up.ok && bottom.ok);
    glm::dvec3 sky = meanColour(up, 0, up.height);
    glm::dvec3 ground = meanColour(bottom, 0, bottom.height);
    EXPECT_GT(sky.b, sky.r + 30.0);
    EXPECT_GT(ground.g, ground.b);
    EXPECT_LT(ground.b, sky.b - 60.0);
    // On a side face t runs from the cube's bottom (t = 0) to its top (t = 1) in the table, so
    // the last GL rows must be bluer than the first.
    for (int i = 2; i < 6; ++i) {
        GlPicture side = loadAsGl(faces[i].path);
        ASSERT_TRUE(side.ok);
        glm::dvec3 low = meanColour(side, 0, side.height / 4);
        glm::dvec3 high = meanColour(side, side.height * 3 / 4, side.height);
        EXPECT_GT(high.b, low.b + 40.0) << faces[i].path;
    }
}

} // namespace
