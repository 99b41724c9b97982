#include "assets/AnimationModel.h"

#include <GL/glew.h>

#include <cmath>

#include "assets/ModelCoordinates.h"
#include "assets/Shader.h"

AnimationModel::AnimationModel(ModelCoordinates* coordinates, float duration, int keyframeCount,
                               glm::vec4** keyframes)
    : Model(coordinates), duration(duration), keyframeCount(keyframeCount < 0 ? 0 : keyframeCount),
      keyframes(keyframes), lastKeyframe(this->keyframeCount - 1),
      collisionPositions(coordinates != nullptr ? coordinates->getPositions() : nullptr) {}

AnimationModel::~AnimationModel() {
    if (keyframes != nullptr) {
        for (int i = 0; i < keyframeCount; ++i)
            delete[] keyframes[i];
    }
    delete[] keyframes;
}

void AnimationModel::update(float dt) {
    float step = dt / duration;
    // Written so that a step that is not a number still goes on, and then resets the phase.
    if (step < 0.0f)
        return;
    phase += step;
    if (phase < 1000000000.0f)
        phase -= std::trunc(phase);
    else
        phase = 0.0f;
}

void AnimationModel::selectKeyframes() {
    if (keyframeCount <= 0 || keyframes == nullptr)
        return;
    int k = lastKeyframe - firstKeyframe + 1;
    int i = static_cast<int>(static_cast<float>(k) * phase) + firstKeyframe;
    if (i > lastKeyframe)
        i = firstKeyframe;
    int j = i < lastKeyframe ? i + 1 : firstKeyframe;
    currentIndex = i;
    nextIndex = j;
    currentKeyframe = keyframes[i];
    nextKeyframe = keyframes[j];
    weight = (phase - static_cast<float>(i - firstKeyframe) / static_cast<float>(k)) *
             static_cast<float>(k);
    // Collision takes the stored pose nearest to the blend instead of building a new one.
    collisionPositions = weight < 0.5f ? currentKeyframe : nextKeyframe;
}

void AnimationModel::restart() {
    phase = 0.0f;
    selectKeyframes();
}

void AnimationModel::drawAnimated() {
    selectKeyframes();
    if (coordinates == nullptr || shader == nullptr || currentKeyframe == nullptr)
        return;
    // The keyframes live in client memory; a buffer left bound would capture the pointers.
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    shader->setModel(transform);
    shader->drawMorph(weight, currentKeyframe, nextKeyframe, coordinates->getNormals(),
                      coordinates->getNormals(), coordinates->getTexCoords(),
                      coordinates->getIndices(), coordinates->getIndexCount());
}

const Triangle* AnimationModel::getWorldTriangles() {
    if (coordinates == nullptr)
        return nullptr;
    return coordinates->computeWorldTriangles(transform, collisionPositions);
}
