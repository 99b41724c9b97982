#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "assets/AnimationModel.h"
#include "assets/ModelCoordinates.h"

namespace {

// An animated model whose keyframe k holds the single position (k, 0, 0).
AnimationModel* makeAnimation(int keyframeCount, float duration = 1.0f) {
    ModelCoordinates* mesh = new ModelCoordinates(0, new glm::vec4[1](), 1, new glm::vec3[1](),
                                                  new glm::vec2[1](), new unsigned int[0]);
    glm::vec4** poses = new glm::vec4*[keyframeCount];
    for (int k = 0; k < keyframeCount; ++k)
        poses[k] = new glm::vec4[1]{glm::vec4(float(k), 0, 0, 1)};
    return new AnimationModel(mesh, duration, keyframeCount, poses);
}

} // namespace

TEST(AnimationModel, PicksTheNeighbouringPairAndTheNearerOneForCollision) {
    AnimationModel* stop = makeAnimation(4);
    stop->update(0.6f);
    stop->selectKeyframes();
    EXPECT_EQ(stop->getCurrentKeyframeIndex(), 2);
    EXPECT_EQ(stop->getNextKeyframeIndex(), 3);
    EXPECT_NEAR(stop->getWeight(), 0.4f, 1e-5f);
    EXPECT_EQ(stop->getCollisionPositions(), stop->getKeyframe(2));

    stop->update(0.3f); // phase 0.9: the last keyframe blends back into the first
    stop->selectKeyframes();
    EXPECT_NEAR(stop->getPhase(), 0.9f, 1e-5f);
    EXPECT_EQ(stop->getCurrentKeyframeIndex(), 3);
    EXPECT_EQ(stop->getNextKeyframeIndex(), 0);
    EXPECT_NEAR(stop->getWeight(), 0.6f, 1e-5f);
    EXPECT_EQ(stop->getCollisionPositions(), stop->getKeyframe(0));
    delete stop;
}

TEST(AnimationModel, SelectionChangesOnlyWhenAsked) {
    AnimationModel* stop = makeAnimation(4);
    stop->update(0.6f);
    EXPECT_EQ(stop->getCollisionPositions(), stop->getCoordinates()->getPositions());
    EXPECT_EQ(stop->getWeight(), 0.0f);
    stop->drawAnimated(); // no shader: selects, draws nothing
    EXPECT_EQ(stop->getCurrentKeyframeIndex(), 2);
    delete stop;
}

TEST(AnimationModel, SingleKeyframePairsWithItselfAndWeightRunsOverTheLoop) {
    AnimationModel* stop = makeAnimation(1, 2.0f);
    for (float expected : {0.25f, 0.5f, 0.75f}) {
        stop->update(0.5f);
        stop->selectKeyframes();
        EXPECT_EQ(stop->getCurrentKeyframeIndex(), 0);
        EXPECT_EQ(stop->getNextKeyframeIndex(), 0);
        EXPECT_NEAR(stop->getWeight(), expected, 1e-6f);
    }
    EXPECT_EQ(stop->getCollisionPositions(), stop->getKeyframe(0));
    delete stop;
}

TEST(AnimationModel, UpdateWrapsIgnoresNegativeStepsAndResetsRunaways) {
    AnimationModel* stop = makeAnimation(4, 2.0f);
    stop->update(0.5f);
    EXPECT_FLOAT_EQ(stop->getPhase(), 0.25f);
    stop->update(-1.0f);
    EXPECT_FLOAT_EQ(stop->getPhase(), 0.25f);
    stop->update(2.0f); // one whole loop
    EXPECT_FLOAT_EQ(stop->getPhase(), 0.25f);
    stop->update(3.5f);
    EXPECT_FLOAT_EQ(stop->getPhase(), 0.0f);
    stop->update(0.5f);
    stop->update(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(stop->getPhase(), 0.0f);
    stop->update(0.5f);
    stop->update(2e9f);
    EXPECT_EQ(stop->getPhase(), 0.0f);
    stop->update(std::numeric_limits<float>::infinity());
    EXPECT_EQ(stop->getPhase(), 0.0f);
    delete stop;

    AnimationModel* frozen = makeAnimation(2, 0.0f);
    for (float dt : {0.0f, 0.016f, 1.0f}) {
        frozen->update(dt);
        EXPECT_EQ(frozen->getPhase(), 0.0f) << dt;
    }
    delete frozen;
}

TEST(AnimationModel, PhaseStaysInsideTheLoopSoTheIndexStaysInRange) {
    AnimationModel* stop = makeAnimation(3, 0.7f);
    for (int frame = 0; frame < 2000; ++frame) {
        stop->update(0.0137f * float(frame % 7));
        ASSERT_GE(stop->getPhase(), 0.0f);
        ASSERT_LT(stop->getPhase(), 1.0f);
        stop->selectKeyframes();
        ASSERT_GE(stop->getCurrentKeyframeIndex(), 0);
        ASSERT_LT(stop->getCurrentKeyframeIndex(), 3);
        ASSERT_GE(stop->getWeight(), 0.0f);
        ASSERT_LE(stop->getWeight(), 1.0f);
    }
    delete stop;
}
