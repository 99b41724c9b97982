#include "assets/HierarchicalAnimationModel.h"

#include "assets/ModelCoordinates.h"

HierarchicalAnimationModel::HierarchicalAnimationModel(ModelCoordinates* coordinates)
    : Model(coordinates), parentTransform(1.0f), localTransform(1.0f) {}

glm::mat4 HierarchicalAnimationModel::getWorldTransform() const {
    return parentTransform * transform * localTransform;
}

void HierarchicalAnimationModel::draw() {
    drawWith(getWorldTransform());
}

void HierarchicalAnimationModel::drawBuffered() {
    drawBufferedWith(getWorldTransform());
}

glm::vec3 HierarchicalAnimationModel::getBoundingCenter() const {
    return glm::vec3(getWorldTransform() * glm::vec4(0.0f, 0.0f, 0.0f, 1.0f));
}

const Triangle* HierarchicalAnimationModel::getWorldTriangles() {
    if (coordinates == nullptr)
        return nullptr;
    // The parent and local matrices change every frame, so nothing is cached.
    return coordinates->computeWorldTriangles(getWorldTransform());
}
