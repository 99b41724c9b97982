#pragma once

#include <string>

#include "PrintedOutput.h"
#include "assets/Shader.h"

// Loads the shader from these files (with a fragment library linked in when one is named) and
// returns what loading printed instead of letting it fill the test log.
inline std::string loadShaderQuietly(Shader& shader, const std::string& vertexPath,
                                     const std::string& fragmentPath,
                                     const std::string& fragmentLibraryPath = "") {
    return printedBy([&] {
        if (fragmentLibraryPath.empty())
            shader.load(vertexPath.c_str(), fragmentPath.c_str());
        else
            shader.load(vertexPath.c_str(), fragmentPath.c_str(), fragmentLibraryPath.c_str());
    });
}
