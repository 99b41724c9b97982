#pragma once

#include <glm/glm.hpp>

// The scene's one view matrix (world to eye). The eye is always derived from it.
class Camera {
  public:
    explicit Camera(const glm::mat4& view) : view(view) {}

    void lookAt(const glm::vec3& eye, const glm::vec3& centre);
    void setMatrix(const glm::mat4& matrix) { view = matrix; }
    glm::mat4 getMatrix() const { return view; }
    glm::vec3 getPosition() const;

  private:
    glm::mat4 view;
};
