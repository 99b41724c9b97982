#include "render/Water.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <iostream>

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include "assets/Model.h"
#include "assets/ModelCoordinates.h"
#include "assets/Shader.h"
#include "assets/TextureLoader.h"
#include "physics/Camera.h"
#include "platform/GlClientArrays.h"
#include "platform/GlTarget.h"
#include "platform/GlViewScope.h"
#include "render/ScreenBounds.h"

namespace {

// Sized formats, and for depth the type WebGL insists on: the same images on the desktop.
void allocateTarget(GLuint texture, int targetSize, GLint internalFormat, GLenum format,
                    GLenum type, GLint filter = GL_LINEAR) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, targetSize, targetSize, 0, format, type,
                 nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, gltarget::clampWrap());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, gltarget::clampWrap());
}

// A framebuffer around a colour texture and a depth attachment, left bound.
GLuint createColourTarget(GLuint colour, GLenum depthTarget, GLuint depth) {
    GLuint framebuffer = 0;
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour, 0);
    if (depthTarget == GL_RENDERBUFFER)
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
    else
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D, depth, 0);
    return framebuffer;
}

void bindSampler(Shader* shader, int unit, GLuint texture, const char* name) {
    glActiveTexture(GL_TEXTURE0 + unit);
    gltarget::enableTexturing();
    glBindTexture(GL_TEXTURE_2D, texture);
    shader->setInt(unit, name);
}

} // namespace

Water::Water(Model* waterModel, const View& view, Shader* mainShader, Shader* animationShader)
    : waterModel(waterModel), view(view), camera(view.camera), mainShader(mainShader),
      animationShader(animationShader) {
    glm::mat4 matrix = waterModel ? waterModel->getTransform() : glm::mat4(1.0f);
    waterPlane = glm::vec4(0.0f, 1.0f, 0.0f, -matrix[3][1]);
}

Water::~Water() {
    // Nothing was created on the GPU before init.
    if (!waterShader)
        return;
    delete waterShader;
    releaseImages();
    // The two maps are ours as well: generated in init, so released here.
    GLuint maps[2] = {normalMap, dudvMap};
    glDeleteTextures(2, maps);
}

void Water::releaseImages() {
    GLuint framebuffers[2] = {reflectionFramebuffer, refractionFramebuffer};
    glDeleteFramebuffers(2, framebuffers);
    glDeleteRenderbuffers(1, &reflectionDepthBuffer);
    GLuint textures[3] = {reflectionTexture, refractionTexture, depthTexture};
    glDeleteTextures(3, textures);
}

void Water::setTargetSize(int texels) {
    if (texels <= 0 || texels == targetSize)
        return;
    targetSize = texels;
    if (waterShader) {
        releaseImages();
        createImages();
    }
}

void Water::init() {
    waterShader = new Shader();
    waterShader->load("shader/water_shader.vert", "shader/water_shader.frag");
    createImages();
    GLuint maps[2];
    glGenTextures(2, maps);
    normalMap = maps[0];
    dudvMap = maps[1];
    loadTexture("texture/Water/normalmap.bmp", &normalMap, 0, false, false);
    loadTexture("texture/Water/dudvmap.bmp", &dudvMap, 0, false, false);
}

void Water::createImages() {
    GLint largestTexture = 0, largestRenderbuffer = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largestTexture);
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &largestRenderbuffer);
    targetSize = std::min(
        {targetSize, static_cast<int>(largestTexture), static_cast<int>(largestRenderbuffer)});

    GLuint textures[3];
    glGenTextures(3, textures);
    reflectionTexture = textures[0];
    refractionTexture = textures[1];
    depthTexture = textures[2];
    allocateTarget(reflectionTexture, targetSize, GL_RGB8, GL_RGB, GL_UNSIGNED_BYTE);
    allocateTarget(refractionTexture, targetSize, GL_RGB8, GL_RGB, GL_UNSIGNED_BYTE);
    allocateTarget(depthTexture, targetSize, GL_DEPTH_COMPONENT24, GL_DEPTH_COMPONENT,
                   GL_UNSIGNED_INT, gltarget::depthImageFilter());
    glGenRenderbuffers(1, &reflectionDepthBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, reflectionDepthBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, targetSize, targetSize);

    reflectionFramebuffer =
        createColourTarget(reflectionTexture, GL_RENDERBUFFER, reflectionDepthBuffer);
    bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    // The refraction's depth is the depth below the surface the shader needs: one render
    // gives both.
    refractionFramebuffer = createColourTarget(refractionTexture, GL_TEXTURE_2D, depthTexture);
    complete = complete && glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    if (!complete)
        std::cerr << "GL: Error while binding the texture to fbo" << std::endl;
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

Water::ImageRegion Water::regionInImages() const {
    const ModelCoordinates* coordinates = waterModel ? waterModel->getCoordinates() : nullptr;
    if (!coordinates)
        return ImageRegion();
    glm::mat4 clip = *view.projection * camera->getMatrix() * waterModel->getTransform();
    ScreenBounds bounds =
        screenBoundsOf(coordinates->getPositions(), coordinates->getVertexCount(),
                       coordinates->getIndices(), coordinates->getIndexCount(), clip);
    if (bounds.isEmpty())
        return ImageRegion();
    // The images span the window's view; the shader reads them up to the waves' distortion
    // away from a pixel's place, a texel further for the shoreline's neighbours, and one
    // more for the filtering.
    const float size = static_cast<float>(targetSize);
    const float reach = std::ceil(waveDistortion * size) + 3.0f;
    auto texel = [size](float ndc, float outward) {
        float t = (ndc * 0.5f + 0.5f) * size + outward;
        return static_cast<int>(
            std::clamp(outward < 0.0f ? std::floor(t) : std::ceil(t), 0.0f, size));
    };
    int x0 = texel(bounds.low.x, -reach), x1 = texel(bounds.high.x, reach);
    int y0 = texel(bounds.low.y, -reach), y1 = texel(bounds.high.y, reach);
    return ImageRegion{x0, y0, x1 - x0, y1 - y0};
}

void Water::renderTextures() {
    imageRegion = regionInImages();
    // Out of view the surface draws nothing, so nothing will look at its images.
    if (imageRegion.isEmpty())
        return;
    float h = -waterPlane.w;
    // The scene may draw into a picture of its own rather than the window: back to that.
    GLint sceneFramebuffer = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &sceneFramebuffer);
    const GLuint returnTo = static_cast<GLuint>(sceneFramebuffer);
    GlViewScope keepView;
    const GLenum colourOnly = GL_COLOR_ATTACHMENT0;
    glEnable(GL_SCISSOR_TEST);
    glScissor(imageRegion.x, imageRegion.y, imageRegion.width, imageRegion.height);

    // Reflection: the scene above the surface, mirrored in it.
    glBindFramebuffer(GL_FRAMEBUFFER, reflectionFramebuffer);
    glViewport(0, 0, targetSize, targetSize);
    glDrawBuffers(1, &colourOnly);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const glm::mat4 eyeView = camera->getMatrix();
    glm::mat4 mirror = glm::scale(glm::mat4(1.0f), glm::vec3(1.0f, -1.0f, 1.0f)) *
                       glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, -2.0f * h, 0.0f));
    camera->setMatrix(eyeView * mirror);
    mainShader->setClipPlane(waterPlane);
    animationShader->setClipPlane(waterPlane);
    gltarget::enableClipPlane();
    glCullFace(GL_FRONT); // the mirror turns every triangle's winding around
    view.drawLevel();
    glBindFramebuffer(GL_FRAMEBUFFER, returnTo);
    glCullFace(GL_BACK);
    gltarget::disableClipPlane();
    // The camera's own matrix goes back, not the mirror applied twice: that rounds to a
    // view a hair away from the player's, and at the start of the race that hair puts a
    // path wall seen exactly edge-on into the window, whose texture footprint the software
    // rasteriser's anisotropic filter then walks texel by texel for many seconds.
    camera->setMatrix(eyeView);

    // Refraction: what lies at or below the surface, its colour and its depth.
    glm::vec4 below = waterPlane * glm::vec4(1.0f, -1.0f, 1.0f, -1.0f);
    glBindFramebuffer(GL_FRAMEBUFFER, refractionFramebuffer);
    glDrawBuffers(1, &colourOnly);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    mainShader->setClipPlane(below);
    animationShader->setClipPlane(below);
    gltarget::enableClipPlane();
    view.drawLevel();
    glBindFramebuffer(GL_FRAMEBUFFER, returnTo);
    gltarget::disableClipPlane();
    // Where the programs clip for themselves, the plane (0, 0, 0, 0) clips nothing.
    mainShader->setClipPlane(glm::vec4(0.0f));
    animationShader->setClipPlane(glm::vec4(0.0f));
}

void Water::draw(double frameTime) {
    const ModelCoordinates* coordinates = waterModel ? waterModel->getCoordinates() : nullptr;
    if (!coordinates || !waterShader || !waterShader->isUsable())
        return;
    GLuint program = waterShader->program();
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glUseProgram(program);

    glm::vec3 eye = camera->getPosition();
    glm::vec3 light = view.lightPosition;
    glUniform3fv(glGetUniformLocation(program, "viewpos"), 1, glm::value_ptr(eye));
    glUniform3fv(glGetUniformLocation(program, "lightpos"), 1, glm::value_ptr(light));
    glUniform1f(glGetUniformLocation(program, "time"), wavePhase);
    glUniform1f(glGetUniformLocation(program, "time2"), -wavePhase);
    wavePhase += static_cast<float>(frameTime * 0.2);

    glm::mat4 model = waterModel->getTransform();
    glm::mat4 eyeView = camera->getMatrix();
    glm::mat4 perspective = *view.projection;
    glUniformMatrix4fv(glGetUniformLocation(program, "model"), 1, GL_FALSE, glm::value_ptr(model));
    glUniformMatrix4fv(glGetUniformLocation(program, "view"), 1, GL_FALSE, glm::value_ptr(eyeView));
    glUniformMatrix4fv(glGetUniformLocation(program, "perspective"), 1, GL_FALSE,
                       glm::value_ptr(perspective));

    // The surface is drawn from client memory whatever the buffer option says.
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    GlClientArrays arrays(coordinates->getIndices(), coordinates->getIndexCount());
    arrays.attribute(glGetAttribLocation(program, "vertex"), 4, coordinates->getPositions());
    arrays.attribute(glGetAttribLocation(program, "texCoordReflection"), 2,
                     coordinates->getTexCoords());

    bindSampler(waterShader, 0, reflectionTexture, "water_reflection");
    bindSampler(waterShader, 1, refractionTexture, "water_refraction");
    bindSampler(waterShader, 2, normalMap, "water_normalmap");
    bindSampler(waterShader, 3, dudvMap, "water_dudvmap");
    bindSampler(waterShader, 4, depthTexture, "water_depthmap");
    glUniform4f(glGetUniformLocation(program, "waterColor"), 1.0f, 1.0f, 1.0f, 1.0f);
    glUniform1f(glGetUniformLocation(program, "distortion"), waveDistortion);

    arrays.drawTriangles();
    for (int unit = 0; unit < 5; ++unit) {
        glActiveTexture(GL_TEXTURE0 + unit);
        gltarget::disableTexturing();
    }
    glUseProgram(0);
}
