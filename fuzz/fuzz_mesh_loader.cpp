// Feeds arbitrary bytes to the static mesh loader through a file, as the game reads meshes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <string>

#include <unistd.h>

#include "assets/MeshLoader.h"
#include "assets/Model.h"
#include "assets/ModelCoordinates.h"

namespace {

std::string inputPath() {
    return "/tmp/quillorb-fuzz-mesh-" + std::to_string(::getpid()) + ".mesh.xml";
}

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
    static const std::string path = inputPath();
    static bool quiet = [] {
        std::cout.setstate(std::ios::failbit); // the loader's console lines are not wanted here
        return true;
    }();
    (void)quiet;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    MeshLoader loader;
    ModelCoordinates* mesh = loader.loadMesh(path.c_str());
    if (mesh != nullptr) {
        walk(mesh);
        Model model(mesh);
        model.getWorldTriangles();
    }
    std::remove(path.c_str());
    return 0;
}
