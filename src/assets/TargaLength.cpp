#include "assets/TargaLength.h"

#include <cctype>
#include <fstream>
#include <iterator>
#include <string>

namespace {

constexpr size_t headerSize = 18;

unsigned readLittle16(const std::string& bytes, size_t at) {
    return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}

// Walks the run-length packets until the image is covered or the data runs out.
bool packetsEndEarly(const std::string& bytes, size_t at, size_t pixels, size_t pixelBytes) {
    size_t covered = 0;
    while (covered < pixels) {
        if (at >= bytes.size())
            return true;
        unsigned char packet = static_cast<unsigned char>(bytes[at++]);
        size_t count = (packet & 0x7Fu) + 1u;
        size_t dataBytes = (packet & 0x80u) != 0 ? pixelBytes : count * pixelBytes;
        if (bytes.size() - at < dataBytes)
            return true;
        at += dataBytes;
        covered += count;
    }
    return false;
}

} // namespace

bool targaEndsEarly(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < headerSize)
        return false;
    unsigned idLength = static_cast<unsigned char>(bytes[0]);
    unsigned colourMapType = static_cast<unsigned char>(bytes[1]);
    unsigned imageType = static_cast<unsigned char>(bytes[2]);
    unsigned mapEntryBits = static_cast<unsigned char>(bytes[7]);
    size_t mapBytes = colourMapType == 1 ? readLittle16(bytes, 5) * ((mapEntryBits + 7u) / 8u) : 0;
    size_t pixels = static_cast<size_t>(readLittle16(bytes, 12)) * readLittle16(bytes, 14);
    size_t pixelBytes = (static_cast<unsigned char>(bytes[16]) + 7u) / 8u;
    size_t data = headerSize + idLength + mapBytes;

    bool runLength = imageType == 9 || imageType == 10 || imageType == 11;
    if (!runLength)
        return false;
    return data > bytes.size() || packetsEndEarly(bytes, data, pixels, pixelBytes);
}

bool hasTargaName(const char* path) {
    const std::string name = path != nullptr ? path : "";
    if (name.size() < 4)
        return false;
    std::string extension = name.substr(name.size() - 4);
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".tga";
}
