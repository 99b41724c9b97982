#include "QuietScene.h"

#include <optional>

#include "PrintedOutput.h"
#include "ScopedWorkingDirectory.h"
#include "scene/Scene.h"

std::string startSceneQuietly(Scene& scene, const std::filesystem::path& folder) {
    std::optional<ScopedWorkingDirectory> inFolder;
    if (!folder.empty())
        inFolder.emplace(folder);
    return printedBy([&] { scene.init(); });
}
