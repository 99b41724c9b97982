// Feeds arbitrary bytes to the animated mesh loader and runs the loaded animation a little.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <string>

#include <unistd.h>

#include "assets/AnimationModel.h"
#include "assets/MeshLoader.h"

namespace {

std::string inputPath() {
    return "/tmp/quillorb-fuzz-animation-" + std::to_string(::getpid()) + ".mesh.xml";
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

    AnimationModel* model = MeshLoader().loadAnimationModel(path.c_str());
    if (model != nullptr) {
        // Every pair the loop can reach, each with its collision triangles.
        for (int frame = 0; frame < 8; ++frame) {
            model->update(0.37f);
            model->selectKeyframes();
            model->getWorldTriangles();
        }
        delete model;
    }
    std::remove(path.c_str());
    return 0;
}
