#pragma once

#include <string>

// The picture generators behind generateTextures; each writes its files below outDir.

// The fourteen level textures (texture/..., texture/trees/...).
void writeGroundTextures(const std::string& outDir);
void writeMaterialTextures(const std::string& outDir);
void writePlantTextures(const std::string& outDir);
// Life icon, loading, game-over and winner screens.
void writeScreenPictures(const std::string& outDir);
// texture/Skybox/{up,bottom,front,back,right,left}.png.
void writeSkyboxFaces(const std::string& outDir);
// texture/Water/dudvmap.bmp and texture/Water/normalmap.bmp.
void writeWaterMaps(const std::string& outDir);
