// Whole frames of the real level from fixed places along the course, compared with pictures
// kept in tests/render/reference/. Anything that changes what a pass draws shows up here;
// faster ways of drawing the same picture must leave these frames as they are.
//
// To accept a deliberate change of the picture, run the program once with
// QUILLORB_WRITE_REFERENCES=1: it writes the frames over the stored pictures.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <IL/il.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <glm/gtc/matrix_transform.hpp>

#include "GlTestContext.h"
#include "QuietScene.h"
#include "RenderFixture.h"
#include "TestFiles.h"
#include "assets/AnimationModel.h"
#include "assets/Sphere.h"
#include "level/LevelTable.h"
#include "levelgen/CourseRoute.h"
#include "physics/Camera.h"
#include "platform/Clock.h"
#include "platform/Input.h"
#include "platform/ScriptedClock.h"
#include "render/Skybox.h"
#include "scene/Scene.h"

namespace {

namespace fs = std::filesystem;

// A quarter of the game's window in each direction, with the same aspect, samples and
// level settings.
constexpr int frameWidth = 256;
constexpr int frameHeight = 192;

// The window must hold the frame; the smaller scenes of the other tests draw into its corner.
class LargeEnoughWindow : public ::testing::Environment {
  public:
    void SetUp() override { ensureGlContext(frameWidth, frameHeight); }
};
[[maybe_unused]] const ::testing::Environment* const window =
    ::testing::AddGlobalTestEnvironment(new LargeEnoughWindow());

struct Pose {
    const char* name;
    int waypoint;
    // Where the camera looks from the marble when not along the route (zero: along it).
    glm::vec3 lookToward;
    float sawSeconds;
    float barrierPhase;
};

void PrintTo(const Pose& pose, std::ostream* out) {
    *out << pose.name;
}

int waypointNearest(float x, float z) {
    const std::vector<glm::vec3> route = level::routeWaypoints();
    int best = 0;
    for (int i = 1; i < static_cast<int>(route.size()); ++i) {
        glm::vec2 d = glm::vec2(route[i].x - x, route[i].z - z);
        glm::vec2 b = glm::vec2(route[best].x - x, route[best].z - z);
        if (glm::dot(d, d) < glm::dot(b, b))
            best = i;
    }
    return best;
}

int atControl(int control) {
    const glm::vec3 c = level::routeControlPoints()[control];
    return waypointNearest(c.x, c.z);
}

std::vector<Pose> poses() {
    const glm::vec3 along(0.0f);
    return {
        {"start", atControl(level::routeStartControl), along, 0.0f, 0.0f},
        // The wall standing across the path.
        {"barrier", level::barrierWaitWaypoint(), along, 0.0f, 0.6f},
        // On the bridge over the lake's west arm, looking out over the water.
        {"lake", atControl(10), glm::vec3(40.0f, -6.0f, 10.0f), 0.0f, 0.0f},
        {"descent", atControl(16), along, 0.0f, 0.0f},
        {"meadow", atControl(level::routeDescentEndControl), along, 0.0f, 0.0f},
        // The blade low over the path.
        {"saw", level::sawWaitWaypoint(), along, 1.0f, 0.0f},
        {"riverBridge", atControl(level::routeRiverBridgeControl - 1), along, 0.0f, 0.0f},
        {"finish", atControl(level::routeGateControl - 2), along, 0.0f, 0.0f},
    };
}

// The level, loaded once for all poses and released after the last.
class ReferenceFrame : public ::testing::TestWithParam<Pose> {
  public:
    static void SetUpTestSuite() {
        if (!ensureGlContext(frameWidth, frameHeight))
            return;
        fs::path run = runDir();
        if (!fs::exists(run / level::sphereFile) || !fs::exists(run / level::path3File))
            return;
        setenv("ALSOFT_DRIVERS", "null", 1);
        // Frames of no time leave the waves where they started, whatever ran before.
        platform::setTimeSource(&fixture::clock());
        level = new Scene();
        startSceneQuietly(*level, run);
    }
    static void TearDownTestSuite() {
        delete level;
        level = nullptr;
    }

  protected:
    void SetUp() override {
        if (!level)
            GTEST_SKIP() << "no display or no generated level";
    }
    void TearDown() override {
        if (!level)
            return;
        level->setViewSize(fixture::width, fixture::height);
        glViewport(0, 0, fixture::width, fixture::height);
    }

    static Scene* level;
};

Scene* ReferenceFrame::level = nullptr;

void setBarrierPhase(AnimationModel* barrier, float phase) {
    float ahead = phase - barrier->getPhase();
    if (ahead < 0.0f)
        ahead += 1.0f;
    barrier->update(ahead * barrier->getDuration());
}

void placeFor(Scene* scene, const Pose& pose) {
    const std::vector<glm::vec3> route = level::routeWaypoints();
    const glm::vec3 here = route[pose.waypoint];
    glm::vec3 along = route[pose.waypoint + 1] - here;
    along.y = 0.0f;
    along = glm::normalize(along);
    scene->getMarble()->setTransform(glm::translate(glm::mat4(1.0f), here));
    glm::vec3 eye = here - 14.4f * along + glm::vec3(0.0f, 4.0f, 0.0f);
    glm::vec3 centre = here;
    if (pose.lookToward != glm::vec3(0.0f)) {
        eye = here + glm::vec3(0.0f, 4.0f, 0.0f);
        centre = eye + pose.lookToward;
    }
    scene->getCamera()->lookAt(eye, centre);
    scene->getSkybox()->setTransform(glm::translate(glm::mat4(1.0f), eye));
    scene->animateSawBlade(pose.sawSeconds);
    if (scene->getAnimatedCount() > 0 && scene->getAnimatedModel(0))
        setBarrierPhase(scene->getAnimatedModel(0), pose.barrierPhase);
}

// One frame of the scene as the game draws it, read back bottom row first.
std::vector<unsigned char> renderFrame(Scene* scene) {
    scene->setViewSize(frameWidth, frameHeight);
    glViewport(0, 0, frameWidth, frameHeight);
    scene->setFrameTime(0.0); // the waves stand as they are
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    scene->render();
    std::vector<unsigned char> image(static_cast<size_t>(frameWidth) * frameHeight * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, frameWidth, frameHeight, GL_RGB, GL_UNSIGNED_BYTE, image.data());
    return image;
}

fs::path referencePath(const std::string& name) {
    return fs::path(QUILLORB_SOURCE_DIR) / "tests" / "render" / "reference" / (name + ".png");
}

// PNG files through the game's own image library; rows bottom first, as GL reads them.
bool savePng(const fs::path& path, std::vector<unsigned char> image) {
    ILuint id = ilGenImage();
    ilBindImage(id);
    bool ok = ilTexImage(frameWidth, frameHeight, 1, 3, IL_RGB, IL_UNSIGNED_BYTE, image.data());
    ilEnable(IL_FILE_OVERWRITE);
    ok = ok && ilSave(IL_PNG, path.c_str());
    ilDisable(IL_FILE_OVERWRITE);
    ilDeleteImage(id);
    return ok;
}

bool loadPng(const fs::path& path, std::vector<unsigned char>& image) {
    ILuint id = ilGenImage();
    ilBindImage(id);
    ilEnable(IL_ORIGIN_SET);
    ilOriginFunc(IL_ORIGIN_LOWER_LEFT);
    bool ok = ilLoad(IL_PNG, path.c_str()) && ilConvertImage(IL_RGB, IL_UNSIGNED_BYTE) &&
              ilGetInteger(IL_IMAGE_WIDTH) == frameWidth &&
              ilGetInteger(IL_IMAGE_HEIGHT) == frameHeight;
    if (ok) {
        image.resize(static_cast<size_t>(frameWidth) * frameHeight * 3);
        ilCopyPixels(0, 0, 0, frameWidth, frameHeight, 1, IL_RGB, IL_UNSIGNED_BYTE, image.data());
    }
    ilDisable(IL_ORIGIN_SET);
    ilDeleteImage(id);
    return ok;
}

// Which pixels have a channel more than `tolerance` away from the reference.
std::vector<bool> differingPixels(const std::vector<unsigned char>& a,
                                  const std::vector<unsigned char>& b, int tolerance) {
    std::vector<bool> differs(static_cast<size_t>(frameWidth) * frameHeight, false);
    for (size_t p = 0; p < differs.size() && p * 3 + 2 < a.size() && p * 3 + 2 < b.size(); ++p) {
        for (size_t c = 0; c < 3; ++c)
            differs[p] = differs[p] || std::abs(int(a[p * 3 + c]) - int(b[p * 3 + c])) > tolerance;
    }
    return differs;
}

// The most differing pixels in any 8 x 8 block: rounding scatters along edges, a changed
// pass leaves a patch.
int densestBlock(const std::vector<bool>& differs) {
    int densest = 0;
    for (int by = 0; by < frameHeight; by += 8) {
        for (int bx = 0; bx < frameWidth; bx += 8) {
            int count = 0;
            for (int y = by; y < std::min(by + 8, frameHeight); ++y) {
                for (int x = bx; x < std::min(bx + 8, frameWidth); ++x)
                    count += differs[static_cast<size_t>(y) * frameWidth + x] ? 1 : 0;
            }
            densest = std::max(densest, count);
        }
    }
    return densest;
}

TEST_P(ReferenceFrame, MatchesTheStoredPicture) {
    const Pose& pose = GetParam();
    placeFor(level, pose);
    std::vector<unsigned char> frame = renderFrame(level);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    fs::path reference = referencePath(pose.name);
    if (std::getenv("QUILLORB_WRITE_REFERENCES")) {
        ASSERT_TRUE(savePng(reference, frame)) << reference;
        return;
    }
    std::vector<unsigned char> stored;
    ASSERT_TRUE(loadPng(reference, stored)) << "no picture " << reference;
    // Rounding in another driver build may move a channel by a step or two, and a pixel
    // on an edge may flip; a changed pass changes far more, or leaves a patch somewhere.
    const int allowed = frameWidth * frameHeight / 200;
    const int allowedInBlock = 16;
    std::vector<bool> differs = differingPixels(frame, stored, 2);
    int differing = static_cast<int>(std::count(differs.begin(), differs.end(), true));
    int densest = densestBlock(differs);
    RecordProperty("differingPixels", differing);
    RecordProperty("densestBlock", densest);
    if (differing > allowed || densest > allowedInBlock) {
        fs::path actual =
            fs::temp_directory_path() / ("quillorb-frame-" + std::string(pose.name) + ".png");
        savePng(actual, frame);
        ADD_FAILURE() << differing << " of " << frameWidth * frameHeight << " pixels differ from "
                      << reference << ", " << densest
                      << " of them in one 8 x 8 block; this frame: " << actual;
    }
}

INSTANTIATE_TEST_SUITE_P(Course, ReferenceFrame, ::testing::ValuesIn(poses()),
                         [](const ::testing::TestParamInfo<Pose>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
