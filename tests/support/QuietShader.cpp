#include "QuietShader.h"

#include "PrintedOutput.h"
#include "assets/Shader.h"

std::string loadShaderQuietly(Shader& shader, const std::string& vertexPath,
                              const std::string& fragmentPath,
                              const std::string& fragmentLibraryPath) {
    return printedBy([&] {
        if (fragmentLibraryPath.empty())
            shader.load(vertexPath.c_str(), fragmentPath.c_str());
        else
            shader.load(vertexPath.c_str(), fragmentPath.c_str(), fragmentLibraryPath.c_str());
    });
}
