// The level as seen from the scene camera, into whatever framebuffer is bound: the window,
// or one of the water's off-screen targets (with the camera and clip planes it chose).
#include <GL/glew.h>

#include <glm/gtc/type_ptr.hpp>

#include "assets/AnimationModel.h"
#include "assets/HierarchicalAnimationModel.h"
#include "assets/Shader.h"
#include "assets/Sphere.h"
#include "physics/Camera.h"
#include "physics/GhostTrack.h"
#include "platform/GlTarget.h"
#include "render/Frustum.h"
#include "render/ShadowLight.h"
#include "render/Skybox.h"
#include "scene/Scene.h"

namespace {

void uploadClipPlane(const Shader* shader) {
    glm::vec4 plane = shader->clipPlane();
    glUniform4fv(glGetUniformLocation(shader->program(), "clipPlane"), 1, glm::value_ptr(plane));
}

bool culledAway(const Frustum* frustum, const Model* model) {
    return frustum->testSphere(model->getBoundingCenter(),
                               static_cast<float>(model->getBoundingRadius())) == Frustum::OUTSIDE;
}

// How much of the ghost shows over what lies behind it: enough to follow, never mistaken
// for the player's own marble.
const float ghostOpacity = 0.35f;

} // namespace

// The ghost is blended by a constant instead of a shader of its own: the level's program
// lights and shadows it like the marble, and writes no depth, so whatever it passes in front
// of stays visible through it.
void Scene::drawGhost() {
    if (!ghost || ghost->empty() || !marble)
        return;
    glEnable(GL_BLEND);
    glBlendColor(0.0f, 0.0f, 0.0f, ghostOpacity);
    glBlendFunc(GL_CONSTANT_ALPHA, GL_ONE_MINUS_CONSTANT_ALPHA);
    glDepthMask(GL_FALSE);
    marble->bindTexture(0, 0);
    const glm::mat4 pose = ghost->at(race.simulationTime);
    if (vboEnabled)
        marble->drawBufferedWith(pose);
    else
        marble->drawWith(pose);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
}

void Scene::drawOpaqueModel(Model* model) {
    if (!model)
        return;
    if (frustumCullingEnabled && culledAway(frustum, model))
        return;
    model->bindTexture(0, 0);
    if (vboEnabled)
        model->drawBuffered();
    else
        model->draw();
}

void Scene::renderMainPass() {
    glm::mat4 projection = getProjectionMatrix();
    glm::mat4 view = camera->getMatrix();
    frustum->update(projection * view * worldMatrix);

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glActiveTexture(GL_TEXTURE0);
    gltarget::enableTexturing();
    skybox->draw(projection, view);

    // A level program that did not link leaves its models out; the rest of the frame still shows.
    if (mainShader->isUsable()) {
        GLuint program = mainShader->program();
        glUseProgram(program);
        glEnable(GL_CULL_FACE);
        glEnable(GL_DEPTH_TEST);
        mainShader->setLights(lightPosition, shadowlight::color, shadowlight::ambient);
        glm::mat4 projectionView = projection * view;
        glUniformMatrix4fv(glGetUniformLocation(program, "PV"), 1, GL_FALSE,
                           glm::value_ptr(projectionView));
        glUniformMatrix4fv(glGetUniformLocation(program, "T"), 1, GL_FALSE,
                           glm::value_ptr(shadowlight::textureMatrix()));
        uploadClipPlane(mainShader);
        mainShader->setInt(0, "colorTexture");
        mainShader->setInt(levelTexturesMipmapped ? 1 : 0, "levelTexturesMipmapped");
        glActiveTexture(GL_TEXTURE1);
        gltarget::enableTexturing();
        glBindTexture(GL_TEXTURE_2D, getShadowDepthTexture());
        mainShader->setInt(1, "shadowMap");

        for (int i = 0; i < plainStaticCount(); ++i)
            drawOpaqueModel(staticModels[i]);
        for (int i = 0; i < groundModelCount; ++i)
            drawOpaqueModel(groundModels[i]);
        glDisable(GL_CULL_FACE);
        for (int i = 0; i < planeModelCount; ++i)
            drawOpaqueModel(planeModels[i]);
        glEnable(GL_CULL_FACE);
        drawOpaqueModel(sawBeam);
        drawOpaqueModel(sawBlade);
        // The player's ball is never culled: losing sight of it would be worse than a wasted draw.
        if (marble) {
            marble->bindTexture(0, 0);
            if (vboEnabled)
                marble->drawBuffered();
            else
                marble->draw();
        }
        drawGhost();
        glUseProgram(0);
        glBindTexture(GL_TEXTURE_2D, 0);
    }

    if (animationShader->isUsable()) {
        glUseProgram(animationShader->program());
        glEnable(GL_CULL_FACE);
        glEnable(GL_DEPTH_TEST);
        animationShader->setLights(lightPosition, shadowlight::color, shadowlight::ambient);
        animationShader->setMatrices(projection, view, worldMatrix);
        uploadClipPlane(animationShader);
        animationShader->setInt(0, "colorTexture");
        animationShader->setInt(levelTexturesMipmapped ? 1 : 0, "levelTexturesMipmapped");
        for (int i = 0; i < animatedCount; ++i) {
            AnimationModel* model = animatedModels[i];
            if (!model || (frustumCullingEnabled && culledAway(frustum, model)))
                continue;
            model->bindTexture(0, 0);
            model->drawAnimated();
        }
        glUseProgram(0);
        glBindTexture(GL_TEXTURE_2D, 0);
    }

    renderAlphaPass();
    glUseProgram(0);
    glBindTexture(GL_TEXTURE_2D, 0);
}
