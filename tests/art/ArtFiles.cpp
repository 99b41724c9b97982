#include "ArtFiles.h"

#include <IL/il.h>

#include <utility>

#include "ReadFile.h"
#include "assets/ImageDecoder.h"
#include "level/LevelTable.h"

glm::ivec4 GlPicture::rgba(int x, int row) const {
    const unsigned char* p = &data[(static_cast<size_t>(row) * width + x) * bytesPerPixel];
    switch (format) {
    case IL_RGB:
        return {p[0], p[1], p[2], 255};
    case IL_BGR:
        return {p[2], p[1], p[0], 255};
    case IL_RGBA:
        return {p[0], p[1], p[2], p[3]};
    case IL_BGRA:
        return {p[2], p[1], p[0], p[3]};
    case IL_LUMINANCE:
        return {p[0], p[0], p[0], 255};
    default:
        return {0, 0, 0, 0};
    }
}

float GlPicture::luminance(int x, int row) const {
    glm::ivec4 c = rgba(x, row);
    return 0.299f * c.r + 0.587f * c.g + 0.114f * c.b;
}

GlPicture loadAsGl(const std::string& path) {
    GlPicture picture;
    if (std::optional<DecodedImage> image = decodeImage(path.c_str())) {
        picture.width = image->width;
        picture.height = image->height;
        picture.bytesPerPixel = image->channels;
        picture.format = image->channels == 4 ? IL_RGBA : IL_RGB;
        picture.data = std::move(image->pixels);
        picture.ok = true;
    }
    return picture;
}

std::vector<unsigned char> readBytes(const std::string& path) {
    const std::string bytes = readFile(path);
    return std::vector<unsigned char>(bytes.begin(), bytes.end());
}

std::string imageKind(const std::string& path) {
    std::vector<unsigned char> b = readBytes(path);
    if (b.size() < 18)
        return "";
    if (b[0] == 0x89 && b[1] == 'P' && b[2] == 'N' && b[3] == 'G')
        return "png";
    if (b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF)
        return "jpg";
    if (b[0] == 'B' && b[1] == 'M')
        return "bmp";
    // True-colour TGA, plain or run-length encoded, without a colour map.
    if (b[1] == 0 && (b[2] == 2 || b[2] == 10))
        return "tga";
    return "";
}

const std::vector<std::string>& generatedArtFiles() {
    // The level's textures as the game loads them, then everything else the game reads.
    static const std::vector<std::string> files = [] {
        std::vector<std::string> all(level::textureFiles,
                                     level::textureFiles + level::textureCount);
        all.insert(all.end(), {
                                  "texture/sphereMitte.png",
                                  "texture/TestLoadingScreen.bmp",
                                  "texture/GameOver.bmp",
                                  "texture/WinnerScreen.bmp",
                                  "texture/Skybox/up.png",
                                  "texture/Skybox/bottom.png",
                                  "texture/Skybox/front.png",
                                  "texture/Skybox/back.png",
                                  "texture/Skybox/right.png",
                                  "texture/Skybox/left.png",
                                  "texture/Water/dudvmap.bmp",
                                  "texture/Water/normalmap.bmp",
                                  "data/basicFont.fnt",
                                  "data/basicFont_0.tga",
                                  "data/background.wav",
                              });
        for (const char* effect : {"roll", "impact", "life_lost", "tick", "win", "game_over"})
            all.push_back(std::string("data/sound/") + effect + ".wav");
        return all;
    }();
    return files;
}
