#pragma once

// The loaders read files, so each fuzz input is written to a per-process file first.
// The loaders' console lines are silenced: they are not what is being looked for.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <string>

#include <unistd.h>

class FuzzInputFile {
  public:
    explicit FuzzInputFile(const char* kind, const char* extension = ".mesh.xml")
        : path("/tmp/quillorb-fuzz-" + std::string(kind) + "-" + std::to_string(::getpid()) +
               extension) {
        std::cout.setstate(std::ios::failbit);
    }

    // Writes the bytes; false when the file cannot be written (the input is then skipped).
    bool write(const uint8_t* data, size_t size) const {
        FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr)
            return false;
        std::fwrite(data, 1, size, file);
        std::fclose(file);
        return true;
    }

    void remove() const { std::remove(path.c_str()); }

    const std::string path;
};
