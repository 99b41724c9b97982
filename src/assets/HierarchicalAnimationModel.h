#pragma once

#include "assets/Model.h"

// A model placed between a parent transform and a local one that its owner replaces every
// frame: world = parent x placement x local (the saw moves up and down, its blade spins).
class HierarchicalAnimationModel : public Model {
  public:
    explicit HierarchicalAnimationModel(ModelCoordinates* coordinates);
    ~HierarchicalAnimationModel() override = default;

    glm::mat4 getParentTransform() const { return parentTransform; }
    void setParentTransform(const glm::mat4& matrix) { parentTransform = matrix; }
    glm::mat4 getLocalTransform() const { return localTransform; }
    void setLocalTransform(const glm::mat4& matrix) { localTransform = matrix; }
    glm::mat4 getWorldTransform() const;

    void draw() override;
    void drawBuffered() override;
    glm::vec3 getBoundingCenter() const override;
    const Triangle* getWorldTriangles() override;

  private:
    glm::mat4 parentTransform;
    glm::mat4 localTransform;
};
