#pragma once

#include <string>

class Shader;

// Loads the shader from these files (with a fragment library linked in when one is named) and
// returns what loading printed instead of letting it fill the test log.
std::string loadShaderQuietly(Shader& shader, const std::string& vertexPath,
                              const std::string& fragmentPath,
                              const std::string& fragmentLibraryPath = "");
