#include "assets/MeshLoader.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <tinyxml.h>

#include "assets/AnimationModel.h"
#include "assets/Model.h"
#include "assets/ModelCoordinates.h"

namespace {

// Far beyond any mesh of the level, yet small enough that a corrupt count cannot ask for
// gigabytes before a single vertex has been read.
constexpr long long maxVertices = 1LL << 21;
constexpr long long maxFaces = 1LL << 22;
constexpr long long maxKeyframeVertices = 1LL << 24; // keyframes x vertices, all poses together

// The arrays of one mesh while it is being read; released into a ModelCoordinates at the end,
// freed automatically when the file is rejected half-way.
struct MeshArrays {
    int vertexCount = 0;
    std::unique_ptr<glm::vec4[]> positions;
    std::unique_ptr<glm::vec3[]> normals;
    std::unique_ptr<glm::vec2[]> texCoords;
    int indexCount = 0;
    std::unique_ptr<unsigned int[]> indices;

    ModelCoordinates* release() {
        return new ModelCoordinates(indexCount, positions.release(), vertexCount, normals.release(),
                                    texCoords.release(), indices.release());
    }
};

const char* shown(const char* path) {
    return path != nullptr ? path : "(no path)";
}

// The one line of ours that says which file was refused and why.
bool reject(const char* path, const std::string& reason) {
    std::cerr << "Mesh \"" << shown(path) << "\" not loaded: " << reason << std::endl;
    return false;
}

bool missing(const char* path, const char* element) {
    return reject(path, std::string("missing <") + element + "> element");
}

// "vertexcount" of sharedgeometry, checked before anything is sized by it.
bool readVertexCount(const char* path, const TiXmlElement* geometry, int& count) {
    count = 0;
    geometry->QueryIntAttribute("vertexcount", &count);
    if (count < 0)
        return reject(path, "negative vertexcount " + std::to_string(count));
    if (count > maxVertices)
        return reject(path, "vertexcount " + std::to_string(count) + " is too large");
    return true;
}

void allocateVertices(MeshArrays& mesh, int count) {
    size_t n = static_cast<size_t>(count);
    mesh.vertexCount = count;
    mesh.positions.reset(new glm::vec4[n]());
    mesh.normals.reset(new glm::vec3[n]());
    mesh.texCoords.reset(new glm::vec2[n]());
}

// First pass: the total face count, so the index array is allocated once at its final size.
bool countFaces(const char* path, const TiXmlElement* submeshes, long long& total) {
    total = 0;
    for (const TiXmlElement* submesh = submeshes->FirstChildElement("submesh"); submesh != nullptr;
         submesh = submesh->NextSiblingElement("submesh")) {
        const TiXmlElement* faces = submesh->FirstChildElement("faces");
        if (faces == nullptr)
            return missing(path, "faces");
        int count = 0;
        faces->QueryIntAttribute("count", &count);
        if (count < 0)
            return reject(path, "negative face count " + std::to_string(count));
        total += count;
        if (total > maxFaces)
            return reject(path, "too many faces");
    }
    return true;
}

// Second pass. Each submesh owns the slots of its own "count"; surplus faces are ignored and
// missing ones leave zeros, so one bad submesh cannot shift or overrun the others.
void readFaceIndices(const TiXmlElement* submeshes, unsigned int* indices) {
    size_t next = 0;
    for (const TiXmlElement* submesh = submeshes->FirstChildElement("submesh"); submesh != nullptr;
         submesh = submesh->NextSiblingElement("submesh")) {
        const TiXmlElement* faces = submesh->FirstChildElement("faces");
        int count = 0;
        faces->QueryIntAttribute("count", &count);
        size_t end = next + 3 * static_cast<size_t>(count);
        for (const TiXmlElement* face = faces->FirstChildElement("face");
             face != nullptr && next < end; face = face->NextSiblingElement()) {
            int corners[3] = {0, 0, 0};
            face->QueryIntAttribute("v1", &corners[0]);
            face->QueryIntAttribute("v2", &corners[1]);
            face->QueryIntAttribute("v3", &corners[2]);
            for (int corner : corners)
                indices[next++] = static_cast<unsigned int>(corner);
        }
        next = end;
    }
}

bool readFaces(const char* path, const TiXmlElement* submeshes, MeshArrays& mesh) {
    long long total = 0;
    if (!countFaces(path, submeshes, total))
        return false;
    mesh.indexCount = static_cast<int>(3 * total);
    mesh.indices.reset(new unsigned int[static_cast<size_t>(mesh.indexCount)]());
    readFaceIndices(submeshes, mesh.indices.get());
    // Draws and collision index the vertex arrays directly with these.
    for (int i = 0; i < mesh.indexCount; ++i) {
        if (mesh.indices[i] >= static_cast<unsigned int>(mesh.vertexCount))
            return reject(path, "index " + std::to_string(static_cast<int>(mesh.indices[i])) +
                                    " is not below vertexcount " +
                                    std::to_string(mesh.vertexCount));
    }
    return true;
}

// The root element and its sharedgeometry, or nullptr after saying which is missing.
const TiXmlElement* findGeometry(const char* path, const TiXmlDocument& doc) {
    const TiXmlElement* root = doc.RootElement();
    if (root == nullptr) {
        missing(path, "root");
        return nullptr;
    }
    const TiXmlElement* geometry = root->FirstChildElement("sharedgeometry");
    if (geometry == nullptr)
        missing(path, "sharedgeometry");
    return geometry;
}

// A static vertex: position first, then the normal after it, then the texcoord after that.
bool readStaticVertices(MeshLoader& loader, const char* path, const TiXmlElement* geometry,
                        MeshArrays& mesh) {
    const TiXmlElement* buffer = geometry->FirstChildElement("vertexbuffer");
    if (buffer == nullptr)
        return missing(path, "vertexbuffer");
    int i = 0;
    for (const TiXmlElement* vertex = buffer->FirstChildElement("vertex");
         vertex != nullptr && i < mesh.vertexCount; vertex = vertex->NextSiblingElement(), ++i) {
        const TiXmlElement* position = vertex->FirstChildElement("position");
        if (position == nullptr)
            return missing(path, "position");
        const TiXmlElement* normal = position->NextSiblingElement("normal");
        if (normal == nullptr)
            return missing(path, "normal");
        const TiXmlElement* texcoord = normal->NextSiblingElement("texcoord");
        if (texcoord == nullptr)
            return missing(path, "texcoord");
        mesh.positions[i] = loader.readPosition(position);
        mesh.normals[i] = loader.readNormal(normal);
        mesh.texCoords[i] = loader.readTexcoord(texcoord);
    }
    return true;
}

// One attribute per vertex of one buffer of an animated file, read by store(i, element).
template <typename Store>
bool readBuffer(const char* path, const TiXmlElement* buffer, const char* name, int count,
                Store store) {
    int i = 0;
    for (const TiXmlElement* vertex = buffer->FirstChildElement("vertex");
         vertex != nullptr && i < count; vertex = vertex->NextSiblingElement(), ++i) {
        const TiXmlElement* element = vertex->FirstChildElement(name);
        if (element == nullptr)
            return missing(path, name);
        store(i, element);
    }
    return true;
}

// Positions, normals and texture coordinates each come from a vertex buffer of their own.
bool readAnimatedVertices(MeshLoader& loader, const char* path, const TiXmlElement* geometry,
                          MeshArrays& mesh) {
    const TiXmlElement* first = geometry->FirstChildElement("vertexbuffer");
    const TiXmlElement* second = first ? first->NextSiblingElement("vertexbuffer") : nullptr;
    const TiXmlElement* third = second ? second->NextSiblingElement("vertexbuffer") : nullptr;
    if (third == nullptr)
        return reject(path, "fewer than three <vertexbuffer> elements");
    int n = mesh.vertexCount;
    return readBuffer(
               path, first, "position", n,
               [&](int i, const TiXmlElement* e) { mesh.positions[i] = loader.readPosition(e); }) &&
           readBuffer(
               path, second, "normal", n,
               [&](int i, const TiXmlElement* e) { mesh.normals[i] = loader.readNormal(e); }) &&
           readBuffer(path, third, "texcoord", n, [&](int i, const TiXmlElement* e) {
               mesh.texCoords[i] = loader.readTexcoord(e);
           });
}

// animations / animation ("length") / tracks / track / keyframes, each the first of its name.
const TiXmlElement* findKeyframes(const char* path, const TiXmlElement* submeshes, float& length) {
    const char* chain[] = {"animation", "tracks", "track", "keyframes"};
    const TiXmlElement* element = submeshes->NextSiblingElement("animations");
    if (element == nullptr) {
        missing(path, "animations");
        return nullptr;
    }
    for (const char* name : chain) {
        element = element->FirstChildElement(name);
        if (element == nullptr) {
            missing(path, name);
            return nullptr;
        }
        if (std::string(name) == "animation") {
            double seconds = 0.0;
            element->QueryDoubleAttribute("length", &seconds);
            length = float(seconds);
        }
    }
    return element;
}

using KeyframeList = std::vector<std::unique_ptr<glm::vec4[]>>;

bool readKeyframes(MeshLoader& loader, const char* path, const TiXmlElement* keyframes,
                   int vertexCount, KeyframeList& poses) {
    long long count = 0;
    for (const TiXmlElement* k = keyframes->FirstChildElement("keyframe"); k != nullptr;
         k = k->NextSiblingElement("keyframe"))
        ++count;
    if (count == 0)
        return reject(path, "the animation has no <keyframe> elements");
    if (count * vertexCount > maxKeyframeVertices)
        return reject(path, "the keyframes are too large");
    size_t n = static_cast<size_t>(vertexCount);
    for (const TiXmlElement* k = keyframes->FirstChildElement("keyframe"); k != nullptr;
         k = k->NextSiblingElement("keyframe")) {
        std::unique_ptr<glm::vec4[]> pose(new glm::vec4[n]());
        size_t i = 0;
        for (const TiXmlElement* p = k->FirstChildElement("position"); p != nullptr && i < n;
             p = p->NextSiblingElement("position"))
            pose[i++] = loader.readPosition(p);
        poses.push_back(std::move(pose));
    }
    return true;
}

// TinyXML parses (and frees) nested elements recursively, so a file nested deep enough
// overflows the stack. Our files need eight levels; anything past this is refused unparsed.
constexpr int maxNesting = 256;

size_t endOfStartTag(const std::string& text, size_t from) {
    char quote = 0;
    for (size_t j = from; j < text.size(); ++j) {
        char c = text[j];
        if (quote != 0) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return j;
        }
    }
    return text.size();
}

// A conservative element-depth count: comments and CDATA are skipped whole, quoted
// attribute values cannot end a tag. A file that cannot be opened passes (the parser says so).
bool nestingWithinLimit(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    int depth = 0;
    for (size_t i = text.find('<'); i != std::string::npos; i = text.find('<', i)) {
        const char* skipTo = nullptr;
        if (text.compare(i, 4, "<!--") == 0)
            skipTo = "-->";
        else if (text.compare(i, 9, "<![CDATA[") == 0)
            skipTo = "]]>";
        if (skipTo != nullptr) {
            size_t end = text.find(skipTo, i);
            if (end == std::string::npos)
                break;
            i = end + 3;
            continue;
        }
        char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (next == '/' || next == '!' || next == '?') {
            if (next == '/' && depth > 0)
                --depth;
            ++i;
            continue;
        }
        size_t end = endOfStartTag(text, i + 1);
        bool selfClosing = end < text.size() && text[end - 1] == '/';
        if (!selfClosing && ++depth > maxNesting)
            return false;
        i = end;
    }
    return true;
}

// What both loaders share: the document, the vertex count, the vertices in the file's layout
// and the faces. Returns the submeshes element, or nullptr once the reason has been printed.
const TiXmlElement* readMeshBody(MeshLoader& loader, const char* path, bool animated,
                                 TiXmlDocument& doc, MeshArrays& mesh, int& vertexCount) {
    if (!loader.loadDocument(path, doc)) {
        reject(path, "the document could not be read");
        return nullptr;
    }
    const TiXmlElement* geometry = findGeometry(path, doc);
    if (geometry == nullptr || !readVertexCount(path, geometry, vertexCount))
        return nullptr;
    allocateVertices(mesh, vertexCount);
    bool read = animated ? readAnimatedVertices(loader, path, geometry, mesh)
                         : readStaticVertices(loader, path, geometry, mesh);
    if (!read)
        return nullptr;
    const TiXmlElement* submeshes = geometry->NextSiblingElement("submeshes");
    if (submeshes == nullptr) {
        missing(path, "submeshes");
        return nullptr;
    }
    return readFaces(path, submeshes, mesh) ? submeshes : nullptr;
}

} // namespace

bool MeshLoader::loadDocument(const char* path, TiXmlDocument& doc) {
    bool tooDeep = path != nullptr && !nestingWithinLimit(path);
    if (path != nullptr && !tooDeep && doc.LoadFile(path, TIXML_DEFAULT_ENCODING))
        return true;
    std::cerr << "Could not load file. \n" << std::endl;
    std::cerr << "Error: "
              << (tooDeep ? "Elements nested more than " + std::to_string(maxNesting) + " deep"
                          : std::string(doc.ErrorDesc()))
              << std::endl;
    doc.Clear();
    return false;
}

glm::vec4 MeshLoader::readPosition(const TiXmlElement* element) {
    double x = 0.0, y = 0.0, z = 0.0;
    element->QueryDoubleAttribute("x", &x);
    element->QueryDoubleAttribute("y", &y);
    element->QueryDoubleAttribute("z", &z);
    return glm::vec4(float(x), float(y), float(z), 1.0f);
}

glm::vec3 MeshLoader::readNormal(const TiXmlElement* element) {
    double x = 0.0, y = 0.0, z = 0.0;
    element->QueryDoubleAttribute("x", &x);
    element->QueryDoubleAttribute("y", &y);
    element->QueryDoubleAttribute("z", &z);
    return glm::vec3(float(x), float(y), float(z));
}

glm::vec2 MeshLoader::readTexcoord(const TiXmlElement* element) {
    double u = 0.0, v = 0.0;
    element->QueryDoubleAttribute("u", &u);
    element->QueryDoubleAttribute("v", &v);
    return glm::vec2(float(u), float(v));
}

ModelCoordinates* MeshLoader::loadMesh(const char* path) {
    TiXmlDocument doc;
    MeshArrays mesh;
    int vertexCount = 0;
    if (readMeshBody(*this, path, false, doc, mesh, vertexCount) == nullptr)
        return nullptr;
    return mesh.release();
}

Model* MeshLoader::loadModel(const char* path) {
    ModelCoordinates* coordinates = loadMesh(path);
    return coordinates != nullptr ? new Model(coordinates) : nullptr;
}

AnimationModel* MeshLoader::loadAnimationModel(const char* path) {
    TiXmlDocument doc;
    MeshArrays mesh;
    int vertexCount = 0;
    const TiXmlElement* submeshes = readMeshBody(*this, path, true, doc, mesh, vertexCount);
    if (submeshes == nullptr)
        return nullptr;
    float length = 0.0f;
    const TiXmlElement* keyframes = findKeyframes(path, submeshes, length);
    KeyframeList poses;
    if (keyframes == nullptr || !readKeyframes(*this, path, keyframes, vertexCount, poses))
        return nullptr;

    int count = static_cast<int>(poses.size());
    glm::vec4** table = new glm::vec4*[poses.size()];
    for (size_t i = 0; i < poses.size(); ++i)
        table[i] = poses[i].release();
    return new AnimationModel(mesh.release(), length, count, table);
}
