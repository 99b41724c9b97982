#include "render/ShadowMap.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <iostream>

#include "render/ScreenBounds.h"
#include "render/ShadowLight.h"

namespace {

// A depth texture of the map's size as the main pass samples it: filtered comparisons.
GLuint createDepthTexture(int size) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT24, size, size, 0, GL_DEPTH_COMPONENT,
                 GL_UNSIGNED_INT, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, GL_COMPARE_R_TO_TEXTURE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_FUNC, GL_LEQUAL);
    return name;
}

// A depth-only framebuffer around `texture`, left bound.
GLuint createDepthFramebuffer(GLuint texture) {
    GLuint name = 0;
    glGenFramebuffers(1, &name);
    glBindFramebuffer(GL_FRAMEBUFFER, name);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D, texture, 0);
    const GLenum none = GL_NONE;
    glDrawBuffers(1, &none);
    glReadBuffer(GL_NONE);
    return name;
}

// Beyond the vertices' own extent: the rasteriser covers texels whose centres a triangle
// touches, and a line in wireframe mode reaches a texel further.
constexpr int regionMargin = 2;

} // namespace

ShadowMap::ShadowMap(int size, bool cached) : size(size), cached(cached) {}

ShadowMap::~ShadowMap() {
    if (framebuffer)
        glDeleteFramebuffers(1, &framebuffer);
    if (texture)
        glDeleteTextures(1, &texture);
    if (cacheFramebuffer)
        glDeleteFramebuffers(1, &cacheFramebuffer);
    if (cacheTexture)
        glDeleteTextures(1, &cacheTexture);
}

bool ShadowMap::create() {
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    if (largest > 0 && size > largest)
        size = largest;
    bool cacheComplete = true;
    if (cached) {
        cacheTexture = createDepthTexture(size);
        cacheFramebuffer = createDepthFramebuffer(cacheTexture);
        cacheComplete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    }
    texture = createDepthTexture(size);
    framebuffer = createDepthFramebuffer(texture);
    bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    if (!complete || !cacheComplete)
        std::cerr << "GL: Error while binding the texture to fbo" << std::endl;
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return complete;
}

bool ShadowMap::needsStillCasters(const std::vector<Placement>& stillCasters, int polygonMode) {
    if (cacheValid && polygonMode == cachedPolygonMode && stillCasters == cachedPlacements)
        return false;
    cachedPlacements = stillCasters;
    cachedPolygonMode = polygonMode;
    glBindFramebuffer(GL_FRAMEBUFFER, cached ? cacheFramebuffer : framebuffer);
    glViewport(0, 0, size, size);
    glClear(GL_DEPTH_BUFFER_BIT);
    return true;
}

void ShadowMap::keepStillCasters() {
    if (!cached) {
        movedRegions.clear();
        return;
    }
    copyFromCache(Region{0, 0, size, size});
    cacheValid = true;
    mapIsCache = true;
    movedRegions.clear();
}

void ShadowMap::beginMovingCasters() {
    if (cached && !mapIsCache) {
        for (const Region& region : movedRegions)
            copyFromCache(region);
    }
    movedRegions.clear();
    mapIsCache = false;
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glViewport(0, 0, size, size);
}

void ShadowMap::noteMovingCaster(const glm::vec4* positions, int vertexCount,
                                 const unsigned int* indices, int indexCount,
                                 const glm::mat4& world) {
    const glm::mat4 toClip = shadowlight::projection() * shadowlight::view() * world;
    ScreenBounds bounds = screenBoundsOf(positions, vertexCount, indices, indexCount, toClip);
    if (bounds.isEmpty())
        return;
    const float texels = static_cast<float>(size);
    auto toTexel = [texels](float ndc, float outward) {
        float t = std::floor((ndc * 0.5f + 0.5f) * texels) + outward;
        return static_cast<int>(std::clamp(t, 0.0f, texels));
    };
    Region region{toTexel(bounds.low.x, -regionMargin), toTexel(bounds.low.y, -regionMargin),
                  toTexel(bounds.high.x, regionMargin + 1),
                  toTexel(bounds.high.y, regionMargin + 1)};
    if (region.x0 < region.x1 && region.y0 < region.y1)
        movedRegions.push_back(region);
}

void ShadowMap::copyFromCache(const Region& region) const {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, cacheFramebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer);
    glBlitFramebuffer(region.x0, region.y0, region.x1, region.y1, region.x0, region.y0, region.x1,
                      region.y1, GL_DEPTH_BUFFER_BIT, GL_NEAREST);
}
