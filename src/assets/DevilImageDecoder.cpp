// The desktop's decoder; the browser has no DevIL, and this is the one file that calls it.
#ifndef __EMSCRIPTEN__

#include <IL/il.h>

#include "assets/ImageDecoder.h"

namespace {

bool hasAlpha(ILint format) {
    switch (format) {
    case IL_RGBA:
    case IL_BGRA:
    case IL_LUMINANCE_ALPHA:
    case IL_ALPHA:
        return true;
    case IL_COLOUR_INDEX: {
        const ILint palette = ilGetInteger(IL_PALETTE_TYPE);
        return palette == IL_PAL_RGBA32 || palette == IL_PAL_BGRA32;
    }
    default:
        return false;
    }
}

void clearErrors() {
    while (ilGetError() != IL_NO_ERROR) {
        // Drained so a stale error is not blamed on the next file.
    }
}

// Blue-first, grey, palette and 16-bit images become plain RGB or RGBA bytes; the rows stay
// as loaded, since without IL_ORIGIN_SET DevIL keeps the file's own order.
std::optional<DecodedImage> bytesOfBoundImage() {
    const ILint format = hasAlpha(ilGetInteger(IL_IMAGE_FORMAT)) ? IL_RGBA : IL_RGB;
    const bool converted = (ilGetInteger(IL_IMAGE_FORMAT) == format &&
                            ilGetInteger(IL_IMAGE_TYPE) == IL_UNSIGNED_BYTE) ||
                           ilConvertImage(format, IL_UNSIGNED_BYTE) == IL_TRUE;
    const unsigned char* data = ilGetData();
    DecodedImage image{
        ilGetInteger(IL_IMAGE_WIDTH), ilGetInteger(IL_IMAGE_HEIGHT), format == IL_RGBA ? 4 : 3, {}};
    if (!converted || data == nullptr || image.width <= 0 || image.height <= 0)
        return std::nullopt;
    image.pixels.assign(data,
                        data + static_cast<size_t>(image.width) * image.height * image.channels);
    return image;
}

} // namespace

std::optional<DecodedImage> decodeImageWithDevil(const char* path) {
    static const bool started = [] {
        ilInit();
        return true;
    }();
    (void)started;
    ILuint name = 0;
    ilGenImages(1, &name);
    ilBindImage(name);
    const bool loaded = path != nullptr && ilLoadImage(path) == IL_TRUE;
    const bool failed = ilGetError() != IL_NO_ERROR || !loaded;
    clearErrors();
    std::optional<DecodedImage> image;
    if (!failed)
        image = bytesOfBoundImage();
    clearErrors();
    ilDeleteImages(1, &name);
    return image;
}

#endif
