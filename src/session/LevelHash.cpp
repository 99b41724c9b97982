#include "session/LevelHash.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

namespace {

constexpr uint64_t fnvOffsetBasis = 0xcbf29ce484222325ull;
constexpr uint64_t fnvPrime = 0x100000001b3ull;

class Fnv1a {
  public:
    void add(const unsigned char* bytes, size_t count) {
        for (size_t i = 0; i < count; ++i) {
            value ^= bytes[i];
            value *= fnvPrime;
        }
    }

    // Each piece of data goes in behind its length, so that moving bytes from one file's
    // end into the next file's name (or path) cannot give the same hash.
    void addPiece(const std::string& bytes) {
        addLength(bytes.size());
        add(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    }

    void addLength(uint64_t length) {
        unsigned char bytes[8];
        for (int i = 0; i < 8; ++i)
            bytes[i] = static_cast<unsigned char>(length >> (8 * i));
        add(bytes, 8);
    }

    uint64_t value = fnvOffsetBasis;
};

// Paths relative to dataDir ("models/..."), with '/' on every system, sorted byte by byte.
std::vector<std::string> modelFiles(const std::filesystem::path& dataDir) {
    namespace fs = std::filesystem;
    const fs::path models = dataDir / "models";
    std::vector<std::string> files;
    std::error_code error;
    fs::recursive_directory_iterator it(models, fs::directory_options::skip_permission_denied,
                                        error);
    for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError))
            files.push_back("models/" + it->path().lexically_relative(models).generic_string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

void addFile(Fnv1a& hash, const std::filesystem::path& path) {
    std::error_code error;
    uintmax_t size = std::filesystem::file_size(path, error);
    hash.addLength(error ? 0 : size);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         std::fclose);
    unsigned char buffer[1 << 16];
    while (file) {
        size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
        hash.add(buffer, got);
        if (got < sizeof buffer)
            break;
    }
}

} // namespace

uint64_t hashLevelData(const std::string& dataDir) {
    Fnv1a hash;
    for (const std::string& relative : modelFiles(dataDir)) {
        hash.addPiece(relative);
        addFile(hash, std::filesystem::path(dataDir) / relative);
    }
    return hash.value;
}
