#include <gtest/gtest.h>

#include <string>

#include "PrintedOutput.h"
#include "TestFiles.h"
#include "assets/AnimationModel.h"
#include "assets/MeshLoader.h"
#include "assets/ModelCoordinates.h"

namespace {

std::string position(float x, float y, float z) {
    return "<position x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\" z=\"" +
           std::to_string(z) + "\"/>";
}

std::string buffers() {
    return "<vertexbuffer>"
           "<vertex>" +
           position(0, 0, 0) +
           "</vertex>"
           "<vertex>" +
           position(1, 0, 0) +
           "</vertex>"
           "<vertex>" +
           position(0, 0, 1) +
           "</vertex>"
           "</vertexbuffer><vertexbuffer>"
           "<vertex><normal x=\"0\" y=\"1\" z=\"0\"/></vertex>"
           "<vertex><normal x=\"1\" y=\"0\" z=\"0\"/></vertex>"
           "<vertex><normal x=\"0\" y=\"0\" z=\"1\"/></vertex>"
           "</vertexbuffer><vertexbuffer>"
           "<vertex><texcoord u=\"0.1\" v=\"0.2\"/></vertex>"
           "<vertex><texcoord u=\"0.3\" v=\"0.4\"/></vertex>"
           "<vertex><texcoord u=\"0.5\" v=\"0.6\"/></vertex>"
           "</vertexbuffer>";
}

std::string keyframe(float lift) {
    return "<keyframe time=\"0\">" + position(0, lift, 0) + position(1, lift, 0) +
           position(0, lift, 1) + "</keyframe>";
}

std::string animatedFile(const std::string& geometry, const std::string& keyframes) {
    return "<mesh><sharedgeometry vertexcount=\"3\">" + geometry +
           "</sharedgeometry><submeshes><submesh><faces count=\"1\">"
           "<face v1=\"0\" v2=\"2\" v3=\"1\"/></faces></submesh></submeshes>"
           "<animations><animation name=\"loop\" length=\"2.5\"><tracks><track>"
           "<keyframes>" +
           keyframes +
           "</keyframes></track>"
           "<track><keyframes>" +
           keyframe(50) +
           "</keyframes></track></tracks></animation>"
           "<animation length=\"9\"/></animations></mesh>";
}

AnimationModel* loadText(const std::string& name, const std::string& text,
                         std::string* output = nullptr) {
    std::string path = writeScratchFile(name, text);
    capturePrinted();
    AnimationModel* model = MeshLoader().loadAnimationModel(path.c_str());
    std::string printed = takePrinted();
    if (output != nullptr)
        *output = printed;
    return model;
}

} // namespace

TEST(AnimationLoader, ReadsThreeBuffersFacesAndTheFirstTrack) {
    AnimationModel* model =
        loadText("anim.mesh.xml", animatedFile(buffers(), keyframe(1) + keyframe(2) + keyframe(3)));
    ASSERT_NE(model, nullptr);
    ModelCoordinates* mesh = model->getCoordinates();
    ASSERT_EQ(mesh->getVertexCount(), 3);
    EXPECT_EQ(mesh->getPositions()[1], glm::vec4(1, 0, 0, 1));
    EXPECT_EQ(mesh->getNormals()[1], glm::vec3(1, 0, 0));
    EXPECT_EQ(mesh->getTexCoords()[2], glm::vec2(0.5f, 0.6f));
    ASSERT_EQ(mesh->getIndexCount(), 3);
    EXPECT_EQ(mesh->getIndices()[1], 2u);
    EXPECT_FLOAT_EQ(model->getDuration(), 2.5f);
    ASSERT_EQ(model->getKeyframeCount(), 3);
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(model->getKeyframe(k)[2], glm::vec4(0, float(k + 1), 1, 1)) << "keyframe " << k;
    // Until a pair is chosen, collision sees the mesh's own positions.
    EXPECT_EQ(model->getCollisionPositions(), mesh->getPositions());
    delete model;
}

TEST(AnimationLoader, KeyframePositionListsAreBoundedByTheVertexCount) {
    std::string shortFrame = "<keyframe>" + position(5, 5, 5) + "</keyframe>";
    std::string longFrame = "<keyframe>" + position(1, 1, 1) + position(2, 2, 2) +
                            position(3, 3, 3) + position(4, 4, 4) + "</keyframe>";
    AnimationModel* model =
        loadText("bounds.mesh.xml", animatedFile(buffers(), shortFrame + longFrame));
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->getKeyframe(0)[0], glm::vec4(5, 5, 5, 1));
    EXPECT_EQ(model->getKeyframe(0)[1], glm::vec4(0, 0, 0, 0));
    EXPECT_EQ(model->getKeyframe(1)[2], glm::vec4(3, 3, 3, 1));
    delete model;
}

TEST(AnimationLoader, RejectsMissingPiecesAndEmptyAnimations) {
    std::string twoBuffers = buffers().substr(0, buffers().rfind("<vertexbuffer>"));
    std::string good = animatedFile(buffers(), keyframe(1));
    auto without = [&](const std::string& open, const std::string& close) {
        std::string text = good;
        size_t from = text.find(open);
        size_t to = text.find(close, from) + close.size();
        return text.erase(from, to - from);
    };
    struct Case {
        std::string text;
        const char* message;
    } cases[] = {
        {animatedFile(buffers(), ""), "no <keyframe>"},
        {animatedFile(buffers(), "<other/>"), "no <keyframe>"},
        {animatedFile(twoBuffers, keyframe(1)), "three <vertexbuffer>"},
        {without("<animations>", "</animations>"), "missing <animations>"},
        {without("<tracks>", "</tracks>"), "missing <tracks>"},
        {without("<keyframes>", "</keyframes>"), "missing <keyframes>"},
        {without("<submeshes>", "</submeshes>"), "missing <submeshes>"},
        {without("<normal x=\"1\"", "/>"), "missing <normal>"},
        {"<mesh><sharedgeometry vertexcount=\"3\"></mesh>", "could not be read"},
    };
    for (const Case& c : cases) {
        std::string output;
        AnimationModel* model = loadText("bad.mesh.xml", c.text, &output);
        EXPECT_EQ(model, nullptr) << c.message;
        delete model;
        EXPECT_NE(output.find(c.message), std::string::npos) << output;
        EXPECT_NE(output.find("bad.mesh.xml"), std::string::npos) << output;
    }
}
