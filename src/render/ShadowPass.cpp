// The shadow map: the scene's depth as seen from the fixed light, rebuilt every frame
// before anything else is drawn.
#include <GL/glew.h>

#include <iostream>

#include <glm/gtc/type_ptr.hpp>

#include "assets/AnimationModel.h"
#include "assets/HierarchicalAnimationModel.h"
#include "assets/ModelCoordinates.h"
#include "assets/Sphere.h"
#include "render/Shader.h"
#include "render/ShadowLight.h"
#include "scene/Scene.h"

void Scene::createShadowFramebuffer() {
    glGenFramebuffers(1, &shadowFramebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, shadowFramebuffer);

    glGenTextures(1, &shadowDepthTexture);
    glBindTexture(GL_TEXTURE_2D, shadowDepthTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT24, shadowlight::mapSize, shadowlight::mapSize,
                 0, GL_DEPTH_COMPONENT, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, GL_COMPARE_R_TO_TEXTURE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_FUNC, GL_LEQUAL);

    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D, shadowDepthTexture,
                           0);
    glDrawBuffer(GL_NONE);
    glReadBuffer(GL_NONE);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        std::cout << "GL: Error while binding the texture to fbo" << std::endl;
    // The far depth everywhere: a map that is never drawn shadows nothing.
    glClear(GL_DEPTH_BUFFER_BIT);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

namespace {

// One depth-only draw from client memory with the model's own matrix.
void drawDepth(const Model* model, const glm::mat4& matrix, GLint modelLocation,
               GLint vertexLocation) {
    const ModelCoordinates* coordinates = model ? model->getCoordinates() : nullptr;
    if (!coordinates)
        return;
    glUniformMatrix4fv(modelLocation, 1, GL_FALSE, glm::value_ptr(matrix));
    glVertexAttribPointer(static_cast<GLuint>(vertexLocation), 4, GL_FLOAT, GL_FALSE, 0,
                          coordinates->getPositions());
    glDrawElements(GL_TRIANGLES, coordinates->getIndexCount(), GL_UNSIGNED_INT,
                   coordinates->getIndices());
}

void drawDepthList(Model* const* models, int count, GLint modelLocation, GLint vertexLocation) {
    for (int i = 0; i < count; ++i) {
        if (models[i])
            drawDepth(models[i], models[i]->getTransform(), modelLocation, vertexLocation);
    }
}

} // namespace

unsigned int Scene::renderShadowPass() {
    // Without its programs the map keeps the far depth it was cleared to: no shadows at all.
    if (!shadowShader->isUsable() || !animationShader->isUsable())
        return shadowDepthTexture;
    glPushAttrib(GL_VIEWPORT_BIT);
    glBindFramebuffer(GL_FRAMEBUFFER, shadowFramebuffer);
    glViewport(0, 0, shadowlight::mapSize, shadowlight::mapSize);
    glDrawBuffer(GL_NONE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    // Only back faces (seen from the light) reach the map, which keeps lit surfaces free
    // of self-shadowing.
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_FRONT);
    glEnable(GL_DEPTH_TEST);

    glUseProgram(shadowShader->program());
    shadowShader->setMatrices(shadowlight::projection(), shadowlight::view(), worldMatrix);
    GLint modelLocation = glGetUniformLocation(shadowShader->program(), "model");
    GLint vertexLocation = glGetAttribLocation(shadowShader->program(), "vertex");
    glEnableVertexAttribArray(static_cast<GLuint>(vertexLocation));
    // The positions are client memory; a buffer left bound by the loading would capture them.
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);

    drawDepthList(staticModels, plainStaticCount(), modelLocation, vertexLocation);
    drawDepthList(groundModels, groundModelCount, modelLocation, vertexLocation);
    drawDepthList(planeModels, planeModelCount, modelLocation, vertexLocation);
    drawDepthList(transparentModels, transparentModelCount, modelLocation, vertexLocation);
    if (marble)
        drawDepth(marble, marble->getTransform(), modelLocation, vertexLocation);
    if (sawBeam)
        drawDepth(sawBeam, sawBeam->getWorldTransform(), modelLocation, vertexLocation);
    if (sawBlade)
        drawDepth(sawBlade, sawBlade->getWorldTransform(), modelLocation, vertexLocation);

    glDisableVertexAttribArray(static_cast<GLuint>(vertexLocation));
    glUseProgram(0);
    glBindTexture(GL_TEXTURE_2D, 0);

    glUseProgram(animationShader->program());
    animationShader->setMatrices(shadowlight::projection(), shadowlight::view(), worldMatrix);
    for (int i = 0; i < animatedCount; ++i) {
        if (!animatedModels[i])
            continue;
        animatedModels[i]->bindTexture(0, 0);
        animatedModels[i]->drawAnimated();
    }

    glUseProgram(0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_POLYGON_OFFSET_FILL);
    glCullFace(GL_BACK);

    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glPopAttrib();
    glUseProgram(0);
    return shadowDepthTexture;
}
