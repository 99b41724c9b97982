#include "platform/Input.h"

#include "platform/KeySource.h"
#include "platform/Keys.h"
#include "platform/TimeSource.h"

namespace platform {
namespace {
TimeSource* timeSource = nullptr;
KeySource* keySource = nullptr;
} // namespace

void setTimeSource(TimeSource* source) {
    timeSource = source;
}
void setKeySource(KeySource* source) {
    keySource = source;
}

double getTime() {
    return timeSource ? timeSource->now() : glfwGetTime();
}

bool isKeyDown(int key) {
    if (keySource)
        return keySource->isDown(key);
    GLFWwindow* window = glfwGetCurrentContext();
    return window && glfwGetKey(window, key) == GLFW_PRESS;
}

bool hasFocus() {
    if (keySource)
        return keySource->hasFocus();
    GLFWwindow* window = glfwGetCurrentContext();
    return !window || glfwGetWindowAttrib(window, GLFW_FOCUSED) == GLFW_TRUE;
}

} // namespace platform
