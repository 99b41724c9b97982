#include "QuietShader.h"

#include <gtest/gtest.h>

#include "assets/Shader.h"

std::string loadShaderQuietly(Shader& shader, const std::string& vertexPath,
                              const std::string& fragmentPath,
                              const std::string& fragmentLibraryPath) {
    testing::internal::CaptureStdout();
    if (fragmentLibraryPath.empty())
        shader.load(vertexPath.c_str(), fragmentPath.c_str());
    else
        shader.load(vertexPath.c_str(), fragmentPath.c_str(), fragmentLibraryPath.c_str());
    return testing::internal::GetCapturedStdout();
}
