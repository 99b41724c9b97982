#pragma once

#include <glm/glm.hpp>

class TiXmlDocument;
class TiXmlElement;
class ModelCoordinates;
class Model;
class AnimationModel;

// Reads the XML mesh files (static and animated). Stateless. A file that cannot be read
// or lacks what it needs gives nullptr and a console line naming the file and the fault.
class MeshLoader {
  public:
    // Parses the file into doc; on failure prints the two parser lines and leaves doc empty.
    bool loadDocument(const char* path, TiXmlDocument& doc);
    glm::vec4 readPosition(const TiXmlElement* element);
    glm::vec3 readNormal(const TiXmlElement* element);
    glm::vec2 readTexcoord(const TiXmlElement* element);

    ModelCoordinates* loadMesh(const char* path);
    Model* loadModel(const char* path);
    AnimationModel* loadAnimationModel(const char* path);
};
