#pragma once

#include <fstream>
#include <iterator>
#include <string>

// The whole of a file, byte for byte; empty when it cannot be opened.
inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
