#pragma once

#include <optional>

#include "assets/DecodedImage.h"

// Image files (PNG, JPEG, BMP, TGA) decoded into the one form the texture loader takes;
// nothing when the file cannot be read or is no image it knows. Both decoders give the same
// bytes for every image the game ships (the assets tests decode them all with both).

// This build's decoder: DevIL on the desktop, stb_image in the browser, where DevIL does not
// exist.
std::optional<DecodedImage> decodeImage(const char* path);

std::optional<DecodedImage> decodeImageWithStb(const char* path);
#ifndef __EMSCRIPTEN__
std::optional<DecodedImage> decodeImageWithDevil(const char* path);
#endif
