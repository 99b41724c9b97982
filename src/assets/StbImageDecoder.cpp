// The browser's decoder, built on the desktop too so the tests can hold it against DevIL.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_ONLY_TGA
#include <stb/stb_image.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "assets/ImageDecoder.h"
#include "assets/TargaLength.h"

namespace {

long readLittle(const std::string& bytes, size_t at, size_t count) {
    unsigned long value = 0;
    for (size_t i = 0; i < count; ++i)
        value |= static_cast<unsigned long>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return static_cast<long>(value);
}

// stb_image always hands the top row first; DevIL, and so the game, keeps the file's order:
// a BMP is stored bottom up unless its height is negative, a TGA unless its descriptor says
// top first (bit 5).
bool storedBottomUp(const std::string& bytes, bool targa) {
    if (bytes.size() >= 26 && bytes[0] == 'B' && bytes[1] == 'M') {
        // The old OS/2 header has no sign to give; the later ones a 32-bit height.
        if (readLittle(bytes, 14, 4) == 12)
            return true;
        return static_cast<int32_t>(readLittle(bytes, 22, 4)) > 0;
    }
    return targa && bytes.size() >= 18 && (static_cast<unsigned char>(bytes[17]) & 0x20u) == 0;
}

void flipRows(DecodedImage& image) {
    const size_t row = static_cast<size_t>(image.width) * image.channels;
    for (int top = 0, bottom = image.height - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(image.pixels.begin() + top * row, image.pixels.begin() + (top + 1) * row,
                         image.pixels.begin() + bottom * row);
}

} // namespace

std::optional<DecodedImage> decodeImageWithStb(const char* path) {
    if (path == nullptr)
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto* data = reinterpret_cast<const stbi_uc*>(bytes.data());
    const int size = static_cast<int>(bytes.size());
    int width = 0;
    int height = 0;
    int components = 0;
    if (!in.is_open() || !stbi_info_from_memory(data, size, &width, &height, &components))
        return std::nullopt;
    // Grey becomes RGB and grey with alpha RGBA, as DevIL converts them.
    const int channels = components == 2 || components == 4 ? 4 : 3;
    stbi_uc* pixels = stbi_load_from_memory(data, size, &width, &height, &components, channels);
    if (pixels == nullptr)
        return std::nullopt;
    DecodedImage image{width, height, channels, {}};
    image.pixels.assign(pixels, pixels + static_cast<size_t>(width) * height * channels);
    stbi_image_free(pixels);
    if (storedBottomUp(bytes, hasTargaName(path)))
        flipRows(image);
    return image;
}
