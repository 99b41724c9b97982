#include <gtest/gtest.h>

#include <string>

#include "PrintedOutput.h"
#include "TestFiles.h"
#include "assets/MeshLoader.h"
#include "assets/Model.h"
#include "assets/ModelCoordinates.h"

namespace {

std::string vertex(float x, float y, float z, float nx, float ny, float nz, float u, float v) {
    return "<vertex><position x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) +
           "\" z=\"" + std::to_string(z) + "\"/><normal x=\"" + std::to_string(nx) + "\" y=\"" +
           std::to_string(ny) + "\" z=\"" + std::to_string(nz) + "\"/><texcoord u=\"" +
           std::to_string(u) + "\" v=\"" + std::to_string(v) + "\"/></vertex>";
}

std::string face(int a, int b, int c) {
    return "<face v1=\"" + std::to_string(a) + "\" v2=\"" + std::to_string(b) + "\" v3=\"" +
           std::to_string(c) + "\"/>";
}

std::string submesh(const std::string& faces, int count) {
    return "<submesh><faces count=\"" + std::to_string(count) + "\">" + faces +
           "</faces></submesh>";
}

std::string meshFile(int vertexCount, const std::string& vertices, const std::string& submeshes) {
    return "<mesh><sharedgeometry vertexcount=\"" + std::to_string(vertexCount) +
           "\"><vertexbuffer>" + vertices + "</vertexbuffer></sharedgeometry><submeshes>" +
           submeshes + "</submeshes></mesh>";
}

std::string threeVertices() {
    return vertex(0, 0, 0, 0, 1, 0, 0, 0) + vertex(1, 0, 0, 0, 1, 0, 1, 0) +
           vertex(0, 0, 1, 0, 1, 0, 0, 1);
}

// Loads text as a mesh file; the console output goes to *output.
ModelCoordinates* loadText(const std::string& name, const std::string& text,
                           std::string* output = nullptr) {
    std::string path = writeScratchFile(name, text);
    capturePrinted();
    ModelCoordinates* mesh = MeshLoader().loadMesh(path.c_str());
    std::string printed = takePrinted();
    if (output != nullptr)
        *output = printed;
    return mesh;
}

} // namespace

TEST(MeshLoader, TwoSubmeshesFillOneIndexListInFileOrder) {
    std::string vertices;
    for (int i = 0; i < 6; ++i)
        vertices += vertex(float(i), float(2 * i), float(-i), 0, 0, 1, 0.5f, 0.25f * i);
    std::string first = submesh(face(0, 1, 2) + face(2, 3, 4), 2);
    std::string second = submesh(face(5, 4, 3) + face(1, 0, 5) + face(3, 5, 1), 3);
    ModelCoordinates* mesh = loadText("two.mesh.xml", meshFile(6, vertices, first + second));
    ASSERT_NE(mesh, nullptr);
    const unsigned int expected[15] = {0, 1, 2, 2, 3, 4, 5, 4, 3, 1, 0, 5, 3, 5, 1};
    ASSERT_EQ(mesh->getIndexCount(), 15);
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(mesh->getIndices()[i], expected[i]) << "index " << i;
    ASSERT_EQ(mesh->getVertexCount(), 6);
    EXPECT_EQ(mesh->getPositions()[4], glm::vec4(4, 8, -4, 1));
    EXPECT_EQ(mesh->getNormals()[3], glm::vec3(0, 0, 1));
    EXPECT_EQ(mesh->getTexCoords()[2], glm::vec2(0.5f, 0.5f));
    EXPECT_EQ(mesh->getTriangleCount(), 5);
    delete mesh;
}

TEST(MeshLoader, ReadsNormalAfterPositionAndTexcoordAfterNormal) {
    // Decoys placed before the element each lookup starts from must not be picked up.
    std::string tricky = "<vertex><normal x=\"9\" y=\"9\" z=\"9\"/><texcoord u=\"9\" v=\"9\"/>"
                         "<position x=\"1\" y=\"2\" z=\"3\" w=\"7\"/><texcoord u=\"8\" v=\"8\"/>"
                         "<normal x=\"0\" y=\"1\" z=\"0\"/><texcoord u=\"0.5\" v=\"0.75\"/>"
                         "</vertex>";
    ModelCoordinates* mesh = loadText("order.mesh.xml", meshFile(1, tricky, ""));
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->getPositions()[0], glm::vec4(1, 2, 3, 1)); // w is always 1
    EXPECT_EQ(mesh->getNormals()[0], glm::vec3(0, 1, 0));
    EXPECT_EQ(mesh->getTexCoords()[0], glm::vec2(0.5f, 0.75f));
    EXPECT_EQ(mesh->getIndexCount(), 0);
    delete mesh;
}

TEST(MeshLoader, EveryElementAfterTheFirstVertexIsAVertex) {
    std::string vertices = "<ignored/>" + vertex(1, 0, 0, 0, 0, 0, 0, 0) +
                           "<other><position x=\"2\"/><normal y=\"5\"/><texcoord/></other>";
    ModelCoordinates* mesh = loadText("siblings.mesh.xml", meshFile(2, vertices, ""));
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->getPositions()[0], glm::vec4(1, 0, 0, 1));
    // Missing coordinate attributes read as 0.
    EXPECT_EQ(mesh->getPositions()[1], glm::vec4(2, 0, 0, 1));
    EXPECT_EQ(mesh->getNormals()[1], glm::vec3(0, 5, 0));
    EXPECT_EQ(mesh->getTexCoords()[1], glm::vec2(0, 0));
    delete mesh;
}

TEST(MeshLoader, CountsBoundWhatIsReadAndShortListsLeaveZeros) {
    std::string vertices = threeVertices() + vertex(7, 7, 7, 7, 7, 7, 7, 7);
    // First submesh lists a surplus face, second one face short of its count.
    std::string submeshes = submesh(face(0, 1, 2) + face(2, 2, 2), 1) + submesh(face(2, 1, 0), 2);
    ModelCoordinates* mesh = loadText("counts.mesh.xml", meshFile(3, vertices, submeshes));
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->getVertexCount(), 3);
    const unsigned int expected[9] = {0, 1, 2, 2, 1, 0, 0, 0, 0};
    ASSERT_EQ(mesh->getIndexCount(), 9);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(mesh->getIndices()[i], expected[i]) << "index " << i;
    delete mesh;

    mesh = loadText("short.mesh.xml", meshFile(5, threeVertices(), ""));
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->getPositions()[4], glm::vec4(0, 0, 0, 0));
    EXPECT_EQ(mesh->getNormals()[4], glm::vec3(0, 0, 0));
    delete mesh;
}

TEST(MeshLoader, FacesWithoutCountGiveNoFaces) {
    std::string submeshes = "<submesh><faces>" + face(0, 1, 2) + "</faces></submesh>";
    ModelCoordinates* mesh = loadText("nocount.mesh.xml", meshFile(3, threeVertices(), submeshes));
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->getIndexCount(), 0);
    delete mesh;
}

TEST(MeshLoader, UnreadableDocumentPrintsParserLinesAndNamesTheFile) {
    std::string output;
    EXPECT_EQ(loadText("broken.mesh.xml", "<mesh><sharedgeometry>", &output), nullptr);
    EXPECT_EQ(output.rfind("Could not load file. \n\nError: ", 0), 0u) << output;
    EXPECT_NE(output.find("broken.mesh.xml"), std::string::npos) << output;

    output =
        printedBy([&] { EXPECT_EQ(MeshLoader().loadMesh("models/not-there.mesh.xml"), nullptr); });
    EXPECT_EQ(output.rfind("Could not load file. \n\nError: Failed to open file\n", 0), 0u)
        << output;
    EXPECT_NE(output.find("models/not-there.mesh.xml"), std::string::npos);
}

TEST(MeshLoader, RefusesRunawayNestingBeforeParsing) {
    // Deep enough to overflow the stack of a recursive parser.
    std::string deep = "<mesh>";
    for (int i = 0; i < 200000; ++i)
        deep += "<a>";
    std::string output;
    EXPECT_EQ(loadText("deep.mesh.xml", deep, &output), nullptr);
    EXPECT_EQ(output.rfind("Could not load file. \n\nError: Elements nested more than", 0), 0u)
        << output.substr(0, 200);
    EXPECT_NE(output.find("deep.mesh.xml"), std::string::npos);

    // Comments, CDATA and quoted '>' or "/>" do not fool the depth count either way.
    std::string decorated = "<mesh><!-- <a><b><c> --><![CDATA[</x></y>]]><sharedgeometry "
                            "vertexcount=\"3\" note=\"a/>b\"><vertexbuffer>" +
                            threeVertices() + "</vertexbuffer></sharedgeometry><submeshes/></mesh>";
    ModelCoordinates* mesh = loadText("decorated.mesh.xml", decorated, &output);
    ASSERT_NE(mesh, nullptr) << output;
    EXPECT_EQ(mesh->getPositions()[1], glm::vec4(1, 0, 0, 1));
    delete mesh;
}

TEST(MeshLoader, RejectsEachMissingRequiredElementWithOneLine) {
    std::string v = threeVertices();
    std::string faces = submesh(face(0, 1, 2), 1);
    std::string noTexcoord = "<vertex><position/><normal/></vertex>";
    std::string texcoordFirst = "<vertex><position/><texcoord/><normal/></vertex>";
    struct Case {
        const char* what;
        std::string text;
    } cases[] = {
        {"root", "<?xml version=\"1.0\"?><!-- nothing else -->"},
        {"sharedgeometry", "<mesh><submeshes>" + faces + "</submeshes></mesh>"},
        {"vertexbuffer", "<mesh><sharedgeometry vertexcount=\"3\"/><submeshes/></mesh>"},
        {"position", meshFile(1, "<vertex><normal/><texcoord/></vertex>", "")},
        {"normal", meshFile(1, "<vertex><position/><texcoord/></vertex>", "")},
        {"texcoord", meshFile(1, noTexcoord, "")},
        {"texcoord", meshFile(1, texcoordFirst, "")},
        {"submeshes", "<mesh><sharedgeometry vertexcount=\"3\"><vertexbuffer>" + v +
                          "</vertexbuffer></sharedgeometry></mesh>"},
        {"submeshes", "<mesh><submeshes>" + faces + "</submeshes><sharedgeometry " +
                          "vertexcount=\"3\"><vertexbuffer>" + v + "</vertexbuffer>" +
                          "</sharedgeometry></mesh>"},
        {"faces", meshFile(3, v, faces + "<submesh/>")},
    };
    for (const Case& c : cases) {
        std::string output;
        ModelCoordinates* mesh = loadText("missing.mesh.xml", c.text, &output);
        EXPECT_EQ(mesh, nullptr) << c.what;
        delete mesh;
        EXPECT_NE(output.find(std::string("missing <") + c.what + ">"), std::string::npos)
            << output;
        EXPECT_NE(output.find("missing.mesh.xml"), std::string::npos) << output;
    }
}

TEST(MeshLoader, RejectsIndicesAndCountsThatWouldLeaveTheArrays) {
    struct Case {
        const char* name;
        std::string text;
        const char* message;
    } cases[] = {
        {"index", meshFile(3, threeVertices(), submesh(face(0, 3, 1), 1)), "not below"},
        {"negindex", meshFile(3, threeVertices(), submesh(face(0, -1, 1), 1)), "not below"},
        // Zeros left by a short face list are indices too, and there is no vertex 0.
        {"novertex", meshFile(0, "", submesh("", 1)), "not below"},
        {"negvertices", meshFile(-4, threeVertices(), ""), "negative vertexcount"},
        {"negfaces", meshFile(3, threeVertices(), submesh(face(0, 1, 2), -2)),
         "negative face count"},
        {"hugevertices", meshFile(2000000000, "", ""), "too large"},
        {"hugefaces", meshFile(3, "", submesh("", 2000000000) + submesh("", 2000000000)),
         "too many faces"},
    };
    for (const Case& c : cases) {
        std::string output;
        ModelCoordinates* mesh = loadText(std::string(c.name) + ".mesh.xml", c.text, &output);
        EXPECT_EQ(mesh, nullptr) << c.name;
        delete mesh;
        EXPECT_NE(output.find(c.message), std::string::npos) << c.name << ": " << output;
    }
}

TEST(MeshLoader, LoadModelWrapsTheMeshUnplaced) {
    std::string path =
        writeScratchFile("model.mesh.xml", meshFile(3, threeVertices(), submesh(face(0, 2, 1), 1)));
    Model* model = MeshLoader().loadModel(path.c_str());
    ASSERT_NE(model, nullptr);
    // The file's own triangle, where the file puts it.
    ASSERT_EQ(model->getTriangleCount(), 1);
    const Triangle* triangles = model->getWorldTriangles();
    ASSERT_NE(triangles, nullptr);
    EXPECT_EQ(triangles[0].c0, glm::vec3(0, 0, 0));
    EXPECT_EQ(triangles[0].c1, glm::vec3(0, 0, 1));
    EXPECT_EQ(triangles[0].c2, glm::vec3(1, 0, 0));
    delete model;

    printedBy([&] { EXPECT_EQ(MeshLoader().loadModel("models/not-there.mesh.xml"), nullptr); });
}
