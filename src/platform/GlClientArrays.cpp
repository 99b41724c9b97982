#include "platform/GlClientArrays.h"

#include <algorithm>

#include "platform/GlApi.h"
#include "platform/GlTarget.h"

namespace {

#ifdef __EMSCRIPTEN__
// One stream buffer per attribute location and one for indices, refilled at every draw from
// memory. They live as long as the page's one context.
constexpr GLuint streamedLocations = 16;

GLuint streamBuffer(GLuint slot) {
    static GLuint buffers[streamedLocations + 1] = {};
    if (buffers[slot] == 0)
        glGenBuffers(1, &buffers[slot]);
    return buffers[slot];
}
#endif

bool arrayBufferBound() {
    GLint name = 0;
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &name);
    return name != 0;
}

} // namespace

GlClientArrays::GlClientArrays(const void* indices, int indexCount)
    : indices(indices), indexCount(indexCount),
      fromMemory(builtGlTarget == GlTarget::Web && !arrayBufferBound()) {
#ifdef __EMSCRIPTEN__
    if (!fromMemory || indexCount <= 0)
        return;
    // The arrays are as long as the largest index they are drawn with.
    const GLuint* first = static_cast<const GLuint*>(indices);
    vertexCount = static_cast<int>(*std::max_element(first, first + indexCount)) + 1;
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, streamBuffer(streamedLocations));
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, indexCount * 4, indices, GL_STREAM_DRAW);
    this->indices = nullptr;
#endif
}

GlClientArrays::~GlClientArrays() {
    // The caller bound no buffer: none is left bound.
    if (fromMemory) {
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    }
}

void GlClientArrays::attribute(int location, int components, const void* data) {
    if (location < 0 || location >= 32)
        return;
    const GLuint index = static_cast<GLuint>(location);
#ifdef __EMSCRIPTEN__
    if (fromMemory && index < streamedLocations) {
        glBindBuffer(GL_ARRAY_BUFFER, streamBuffer(index));
        glBufferData(GL_ARRAY_BUFFER, vertexCount * components * 4, data, GL_STREAM_DRAW);
        data = nullptr;
    }
#endif
    glEnableVertexAttribArray(index);
    glVertexAttribPointer(index, components, GL_FLOAT, GL_FALSE, 0, data);
    enabled |= 1u << index;
}

void GlClientArrays::drawTriangles() {
    glDrawElements(GL_TRIANGLES, indexCount, GL_UNSIGNED_INT, indices);
    for (GLuint index = 0; index < 32; ++index)
        if (enabled & (1u << index))
            glDisableVertexAttribArray(index);
    enabled = 0;
}
