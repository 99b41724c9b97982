#include "app/DisplayOptions.h"

#include <string>

#include "hud/BitmapFont.h"
#include "platform/GlTarget.h"
#include "platform/Input.h"
#include "platform/Keys.h"
#include "scene/Scene.h"

namespace {

constexpr int slotCount = 10;
constexpr int framesPerLine = 100;

bool showFps = false;
bool wireframe = false;
bool bilinearFiltering = true;
int mipmapMode = 2;

int statusFrames[slotCount] = {};
std::string statusText[slotCount];

void announce(int slot, const char* text) {
    statusFrames[slot] = framesPerLine;
    statusText[slot] = text;
}

void reloadLevelTextures(Scene* scene) {
    if (scene)
        scene->loadLevelTextures(bilinearFiltering, mipmapMode);
}

void toggleFps(Scene*) {
    showFps = !showFps;
    announce(2, showFps ? "Fps ON" : "Fps OFF");
}

} // namespace

void setShowFps(bool on) {
    showFps = on;
}

namespace {

void toggleWireframe(Scene*) {
    if (!gltarget::hasWireframe()) {
        announce(3, "WIREFRAME: DESKTOP ONLY");
        return;
    }
    wireframe = !wireframe;
    announce(3, wireframe ? "WIREFRAME ON" : "WIREFRAME OFF");
}

void toggleFiltering(Scene* scene) {
    bilinearFiltering = !bilinearFiltering;
    announce(4, bilinearFiltering ? "BILINEAR" : "NEAREST NEIGHBOR");
    reloadLevelTextures(scene);
}

void cycleMipmaps(Scene* scene) {
    statusFrames[5] = framesPerLine;
    mipmapMode = mipmapMode == 0 ? 1 : mipmapMode == 1 ? 2 : 0;
    statusText[5] = mipmapMode == 1 ? "NEAREST NEIGHBOR" : mipmapMode == 2 ? "LINEAR" : "AUS";
    reloadLevelTextures(scene);
}

// The scene's switches have nothing to switch before a scene exists.
void toggleVbo(Scene* scene) {
    if (scene) {
        scene->toggleVbo();
        announce(6, scene->isVboOn() ? "VBO" : "VA");
    }
}

void toggleFrustumCulling(Scene* scene) {
    if (scene) {
        scene->toggleFrustumCulling();
        announce(8, scene->isFrustumCullingOn() ? "Frustum Culling ON" : "Frustum Culling OFF");
    }
}

void toggleTransparency(Scene* scene) {
    if (scene) {
        scene->toggleTransparency();
        announce(9, scene->isTransparencyOn() ? "Transparenz ON" : "Transparenz OFF");
    }
}

struct OptionKey {
    int key;
    void (*action)(Scene*);
    bool latched;
};

// Polled in this order every frame; F1 and F7 have no option.
OptionKey optionKeys[] = {
    {GLFW_KEY_F2, toggleFps, false},          {GLFW_KEY_F3, toggleWireframe, false},
    {GLFW_KEY_F4, toggleFiltering, false},    {GLFW_KEY_F5, cycleMipmaps, false},
    {GLFW_KEY_F6, toggleVbo, false},          {GLFW_KEY_F8, toggleFrustumCulling, false},
    {GLFW_KEY_F9, toggleTransparency, false},
};

} // namespace

void handleDisplayOptions(Scene* scene) {
    for (OptionKey& option : optionKeys) {
        if (platform::isKeyDown(option.key)) {
            if (!option.latched)
                option.action(scene);
            option.latched = true;
        } else {
            option.latched = false;
        }
    }
}

std::vector<RaceHudView::StatusLine> takeStatusLines() {
    std::vector<RaceHudView::StatusLine> shown;
    for (int i = 0; i < slotCount; ++i) {
        if (statusFrames[i] <= 0)
            continue;
        --statusFrames[i];
        shown.push_back({i, statusText[i]});
    }
    return shown;
}

bool isShowFpsOn() {
    return showFps;
}
bool isWireframeOn() {
    return wireframe;
}
bool isBilinearFilteringOn() {
    return bilinearFiltering;
}
int getMipmapMode() {
    return mipmapMode;
}

std::string getStatusText(int slot) {
    return slot >= 0 && slot < slotCount ? statusText[slot] : std::string();
}

int getStatusFrames(int slot) {
    return slot >= 0 && slot < slotCount ? statusFrames[slot] : 0;
}

void resetDisplayOptions(bool startBilinear, int startMipmapMode) {
    showFps = false;
    wireframe = false;
    bilinearFiltering = startBilinear;
    mipmapMode = startMipmapMode;
    for (int i = 0; i < slotCount; ++i) {
        statusFrames[i] = 0;
        statusText[i].clear();
    }
    for (OptionKey& option : optionKeys)
        option.latched = false;
}
