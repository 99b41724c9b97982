#include "QuietScene.h"

#include <optional>

#include <gtest/gtest.h>

#include "ScopedWorkingDirectory.h"
#include "scene/Scene.h"

std::string startSceneQuietly(Scene& scene, const std::filesystem::path& folder) {
    std::optional<ScopedWorkingDirectory> inFolder;
    if (!folder.empty())
        inFolder.emplace(folder);
    testing::internal::CaptureStdout();
    scene.init();
    return testing::internal::GetCapturedStdout();
}
