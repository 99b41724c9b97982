#include "assets/TextureLoader.h"

#include <GL/glew.h>

#include <iostream>
#include <optional>

#include "assets/ImageDecoder.h"
#include "assets/TargaLength.h"
#include "platform/DataFileReport.h"

namespace {

float anisotropyLimit = 0.0f;

// An undecodable file leaves a 1x1 opaque magenta image behind, so the texture it is uploaded
// into is well defined and easy to spot.
DecodedImage openImage(const char* path) {
    std::optional<DecodedImage> decoded;
    if (path != nullptr)
        decoded = decodeImage(path);
    if (!decoded) {
        std::cerr << "Texture could not be loaded" << std::endl;
        reportBrokenDataFile(path, "not an image");
        return DecodedImage{1, 1, 4, {255, 0, 255, 255}};
    }
    // A run-length TGA cut short decodes without complaint (its packets simply stop); the part
    // that was there is still worth showing, and the file is named all the same.
    if (hasTargaName(path) && targaEndsEarly(path))
        reportBrokenDataFile(path, "truncated image");
    return *decoded;
}

void uploadImage(const DecodedImage& image) {
    // Rows are tightly packed; GL's default 4-byte row alignment would read past the end of an
    // RGB image whose width is not a multiple of 4.
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const bool alpha = image.channels == 4;
    glTexImage2D(GL_TEXTURE_2D, 0, alpha ? GL_RGBA8 : GL_RGB8, image.width, image.height, 0,
                 alpha ? GL_RGBA : GL_RGB, GL_UNSIGNED_BYTE, image.pixels.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
}

void applyAnisotropy(float anisotropy) {
    if (!glewIsSupported("GL_EXT_texture_filter_anisotropic"))
        return;
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, anisotropy);
}

void applyMaxAnisotropy() {
    applyAnisotropy(anisotropyInUse());
}

// Clamped textures (skybox faces, for one) are always plain linear without mipmaps.
void uploadClamped(const DecodedImage& image) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    applyMaxAnisotropy();
    uploadImage(image);
}

void uploadMipmapped(const DecodedImage& image, GLint minFilter, GLint magFilter) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
    applyMaxAnisotropy();
    uploadImage(image);
    glGenerateMipmap(GL_TEXTURE_2D);
}

// A reload into a name that had mipmaps must not keep their anisotropy: without mipmaps
// llvmpipe's anisotropic filter walks the whole footprint at full resolution, seconds a frame.
void uploadPlain(const DecodedImage& image, GLint filter) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    applyAnisotropy(1.0f);
    uploadImage(image);
}

} // namespace

void setAnisotropyLimit(float limit) {
    anisotropyLimit = limit;
}

float anisotropyInUse() {
    if (!glewIsSupported("GL_EXT_texture_filter_anisotropic"))
        return 1.0f;
    GLfloat maximum = 1.0f;
    glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &maximum);
    return anisotropyLimit >= 1.0f && anisotropyLimit < maximum ? anisotropyLimit : maximum;
}

void loadTexture(const char* path, unsigned int* names, int index, bool mipmaps, bool clamp) {
    const DecodedImage image = openImage(path);
    glBindTexture(GL_TEXTURE_2D, names[index]);
    if (clamp)
        uploadClamped(image);
    else if (mipmaps)
        uploadMipmapped(image, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR);
    else
        uploadPlain(image, GL_LINEAR);
}

void loadTextureFiltered(const char* path, unsigned int* names, int index, int mipmapMode,
                         bool bilinear, bool clamp) {
    const DecodedImage image = openImage(path);
    GLint filter = bilinear ? GL_LINEAR : GL_NEAREST;
    // An unknown mode touches no GL state at all.
    if (clamp || (mipmapMode >= 0 && mipmapMode <= 2))
        glBindTexture(GL_TEXTURE_2D, names[index]);
    if (clamp)
        uploadClamped(image);
    else if (mipmapMode == 2)
        uploadMipmapped(image, GL_LINEAR_MIPMAP_LINEAR, filter);
    else if (mipmapMode == 1)
        uploadMipmapped(image, GL_NEAREST_MIPMAP_NEAREST, filter);
    else if (mipmapMode == 0)
        uploadPlain(image, filter);
}

void reapplyAnisotropy(unsigned int texture, bool anisotropic) {
    glBindTexture(GL_TEXTURE_2D, texture);
    applyAnisotropy(anisotropic ? anisotropyInUse() : 1.0f);
    glBindTexture(GL_TEXTURE_2D, 0);
}
