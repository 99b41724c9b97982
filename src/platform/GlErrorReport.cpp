#include "platform/GlErrorReport.h"

#include <iostream>

#include "platform/GlApi.h"

namespace platform {

const char* glErrorMessage(unsigned int error) {
    switch (error) {
    case GL_NO_ERROR:
        return "";
    case GL_INVALID_ENUM:
        return "GL: enum argument out of range.";
    case GL_INVALID_VALUE:
        return "GL: Numeric argument out of range.";
    case GL_INVALID_OPERATION:
        return "GL: Operation illegal in current state.";
    case GL_OUT_OF_MEMORY:
        return "GL: Not enough memory left to execute command.";
    case GL_INVALID_FRAMEBUFFER_OPERATION:
        return "GL: Framebuffer object is not complete.";
    default:
        return "GL: Unknown error.";
    }
}

void reportGlError() {
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR)
        std::cerr << glErrorMessage(error) << std::endl;
}

} // namespace platform
