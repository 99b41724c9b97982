#pragma once

#include <glm/glm.hpp>

#include "assets/Triangle.h"

class ModelCoordinates;
class Shader;

// A placed, drawable, collidable mesh: one transform, one shader, up to two textures
// (colour and alpha map), a bounding sphere for culling and proximity, and GL buffers.
// Owns its mesh data and buffers, not its shader or textures.
class Model {
  public:
    explicit Model(ModelCoordinates* coordinates);
    virtual ~Model();
    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;

    virtual void setTransform(const glm::mat4& matrix);
    virtual glm::mat4 getTransform() const;
    virtual void draw();
    virtual void drawBuffered();
    // Replaces the pointer only: the old record is not freed.
    virtual void setCoordinates(ModelCoordinates* replacement);
    virtual ModelCoordinates* getCoordinates() const;
    virtual void setBoundingRadius(double radius);
    virtual double getBoundingRadius() const;
    virtual glm::vec3 getBoundingCenter() const;
    // World-space triangles, getTriangleCount() of them; a plain model caches them on first use.
    virtual const Triangle* getWorldTriangles();

    // indexCount / 3 of the mesh, 0 without one.
    int getTriangleCount() const;

    void createBuffers();
    void bindTexture(int index, int unit);
    void drawUnlit();
    void drawUnlitBuffered();

    void setTexture(unsigned int name) { textures[0] = name; }
    void setTextures(unsigned int color, unsigned int alphaMap) {
        textures[0] = color;
        textures[1] = alphaMap;
    }
    unsigned int getTexture() const { return textures[0]; }
    unsigned int getAlphaMap() const { return textures[1]; }
    void setShader(Shader* program) { shader = program; }
    Shader* getShader() const { return shader; }
    unsigned int getVertexBuffer() const { return vertexBuffer; }
    unsigned int getIndexBuffer() const { return indexBuffer; }

    // The mesh placed by another matrix than its own: a subclass's pose, or a copy of the
    // model somewhere else (the ghost of a marble).
    void drawWith(const glm::mat4& matrix);
    void drawBufferedWith(const glm::mat4& matrix);

  protected:
    glm::mat4 transform;
    ModelCoordinates* coordinates;
    unsigned int textures[2] = {0, 0};
    Shader* shader = nullptr;
    double boundingRadius = 0.0;
    unsigned int vertexBuffer = 0;
    unsigned int indexBuffer = 0;
};
