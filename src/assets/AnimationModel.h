#pragma once

#include "assets/Model.h"

// A looping morph animation: whole position sets (keyframes) equally spaced over the loop,
// two neighbours blended on the GPU by a weight; collision uses the nearer of the two.
class AnimationModel : public Model {
  public:
    // Takes ownership of the keyframe table and each of its arrays.
    AnimationModel(ModelCoordinates* coordinates, float duration, int keyframeCount,
                   glm::vec4** keyframes);
    ~AnimationModel() override;

    void update(float dt);
    // Picks the keyframe pair, the weight and the collision set from the phase. The draw
    // calls it; a simulation without drawing calls it directly each frame.
    void selectKeyframes();
    // Back to the first pose, as when the level was loaded.
    void restart();
    void drawAnimated();
    const Triangle* getWorldTriangles() override;

    float getPhase() const { return phase; }
    float getWeight() const { return weight; }
    float getDuration() const { return duration; }
    int getKeyframeCount() const { return keyframeCount; }
    int getCurrentKeyframeIndex() const { return currentIndex; }
    int getNextKeyframeIndex() const { return nextIndex; }
    const glm::vec4* getKeyframe(int index) const { return keyframes[index]; }
    const glm::vec4* getCollisionPositions() const { return collisionPositions; }

  private:
    float duration;
    int keyframeCount;
    glm::vec4** keyframes;
    int firstKeyframe = 0;
    int lastKeyframe;
    float weight = 0.0f;
    const glm::vec4* currentKeyframe = nullptr;
    const glm::vec4* nextKeyframe = nullptr;
    const glm::vec4* collisionPositions;
    float phase = 0.0f;
    int currentIndex = 0;
    int nextIndex = 0;
};
