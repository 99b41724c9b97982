// The shadow map: the scene's depth as seen from the fixed light, brought up to date every
// frame before anything else is drawn. The casters that never move in play are drawn only
// when one of them did move; the marble, the saw and the stop barrier every frame.
#include <GL/glew.h>

#include <vector>

#include <glm/gtc/type_ptr.hpp>

#include "assets/AnimationModel.h"
#include "assets/HierarchicalAnimationModel.h"
#include "assets/ModelCoordinates.h"
#include "assets/Shader.h"
#include "assets/Sphere.h"
#include "platform/GlClientArrays.h"
#include "platform/GlTarget.h"
#include "platform/GlViewScope.h"
#include "render/ShadowLight.h"
#include "render/ShadowMap.h"
#include "scene/Scene.h"

void Scene::createShadowFramebuffer() {
    // The cache of the still casters doubles the map's memory (256 MB at 8192); it pays where
    // redrawing them costs tens of milliseconds a frame, not at the smaller sizes, where the
    // whole redraw costs a few.
    shadowMap = new ShadowMap(shadowMapSize, shadowMapSize > 4096);
    shadowMap->create();
    shadowMapSize = shadowMap->getSize(); // the driver may allow less than was asked for
}

unsigned int Scene::getShadowDepthTexture() const {
    return shadowMap ? shadowMap->getTexture() : 0;
}

unsigned int Scene::getShadowFramebuffer() const {
    return shadowMap ? shadowMap->getFramebuffer() : 0;
}

namespace {

// One depth-only draw from client memory with the model's own matrix.
void drawDepth(const Model* model, const glm::mat4& matrix, GLint modelLocation,
               GLint vertexLocation) {
    const ModelCoordinates* coordinates = model ? model->getCoordinates() : nullptr;
    if (!coordinates)
        return;
    glUniformMatrix4fv(modelLocation, 1, GL_FALSE, glm::value_ptr(matrix));
    GlClientArrays arrays(coordinates->getIndices(), coordinates->getIndexCount());
    arrays.attribute(vertexLocation, 4, coordinates->getPositions());
    arrays.drawTriangles();
}

void drawDepthList(Model* const* models, int count, GLint modelLocation, GLint vertexLocation) {
    for (int i = 0; i < count; ++i) {
        if (models[i])
            drawDepth(models[i], models[i]->getTransform(), modelLocation, vertexLocation);
    }
}

void addPlacements(std::vector<ShadowMap::Placement>& placements, Model* const* models, int count) {
    for (int i = 0; i < count; ++i) {
        if (models[i])
            placements.push_back({models[i], models[i]->getTransform()});
    }
}

// A moving caster drawn with the shadow shader, and the region of the map it covers.
void drawMovingDepth(ShadowMap* map, const Model* model, const glm::mat4& matrix,
                     GLint modelLocation, GLint vertexLocation) {
    const ModelCoordinates* coordinates = model ? model->getCoordinates() : nullptr;
    if (!coordinates)
        return;
    map->noteMovingCaster(coordinates->getPositions(), coordinates->getVertexCount(),
                          coordinates->getIndices(), coordinates->getIndexCount(), matrix);
    drawDepth(model, matrix, modelLocation, vertexLocation);
}

} // namespace

// Everything that casts a shadow but never moves in play: the plain static models, the
// ground, the planes and the plants. Their placements decide whether the cache still holds.
bool Scene::stillShadowCastersNeedDrawing(int polygonMode) {
    std::vector<ShadowMap::Placement> placements;
    addPlacements(placements, staticModels, plainStaticCount());
    addPlacements(placements, groundModels, groundModelCount);
    addPlacements(placements, planeModels, planeModelCount);
    addPlacements(placements, transparentModels, transparentModelCount);
    return shadowMap->needsStillCasters(placements, polygonMode);
}

unsigned int Scene::renderShadowPass() {
    // Without its programs the map keeps the far depth it was cleared to: no shadows at all.
    if (!shadowShader->isUsable() || !animationShader->isUsable())
        return getShadowDepthTexture();
    GlViewScope keepView;
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
    // The positions are client memory; a buffer left bound by the loading would capture them.
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);

    // The wireframe option draws the map in lines as well.
    if (stillShadowCastersNeedDrawing(gltarget::polygonMode())) {
        drawDepthList(staticModels, plainStaticCount(), modelLocation, vertexLocation);
        drawDepthList(groundModels, groundModelCount, modelLocation, vertexLocation);
        drawDepthList(planeModels, planeModelCount, modelLocation, vertexLocation);
        drawDepthList(transparentModels, transparentModelCount, modelLocation, vertexLocation);
        shadowMap->keepStillCasters();
    }

    shadowMap->beginMovingCasters();
    drawMovingDepth(shadowMap, marble, marble ? marble->getTransform() : glm::mat4(1.0f),
                    modelLocation, vertexLocation);
    if (sawBeam)
        drawMovingDepth(shadowMap, sawBeam, sawBeam->getWorldTransform(), modelLocation,
                        vertexLocation);
    if (sawBlade)
        drawMovingDepth(shadowMap, sawBlade, sawBlade->getWorldTransform(), modelLocation,
                        vertexLocation);

    glUseProgram(0);
    glBindTexture(GL_TEXTURE_2D, 0);

    glUseProgram(animationShader->program());
    animationShader->setMatrices(shadowlight::projection(), shadowlight::view(), worldMatrix);
    for (int i = 0; i < animatedCount; ++i) {
        AnimationModel* model = animatedModels[i];
        if (!model)
            continue;
        model->bindTexture(0, 0);
        model->drawAnimated();
        // The morph lies between the two keyframes it blends.
        const ModelCoordinates* coordinates = model->getCoordinates();
        if (coordinates && model->getKeyframeCount() > 0) {
            for (int keyframe : {model->getCurrentKeyframeIndex(), model->getNextKeyframeIndex()})
                shadowMap->noteMovingCaster(
                    model->getKeyframe(keyframe), coordinates->getVertexCount(),
                    coordinates->getIndices(), coordinates->getIndexCount(), model->getTransform());
        }
    }

    glUseProgram(0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_POLYGON_OFFSET_FILL);
    glCullFace(GL_BACK);

    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glUseProgram(0);
    return getShadowDepthTexture();
}
