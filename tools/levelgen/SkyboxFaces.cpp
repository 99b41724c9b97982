// The six skybox faces, painted from one colour-per-direction function. Each texel is mapped
// through its face's corners and texture coordinates (as the skybox draws them) to a point on
// the cube, so texels that meet along an edge of the cube get the colour of the same direction
// and the faces join without seams.
#include <algorithm>
#include <cmath>
#include <string>

#include "ArtGenerators.h"
#include "Image.h"
#include "Noise.h"

namespace {

constexpr int faceSize = 512;

struct Face {
    const char* file;
    glm::vec3 corner[4];
    glm::vec2 texCoord[4];
};

// The cube as the game draws it: 200 units a side around its centre, right.png on the x = -100
// side and left.png on the x = +100 side.
const Face faces[6] = {
    {"up.png",
     {{-100, 100, -100}, {100, 100, -100}, {100, 100, 100}, {-100, 100, 100}},
     {{0, 0}, {0, 1}, {1, 1}, {1, 0}}},
    {"bottom.png",
     {{100, -100, -100}, {-100, -100, -100}, {-100, -100, 100}, {100, -100, 100}},
     {{0, 0}, {0, 1}, {1, 1}, {1, 0}}},
    {"front.png",
     {{100, -100, -100}, {-100, -100, -100}, {-100, 100, -100}, {100, 100, -100}},
     {{0, 0}, {1, 0}, {1, 1}, {0, 1}}},
    {"back.png",
     {{-100, -100, 100}, {100, -100, 100}, {-100, 100, 100}, {100, 100, 100}},
     {{0, 0}, {1, 0}, {0, 1}, {1, 1}}},
    {"right.png",
     {{-100, -100, -100}, {-100, -100, 100}, {-100, 100, 100}, {-100, 100, -100}},
     {{0, 0}, {1, 0}, {1, 1}, {0, 1}}},
    {"left.png",
     {{100, -100, 100}, {100, -100, -100}, {100, 100, -100}, {100, 100, 100}},
     {{0, 0}, {1, 0}, {1, 1}, {0, 1}}},
};

glm::vec3 cornerAt(const Face& face, glm::vec2 texCoord) {
    for (int k = 0; k < 4; ++k)
        if (face.texCoord[k] == texCoord)
            return face.corner[k];
    return glm::vec3(0.0f);
}

float smooth(float edge0, float edge1, float x) {
    float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// Height of a hill range above the horizon (as the sine of the elevation) in a direction.
float ridge(glm::vec2 horizontal, float scale, uint32_t seed) {
    glm::vec3 p(horizontal.x * scale, horizontal.y * scale, 3.7f);
    return std::clamp(0.5f + 1.3f * noise::solidFbm(p, 4, seed), 0.0f, 1.0f);
}

glm::vec3 cloudLayer(const glm::vec3& d, glm::vec3 sky) {
    // Clouds on a flat layer overhead, thinning out toward the horizon.
    glm::vec2 q = glm::vec2(d.x, d.z) / (d.y + 0.12f) * 1.1f;
    float density = noise::solidFbm(glm::vec3(q.x, q.y, 0.5f), 4, 41u);
    float cover = smooth(0.02f, 0.5f, density) * smooth(0.02f, 0.3f, d.y);
    float shade = 0.5f + 0.5f * noise::solidFbm(glm::vec3(q.x * 2.0f, q.y * 2.0f, 9.0f), 2, 43u);
    glm::vec3 cloud =
        glm::mix(glm::vec3(0.98f, 0.98f, 1.0f), glm::vec3(0.72f, 0.76f, 0.84f), shade * 0.8f);
    return glm::mix(sky, cloud, cover * 0.9f);
}

glm::vec3 skyColour(glm::vec3 d) {
    d = glm::normalize(d);
    const glm::vec3 horizon(0.74f, 0.84f, 0.94f);
    const glm::vec3 zenith(0.20f, 0.44f, 0.84f);
    glm::vec3 colour = glm::mix(horizon, zenith, std::pow(std::max(d.y, 0.0f), 0.55f));
    if (d.y > 0.0f)
        colour = cloudLayer(d, colour);

    float flat = std::sqrt(d.x * d.x + d.z * d.z);
    if (d.y < 0.16f && flat > 1e-4f) {
        glm::vec2 h(d.x / flat, d.z / flat);
        // Two hazy ranges: far blue-grey hills behind nearer green ones.
        float far = 0.03f + 0.11f * ridge(h, 2.0f, 7u);
        float near = 0.01f + 0.06f * ridge(h, 4.0f, 11u);
        float aa = 0.004f; // a soft rim instead of stair steps
        colour = glm::mix(colour, glm::vec3(0.52f, 0.62f, 0.70f), smooth(far + aa, far - aa, d.y));
        glm::vec3 green = glm::mix(glm::vec3(0.30f, 0.45f, 0.30f), glm::vec3(0.44f, 0.56f, 0.50f),
                                   smooth(-0.1f, near, d.y));
        colour = glm::mix(colour, green, smooth(near + aa, near - aa, d.y));
    }
    if (d.y < 0.0f)
        colour = glm::mix(colour, glm::vec3(0.22f, 0.30f, 0.20f), smooth(0.0f, -0.5f, d.y));
    return colour;
}

Image paintFace(const Face& face) {
    // Edge texels sit exactly on the cube's edges (s, t = 0 and 1), so both faces along an
    // edge hold identical colours there and clamped sampling shows no line.
    glm::vec3 origin = cornerAt(face, {0, 0});
    glm::vec3 alongS = cornerAt(face, {1, 0}) - origin;
    glm::vec3 alongT = cornerAt(face, {0, 1}) - origin;
    Image image(faceSize, faceSize);
    for (int row = 0; row < faceSize; ++row) {
        float t = static_cast<float>(row) / (faceSize - 1);
        for (int col = 0; col < faceSize; ++col) {
            float s = static_cast<float>(col) / (faceSize - 1);
            glm::vec3 c = skyColour(origin + s * alongS + t * alongT);
            image.at(col, row) = glm::vec4(c, 1.0f);
        }
    }
    return image;
}

} // namespace

void writeSkyboxFaces(const std::string& outDir) {
    for (const Face& face : faces) {
        std::string path = outDir + "/texture/Skybox/" + face.file;
        reportWrite(path, paintFace(face).writePng(path, 3));
    }
}
