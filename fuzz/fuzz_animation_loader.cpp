// Feeds arbitrary bytes to the animated mesh loader and runs the loaded animation a little.
#include "FuzzInputFile.h"

#include "assets/AnimationModel.h"
#include "assets/MeshLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const FuzzInputFile input("animation");
    if (!input.write(data, size))
        return 0;

    AnimationModel* model = MeshLoader().loadAnimationModel(input.path.c_str());
    if (model != nullptr) {
        // Every pair the loop can reach, each with its collision triangles.
        for (int frame = 0; frame < 8; ++frame) {
            model->update(0.37f);
            model->selectKeyframes();
            model->getWorldTriangles();
        }
        delete model;
    }
    input.remove();
    return 0;
}
