// Trees and reeds: a colour texture cut out by an alpha map, drawn after everything opaque.
#include <GL/glew.h>

#include "assets/Model.h"
#include "assets/Shader.h"
#include "physics/Camera.h"
#include "platform/GlTarget.h"
#include "render/Frustum.h"
#include "scene/Scene.h"

namespace {
// What the alpha map must exceed for a leaf to show while the transparency is on.
constexpr float alphaCutoff = 0.1f;
} // namespace

void Scene::renderAlphaPass() {
    if (!alphaShader->isUsable())
        return;
    glm::mat4 projection = getProjectionMatrix();
    glm::mat4 view = camera->getMatrix();

    glUseProgram(alphaShader->program());
    // Leaves and reeds are single sheets seen from both sides.
    glDisable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    alphaShader->setMatrices(projection, view, worldMatrix);
    alphaShader->setInt(0, "colorTexture");
    alphaShader->setInt(1, "alphaMap");
    alphaShader->setInt(levelTexturesMipmapped ? 1 : 0, "levelTexturesMipmapped");
    if (transparencyEnabled) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_DST_ALPHA, GL_ONE_MINUS_DST_ALPHA);
        gltarget::enableAlphaTest(alphaCutoff);
    }
    glUniform1f(glGetUniformLocation(alphaShader->program(), "alphaCutoff"),
                transparencyEnabled ? alphaCutoff : -1.0f);

    if (frustumCullingEnabled)
        frustum->update(projection * view * worldMatrix);
    for (int i = 0; i < transparentModelCount; ++i) {
        Model* model = transparentModels[i];
        if (!model)
            continue;
        if (frustumCullingEnabled &&
            frustum->testSphere(model->getBoundingCenter(),
                                static_cast<float>(model->getBoundingRadius())) == Frustum::OUTSIDE)
            continue;
        model->bindTexture(0, 0);
        model->bindTexture(1, 1);
        if (vboEnabled)
            model->drawUnlitBuffered();
        else
            model->drawUnlit();
    }

    glDisable(GL_BLEND);
    gltarget::disableAlphaTest();
    gltarget::disableTexturing();
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, 0);
    gltarget::disableTexturing();
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, 0);
    gltarget::disableTexturing();
}
