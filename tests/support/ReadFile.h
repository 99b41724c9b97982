#pragma once

#include <string>

// The whole of a file, byte for byte; empty when it cannot be opened.
std::string readFile(const std::string& path);
