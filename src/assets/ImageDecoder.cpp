#include "assets/ImageDecoder.h"

std::optional<DecodedImage> decodeImage(const char* path) {
#ifdef __EMSCRIPTEN__
    return decodeImageWithStb(path);
#else
    return decodeImageWithDevil(path);
#endif
}
