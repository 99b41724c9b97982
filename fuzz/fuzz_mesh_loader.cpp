// Feeds arbitrary bytes to the static mesh loader through a file, as the game reads meshes.
#include "FuzzInputFile.h"

#include "assets/MeshLoader.h"
#include "assets/Model.h"
#include "assets/ModelCoordinates.h"

namespace {

// Touches every entry the way the draws and the collision code would.
void walk(ModelCoordinates* mesh) {
    volatile float sink = 0.0f;
    for (int i = 0; i < mesh->getIndexCount(); ++i) {
        unsigned int index = mesh->getIndices()[i];
        sink = sink + mesh->getPositions()[index].x + mesh->getNormals()[index].y +
               mesh->getTexCoords()[index].x;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const FuzzInputFile input("mesh");
    if (!input.write(data, size))
        return 0;

    MeshLoader loader;
    ModelCoordinates* mesh = loader.loadMesh(input.path.c_str());
    if (mesh != nullptr) {
        walk(mesh);
        Model model(mesh);
        model.getWorldTriangles();
    }
    input.remove();
    return 0;
}
