#include "platform/GlSampledColour.h"

#include "platform/GlApi.h"

#ifndef __EMSCRIPTEN__

namespace {

const char* const resolveVertex = R"(#version 150
void main() {
    vec2 corner = vec2(gl_VertexID == 1 ? 3.0 : -1.0, gl_VertexID == 2 ? 3.0 : -1.0);
    gl_Position = vec4(corner, 0.0, 1.0);
}
)";
const char* const resolveFragment = R"(#version 150
uniform sampler2DMS picture;
out vec4 colour;
void main() {
    colour = texelFetch(picture, ivec2(gl_FragCoord.xy), 0);
}
)";

GLuint compile(GLenum stage, const char* source) {
    GLuint shader = glCreateShader(stage);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    return shader;
}

GLuint linkResolveProgram() {
    GLuint program = glCreateProgram();
    GLuint vertex = compile(GL_VERTEX_SHADER, resolveVertex);
    GLuint fragment = compile(GL_FRAGMENT_SHADER, resolveFragment);
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glBindFragDataLocation(program, 0, "colour");
    glLinkProgram(program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE) {
        glDeleteProgram(program);
        return 0;
    }
    return program;
}

} // namespace

GlSampledColour::~GlSampledColour() {
    release();
    if (program)
        glDeleteProgram(program);
}

bool GlSampledColour::create(int samples, int width, int height) {
    if (!program)
        program = linkResolveProgram();
    glGenTextures(1, &image);
    glBindTexture(GL_TEXTURE_2D_MULTISAMPLE, image);
    glTexImage2DMultisample(GL_TEXTURE_2D_MULTISAMPLE, samples, GL_RGB8, width, height, GL_TRUE);
    glBindTexture(GL_TEXTURE_2D_MULTISAMPLE, 0);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D_MULTISAMPLE, image,
                           0);
    return program != 0;
}

void GlSampledColour::release() {
    if (image)
        glDeleteTextures(1, &image);
    image = 0;
}

void GlSampledColour::resolve(unsigned int, unsigned int to, int width, int height) const {
    GLint activeUnit = GL_TEXTURE0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &activeUnit);
    glPushAttrib(GL_ENABLE_BIT | GL_POLYGON_BIT | GL_VIEWPORT_BIT | GL_DEPTH_BUFFER_BIT |
                 GL_COLOR_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glBindFramebuffer(GL_FRAMEBUFFER, to);
    glViewport(0, 0, width, height);
    glUseProgram(program);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D_MULTISAMPLE, image);
    glUniform1i(glGetUniformLocation(program, "picture"), 0);
    glDrawArrays(GL_TRIANGLES, 0, 3);
    glBindTexture(GL_TEXTURE_2D_MULTISAMPLE, 0);
    glUseProgram(0);
    glActiveTexture(static_cast<GLenum>(activeUnit));
    glPopAttrib();
}

#else

GlSampledColour::~GlSampledColour() {
    release();
}

bool GlSampledColour::create(int samples, int width, int height) {
    glGenRenderbuffers(1, &image);
    glBindRenderbuffer(GL_RENDERBUFFER, image);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_RGB8, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, image);
    return true;
}

void GlSampledColour::release() {
    if (image)
        glDeleteRenderbuffers(1, &image);
    image = 0;
}

void GlSampledColour::resolve(unsigned int from, unsigned int to, int width, int height) const {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, from);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, to);
    glBlitFramebuffer(0, 0, width, height, 0, 0, width, height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
}

#endif
