#include "ArtGenerators.h"
#include "Generators.h"

void generateTextures(const std::string& outDir) {
    writeGroundTextures(outDir);
    writeMaterialTextures(outDir);
    writePlantTextures(outDir);
    writeScreenPictures(outDir);
    writeSkyboxFaces(outDir);
    writeWaterMaps(outDir);
}
