#include "RenderFixture.h"

#include <GL/glew.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include <glm/gtc/matrix_transform.hpp>

#include "GlTestContext.h"
#include "QuietScene.h"
#include "TestFiles.h"
#include "assets/AnimationModel.h"
#include "assets/HierarchicalAnimationModel.h"
#include "assets/Model.h"
#include "assets/Sphere.h"
#include "level/LevelTable.h"
#include "physics/Camera.h"
#include "platform/Input.h"
#include "platform/ScriptedClock.h"
#include "render/Skybox.h"
#include "scene/Scene.h"

namespace fs = std::filesystem;

namespace fixture {

void SceneTest::SetUp() {
    scene = fixture::scene();
    if (!scene)
        GTEST_SKIP() << "no display";
    resetScene();
}

void SceneTest::TearDown() {
    if (scene)
        resetScene();
}

void MeshWriter::quad(const glm::vec3& a, const glm::vec3& b, const glm::vec3& c,
                      const glm::vec3& d, const glm::vec3& normal) {
    unsigned int first = static_cast<unsigned int>(positions.size());
    const glm::vec3 corners[4] = {a, b, c, d};
    const glm::vec2 cornerUvs[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (int i = 0; i < 4; ++i) {
        positions.push_back(corners[i]);
        normals.push_back(normal);
        uvs.push_back(cornerUvs[i]);
    }
    for (unsigned int k : {0u, 1u, 2u, 0u, 2u, 3u})
        indices.push_back(first + k);
}

void MeshWriter::box(const glm::vec3& centre, float halfSize) {
    const glm::vec3 axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (int axis = 0; axis < 3; ++axis) {
        for (float sign : {1.0f, -1.0f}) {
            glm::vec3 n = axes[axis] * sign;
            glm::vec3 u = axes[(axis + 1) % 3] * halfSize;
            glm::vec3 v = glm::cross(n, u); // u x v = n: counter-clockwise seen from outside
            glm::vec3 c = centre + n * halfSize;
            quad(c - u - v, c + u - v, c + u + v, c - u + v, n);
        }
    }
}

std::string MeshWriter::facesXml() const {
    std::ostringstream out;
    out << "<submeshes><submesh><faces count=\"" << indices.size() / 3 << "\">\n";
    for (size_t i = 0; i + 2 < indices.size(); i += 3)
        out << "<face v1=\"" << indices[i] << "\" v2=\"" << indices[i + 1] << "\" v3=\""
            << indices[i + 2] << "\"/>\n";
    out << "</faces></submesh></submeshes>\n";
    return out.str();
}

std::string MeshWriter::xml() const {
    std::ostringstream out;
    out << "<mesh>\n<sharedgeometry vertexcount=\"" << positions.size() << "\">\n<vertexbuffer>\n";
    for (size_t i = 0; i < positions.size(); ++i) {
        const glm::vec3& p = positions[i];
        const glm::vec3& n = normals[i];
        out << "<vertex><position x=\"" << p.x << "\" y=\"" << p.y << "\" z=\"" << p.z
            << "\"/><normal x=\"" << n.x << "\" y=\"" << n.y << "\" z=\"" << n.z
            << "\"/><texcoord u=\"" << uvs[i].x << "\" v=\"" << uvs[i].y << "\"/></vertex>\n";
    }
    out << "</vertexbuffer>\n</sharedgeometry>\n" << facesXml() << "</mesh>\n";
    return out.str();
}

namespace {

std::string positionXml(const glm::vec3& p) {
    std::ostringstream out;
    out << "<position x=\"" << p.x << "\" y=\"" << p.y << "\" z=\"" << p.z << "\"/>";
    return out.str();
}

} // namespace

std::string MeshWriter::animatedXml(int keyframeCount, const glm::vec3& baseOffset) const {
    std::ostringstream out;
    out << "<mesh>\n<sharedgeometry vertexcount=\"" << positions.size() << "\">\n<vertexbuffer>\n";
    for (const glm::vec3& p : positions)
        out << "<vertex>" << positionXml(p + baseOffset) << "</vertex>\n";
    out << "</vertexbuffer>\n<vertexbuffer>\n";
    for (const glm::vec3& n : normals)
        out << "<vertex><normal x=\"" << n.x << "\" y=\"" << n.y << "\" z=\"" << n.z
            << "\"/></vertex>\n";
    out << "</vertexbuffer>\n<vertexbuffer>\n";
    for (const glm::vec2& uv : uvs)
        out << "<vertex><texcoord u=\"" << uv.x << "\" v=\"" << uv.y << "\"/></vertex>\n";
    out << "</vertexbuffer>\n</sharedgeometry>\n" << facesXml();
    out << "<animations><animation length=\"1\"><tracks><track><keyframes>\n";
    for (int k = 0; k < keyframeCount; ++k) {
        out << "<keyframe>";
        for (const glm::vec3& p : positions)
            out << positionXml(p);
        out << "</keyframe>\n";
    }
    out << "</keyframes></track></tracks></animation></animations>\n</mesh>\n";
    return out.str();
}

namespace {

std::string writeMesh(const std::string& name, const MeshWriter& mesh) {
    return writeScratchFile("level/" + name, mesh.xml());
}

void writeFixtureFiles() {
    MeshWriter cube;
    cube.box(glm::vec3(0.0f), 1.0f);
    writeMesh(level::sphereFile, cube);

    MeshWriter ground;
    ground.quad({-60, 0, 60}, {60, 0, 60}, {60, 0, -160}, {-60, 0, -160}, {0, 1, 0});
    writeMesh(level::pathRiverFile, ground);

    MeshWriter tree;
    tree.quad({-5, 0, 0}, {5, 0, 0}, {5, 10, 0}, {-5, 10, 0}, {0, 0, 1});
    writeMesh(level::treeFile, tree);

    MeshWriter offsetCube;
    offsetCube.box(glm::vec3(0.0f, 0.0f, -40.0f), 1.0f);
    writeMesh(level::bannerFile, offsetCube);

    MeshWriter lake;
    lake.quad({-30, 0, 30}, {30, 0, 30}, {30, 0, -30}, {-30, 0, -30}, {0, 1, 0});
    writeMesh(level::lakeFile, lake);

    writeMesh(level::reedsFile, tree);
    writeMesh(level::sawBeamFile, cube);
    writeMesh(level::sawBladeFile, cube);
    writeScratchFile(std::string("level/") + level::stopFile,
                     cube.animatedXml(2, glm::vec3(0.0f, -100.0f, 0.0f)));

    MeshWriter plane;
    plane.quad({-20, 0, 20}, {20, 0, 20}, {20, 0, -20}, {-20, 0, -20}, {0, 1, 0});
    writeMesh(level::planeRiverFile, plane);

    fs::path levelDir = fs::path(scratchDir()) / "level";
    std::error_code ignored;
    fs::create_directory_symlink(fs::path(runDir()) / "shader", levelDir / "shader", ignored);
}

ScriptedClock scriptedClock;
Scene* shared = nullptr;
unsigned int groundTexture = 0;

struct SceneOwner {
    ~SceneOwner() { delete shared; }
} owner;

} // namespace

Scene* scene() {
    static bool tried = false;
    if (tried)
        return shared;
    tried = true;
    if (!ensureGlContext(width, height))
        return nullptr;
    setenv("ALSOFT_DRIVERS", "null", 1);
    platform::setTimeSource(&scriptedClock);
    writeFixtureFiles();
    shared = new Scene();
    startSceneQuietly(*shared, fs::path(scratchDir()) / "level");
    groundTexture = solidTexture(255, 255, 255);
    resetScene();
    return shared;
}

void resetScene() {
    Scene* s = shared;
    s->setViewSize(width, height);
    glViewport(0, 0, width, height);
    if (s->isFrustumCullingOn() == false)
        s->toggleFrustumCulling();
    if (!s->isVboOn())
        s->toggleVbo();
    if (!s->isTransparencyOn())
        s->toggleTransparency();
    // Everything that moves in a test starts parked far below the ground, out of sight.
    glm::mat4 parked = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, -500.0f, 0.0f));
    s->getMarble()->setTransform(parked);
    s->getStaticModel(0)->setTransform(parked);
    s->getStaticModel(1)->setTransform(parked);
    for (HierarchicalAnimationModel* part : {s->getSawBeam(), s->getSawBlade()}) {
        part->setParentTransform(glm::mat4(1.0f));
        part->setTransform(parked);
        part->setLocalTransform(glm::mat4(1.0f));
    }
    s->getAnimatedModel(0)->setTransform(parked);
    s->getPlaneModel(0)->setTransform(parked);
    s->getTransparentModel(0)->setTransform(glm::mat4(1.0f));
    s->getTransparentModel(2)->setTransform(parked);
    s->getStaticModel(0)->setBoundingRadius(2.0);
    s->getStaticModel(1)->setBoundingRadius(2.0);
    s->getGroundModel(0)->setTexture(groundTexture);
    lookAt(glm::vec3(0.0f, 5.0f, 20.0f), glm::vec3(0.0f, 5.0f, 0.0f));
}

void lookAt(const glm::vec3& eye, const glm::vec3& centre) {
    shared->getCamera()->lookAt(eye, centre);
    shared->getSkybox()->setTransform(glm::translate(glm::mat4(1.0f), eye));
}

ScriptedClock& clock() {
    return scriptedClock;
}

void place(Model* model, const glm::vec3& position) {
    model->setTransform(glm::translate(glm::mat4(1.0f), position));
}

void placeBanner(const glm::vec3& cubeCentre) {
    place(shared->getStaticModel(1), cubeCentre + glm::vec3(0.0f, 0.0f, 40.0f));
}

unsigned int solidTexture(unsigned char r, unsigned char g, unsigned char b) {
    const unsigned char texels[12] = {r, g, b, r, g, b, r, g, b, r, g, b};
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 2, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, 0);
    return name;
}

unsigned int halfAlphaMap() {
    const unsigned char texels[2] = {0, 255};
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE, 2, 1, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE, texels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glBindTexture(GL_TEXTURE_2D, 0);
    return name;
}

std::vector<unsigned char> renderAndRead() {
    Scene* s = scene();
    s->renderShadowPass();
    s->renderMainPass();
    std::vector<unsigned char> image(static_cast<size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, image.data());
    return image;
}

Pixel pixelAt(const std::vector<unsigned char>& image, int x, int y) {
    size_t i = (static_cast<size_t>(y) * width + x) * 3;
    return Pixel{image[i], image[i + 1], image[i + 2]};
}

glm::ivec2 project(const glm::vec3& world) {
    glm::vec4 clip =
        scene()->getProjectionMatrix() * scene()->getCamera()->getMatrix() * glm::vec4(world, 1.0f);
    glm::vec2 ndc = glm::vec2(clip) / clip.w;
    return glm::ivec2(static_cast<int>((ndc.x * 0.5f + 0.5f) * width),
                      static_cast<int>((ndc.y * 0.5f + 0.5f) * height));
}

bool isRed(const Pixel& p) {
    return p.r > 100 && p.g < p.r / 3 && p.b < p.r / 3;
}

bool isMagenta(const Pixel& p) {
    return p.r > 150 && p.b > 150 && p.g < 60;
}

} // namespace fixture
