#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "PrintedOutput.h"
#include "ScopedWorkingDirectory.h"
#include "scene/Scene.h"

// Starts the scene (Scene::init) on the level in folder, as the game does from its data tree,
// and returns what start-up printed instead of letting it fill the test log. An empty folder
// means the working directory, which for every test program is run/.
inline std::string startSceneQuietly(Scene& scene, const std::filesystem::path& folder = {}) {
    std::optional<ScopedWorkingDirectory> inFolder;
    if (!folder.empty())
        inFolder.emplace(folder);
    return printedBy([&] { scene.init(); });
}
