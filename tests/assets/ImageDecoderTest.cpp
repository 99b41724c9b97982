#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "assets/ImageDecoder.h"

namespace fs = std::filesystem;

namespace {

std::string lowerExtension(const fs::path& path) {
    std::string extension = path.extension().string();
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

// Every picture of the data tree, found by walking it, so a new one is checked without a list
// to keep up.
std::vector<std::string> shippedImages() {
    const std::vector<std::string> kinds = {".png", ".jpg", ".jpeg", ".bmp", ".tga"};
    std::vector<std::string> images;
    for (const auto& entry : fs::recursive_directory_iterator(runDir())) {
        if (entry.is_regular_file() &&
            std::count(kinds.begin(), kinds.end(), lowerExtension(entry.path())) > 0)
            images.push_back(entry.path().string());
    }
    std::sort(images.begin(), images.end());
    return images;
}

// Where the two pictures differ by more than `tolerance` in any channel, or "" when nowhere.
std::string firstDifference(const DecodedImage& a, const DecodedImage& b, int tolerance) {
    if (a.width != b.width || a.height != b.height || a.channels != b.channels)
        return "sizes " + std::to_string(a.width) + "x" + std::to_string(a.height) + "x" +
               std::to_string(a.channels) + " and " + std::to_string(b.width) + "x" +
               std::to_string(b.height) + "x" + std::to_string(b.channels);
    for (size_t i = 0; i < a.pixels.size(); ++i) {
        if (std::abs(a.pixels[i] - b.pixels[i]) > tolerance) {
            const size_t pixel = i / static_cast<size_t>(a.channels);
            return "pixel " + std::to_string(pixel % static_cast<size_t>(a.width)) + " of row " +
                   std::to_string(pixel / static_cast<size_t>(a.width)) + ": " +
                   std::to_string(a.pixels[i]) + " and " + std::to_string(b.pixels[i]);
        }
    }
    return "";
}

TEST(ImageDecoders, DevilAndStbGiveTheSamePictureForEveryImageWeShip) {
    const std::vector<std::string> images = shippedImages();
    // The game's own set; fewer means the generator has not filled the tree.
    ASSERT_GE(images.size(), 27u);
    for (const std::string& path : images) {
        const std::optional<DecodedImage> devil = decodeImageWithDevil(path.c_str());
        const std::optional<DecodedImage> stb = decodeImageWithStb(path.c_str());
        ASSERT_TRUE(devil && stb) << path;
        // PNG, BMP and TGA are lossless: byte for byte. libjpeg and stb_image round JPEG's
        // inverse transform and colour conversion a little differently: a few levels at most.
        const std::string extension = lowerExtension(path);
        const int tolerance = extension == ".jpg" || extension == ".jpeg" ? 3 : 0;
        EXPECT_EQ(firstDifference(*devil, *stb, tolerance), "") << path;
    }
}

TEST(ImageDecoders, BothRefuseWhatIsNoImage) {
    const std::string paths[] = {
        scratchDir() + "/no-such-picture.png",
        writeScratchFile("empty.png", ""),
        writeScratchFile("words.bmp", "BM these are words, not a picture"),
        writeScratchFile("cut.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16)),
    };
    for (const std::string& path : paths) {
        EXPECT_FALSE(decodeImageWithDevil(path.c_str())) << path;
        EXPECT_FALSE(decodeImageWithStb(path.c_str())) << path;
    }
}

} // namespace
