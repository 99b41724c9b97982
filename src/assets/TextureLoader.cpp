#include "assets/TextureLoader.h"

#include <GL/glew.h>

#include <IL/il.h>

#include <cctype>
#include <iostream>
#include <string>

#include "assets/TargaLength.h"
#include "platform/DataFileReport.h"

namespace {

float anisotropyLimit = 0.0f;

bool isUploadableFormat(ILint format) {
    switch (format) {
    case IL_RGB:
    case IL_RGBA:
    case IL_BGR:
    case IL_BGRA:
    case IL_LUMINANCE:
    case IL_LUMINANCE_ALPHA:
    case IL_ALPHA:
        return true;
    default:
        return false;
    }
}

bool isTarga(const char* path) {
    std::string name = path;
    if (name.size() < 4)
        return false;
    std::string extension = name.substr(name.size() - 4);
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".tga";
}

// Generates, binds and decodes one DevIL image. An undecodable file leaves a 1x1 opaque
// magenta image behind, so the texture it is uploaded into is well defined and easy to spot.
ILuint openImage(const char* path) {
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    bool loaded = path != nullptr && ilLoadImage(path) == IL_TRUE;
    bool failed = ilGetError() != IL_NO_ERROR || !loaded;
    while (ilGetError() != IL_NO_ERROR) {
        // Drained so a stale error is not blamed on the next file.
    }
    if (failed) {
        std::cerr << "Texture could not be loaded" << std::endl;
        reportBrokenDataFile(path, "not an image");
        ILubyte magenta[4] = {255, 0, 255, 255};
        ilTexImage(1, 1, 1, 4, IL_RGBA, IL_UNSIGNED_BYTE, magenta);
    } else if (ilGetInteger(IL_IMAGE_TYPE) != IL_UNSIGNED_BYTE ||
               !isUploadableFormat(ilGetInteger(IL_IMAGE_FORMAT))) {
        // Palette or 16-bit images would not match the byte upload below.
        ilConvertImage(IL_RGBA, IL_UNSIGNED_BYTE);
    }
    // The part that was there is still worth showing; the file is named all the same.
    if (!failed && isTarga(path) && targaEndsEarly(path))
        reportBrokenDataFile(path, "truncated image");
    return image;
}

void uploadImage() {
    // DevIL rows are tightly packed; GL's default 4-byte row alignment would read past the
    // end of an RGB image whose width is not a multiple of 4.
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, ilGetInteger(IL_IMAGE_BYTES_PER_PIXEL),
                 ilGetInteger(IL_IMAGE_WIDTH), ilGetInteger(IL_IMAGE_HEIGHT), 0,
                 GLenum(ilGetInteger(IL_IMAGE_FORMAT)), GL_UNSIGNED_BYTE, ilGetData());
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
void uploadClamped() {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    applyMaxAnisotropy();
    uploadImage();
}

void uploadMipmapped(GLint minFilter, GLint magFilter) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
    applyMaxAnisotropy();
    uploadImage();
    glGenerateMipmap(GL_TEXTURE_2D);
}

// A reload into a name that had mipmaps must not keep their anisotropy: without mipmaps
// llvmpipe's anisotropic filter walks the whole footprint at full resolution, seconds a frame.
void uploadPlain(GLint filter) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    applyAnisotropy(1.0f);
    uploadImage();
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
    ILuint image = openImage(path);
    glBindTexture(GL_TEXTURE_2D, names[index]);
    if (clamp)
        uploadClamped();
    else if (mipmaps)
        uploadMipmapped(GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR);
    else
        uploadPlain(GL_LINEAR);
    ilDeleteImages(1, &image);
}

void loadTextureFiltered(const char* path, unsigned int* names, int index, int mipmapMode,
                         bool bilinear, bool clamp) {
    ILuint image = openImage(path);
    GLint filter = bilinear ? GL_LINEAR : GL_NEAREST;
    // An unknown mode touches no GL state at all.
    if (clamp || (mipmapMode >= 0 && mipmapMode <= 2))
        glBindTexture(GL_TEXTURE_2D, names[index]);
    if (clamp)
        uploadClamped();
    else if (mipmapMode == 2)
        uploadMipmapped(GL_LINEAR_MIPMAP_LINEAR, filter);
    else if (mipmapMode == 1)
        uploadMipmapped(GL_NEAREST_MIPMAP_NEAREST, filter);
    else if (mipmapMode == 0)
        uploadPlain(filter);
    ilDeleteImages(1, &image);
}

void reapplyAnisotropy(unsigned int texture, bool anisotropic) {
    glBindTexture(GL_TEXTURE_2D, texture);
    applyAnisotropy(anisotropic ? anisotropyInUse() : 1.0f);
    glBindTexture(GL_TEXTURE_2D, 0);
}
