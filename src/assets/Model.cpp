#include "assets/Model.h"

#include <GL/glew.h>

#include <cstdint>

#include "assets/ModelCoordinates.h"
#include "assets/Shader.h"
#include "platform/GlTarget.h"

namespace {

// Byte offsets into the bound buffers travel through the pointer arguments of the draws.
const void* byteOffset(size_t bytes) {
    return reinterpret_cast<const void*>(uintptr_t(bytes));
}

// Client-array pointers would be taken as offsets into whatever buffer is still bound (for one,
// the pair createBuffers leaves bound), so the client draws release both targets first.
void unbindBuffers() {
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

} // namespace

Model::Model(ModelCoordinates* coordinates) : transform(1.0f), coordinates(coordinates) {}

Model::~Model() {
    delete coordinates;
    // Only names that were generated are handed back, so models without buffers need no GL.
    if (vertexBuffer != 0)
        glDeleteBuffers(1, &vertexBuffer);
    if (indexBuffer != 0)
        glDeleteBuffers(1, &indexBuffer);
}

void Model::setTransform(const glm::mat4& matrix) {
    transform = matrix;
}

glm::mat4 Model::getTransform() const {
    return transform;
}

void Model::draw() {
    drawWith(transform);
}

void Model::drawBuffered() {
    drawBufferedWith(transform);
}

void Model::setCoordinates(ModelCoordinates* replacement) {
    coordinates = replacement;
}

ModelCoordinates* Model::getCoordinates() const {
    return coordinates;
}

void Model::setBoundingRadius(double radius) {
    boundingRadius = radius;
}

double Model::getBoundingRadius() const {
    return boundingRadius;
}

glm::vec3 Model::getBoundingCenter() const {
    return glm::vec3(transform * glm::vec4(0.0f, 0.0f, 0.0f, 1.0f));
}

const Triangle* Model::getWorldTriangles() {
    if (coordinates == nullptr)
        return nullptr;
    return coordinates->getWorldTriangles(transform);
}

int Model::getTriangleCount() const {
    return coordinates == nullptr ? 0 : coordinates->getTriangleCount();
}

void Model::createBuffers() {
    if (coordinates == nullptr)
        return;
    size_t n = static_cast<size_t>(coordinates->getVertexCount());
    size_t m = static_cast<size_t>(coordinates->getIndexCount());
    // A second call refills the buffers it already has instead of leaking new names.
    if (vertexBuffer == 0)
        glGenBuffers(1, &vertexBuffer);
    if (indexBuffer == 0)
        glGenBuffers(1, &indexBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);

    // Three blocks one after the other, so each attribute is a plain tightly packed array.
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(n * 16 + n * 12 + n * 8), nullptr, GL_STATIC_DRAW);
    glBufferSubData(GL_ARRAY_BUFFER, 0, GLsizeiptr(n * 16), coordinates->getPositions());
    glBufferSubData(GL_ARRAY_BUFFER, GLintptr(n * 16), GLsizeiptr(n * 12),
                    coordinates->getNormals());
    glBufferSubData(GL_ARRAY_BUFFER, GLintptr(n * 28), GLsizeiptr(n * 8),
                    coordinates->getTexCoords());

    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(m * 4), nullptr, GL_STATIC_DRAW);
    glBufferSubData(GL_ELEMENT_ARRAY_BUFFER, 0, GLsizeiptr(m * 4), coordinates->getIndices());
}

void Model::bindTexture(int index, int unit) {
    if (index < 0 || index > 1)
        return;
    glActiveTexture(GLenum(GL_TEXTURE0 + unit));
    gltarget::enableTexturing();
    glBindTexture(GL_TEXTURE_2D, textures[index]);
}

void Model::drawWith(const glm::mat4& matrix) {
    if (coordinates == nullptr || shader == nullptr)
        return;
    unbindBuffers();
    shader->setModel(matrix);
    shader->drawLit(coordinates->getPositions(), coordinates->getNormals(),
                    coordinates->getTexCoords(), coordinates->getIndices(),
                    coordinates->getIndexCount());
}

void Model::drawBufferedWith(const glm::mat4& matrix) {
    if (coordinates == nullptr || shader == nullptr)
        return;
    size_t n = static_cast<size_t>(coordinates->getVertexCount());
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
    shader->setModel(matrix);
    shader->drawLit(byteOffset(0), byteOffset(n * 16), byteOffset(n * 28), byteOffset(0),
                    coordinates->getIndexCount());
    unbindBuffers();
}

void Model::drawUnlit() {
    if (coordinates == nullptr || shader == nullptr)
        return;
    unbindBuffers();
    shader->setModel(transform);
    shader->drawTextured(coordinates->getPositions(), coordinates->getTexCoords(),
                         coordinates->getIndices(), coordinates->getIndexCount());
}

void Model::drawUnlitBuffered() {
    if (coordinates == nullptr || shader == nullptr)
        return;
    size_t n = static_cast<size_t>(coordinates->getVertexCount());
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
    shader->setModel(transform);
    shader->drawTextured(byteOffset(0), byteOffset(n * 28), byteOffset(0),
                         coordinates->getIndexCount());
    unbindBuffers();
}
