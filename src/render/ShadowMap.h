#pragma once

#include <vector>

#include <glm/glm.hpp>

// The light's depth map, kept in two layers. The casters that stand still are drawn into a
// cache once; every frame the map starts from that cache and only the casters that move are
// drawn over it. The depth test keeps the nearest depth whatever the order of the draws, so
// the map is the one a full redraw would give. Only the regions the moving casters covered
// in the last frame are copied back from the cache, so a frame costs a few small copies and
// draws instead of the whole level at the map's full size.
class ShadowMap {
  public:
    // What a still caster's depth depends on; a change of any of them redraws the cache.
    struct Placement {
        const void* model;
        glm::mat4 transform;
        bool operator==(const Placement& other) const {
            return model == other.model && transform == other.transform;
        }
    };

    // Without `cached` the map has one image and every frame draws all casters into it: the
    // cache's second image costs as much memory as the map, worth it only where a full
    // redraw is dear.
    explicit ShadowMap(int size, bool cached = true);
    ~ShadowMap();
    ShadowMap(const ShadowMap&) = delete;
    ShadowMap& operator=(const ShadowMap&) = delete;

    // Both depth textures and their framebuffers. Prints the game's message and returns
    // false when the map's framebuffer is incomplete.
    bool create();

    int getSize() const { return size; }
    bool isCached() const { return cached; }
    // The map the main pass samples, and its framebuffer.
    unsigned int getTexture() const { return texture; }
    unsigned int getFramebuffer() const { return framebuffer; }

    // Starts a frame. Returns true, with the cache's framebuffer bound, cleared and its
    // viewport set, when the still casters must be drawn again (the first frame, or one of
    // them moved, or the polygon mode changed); the caller then draws them and calls
    // keepStillCasters. Returns false when the cache still holds them.
    bool needsStillCasters(const std::vector<Placement>& stillCasters, int polygonMode);
    // Copies the freshly drawn cache over the whole map.
    void keepStillCasters();
    // Puts the cache back where the moving casters of the last frame were drawn and binds
    // the map with its viewport for this frame's moving casters.
    void beginMovingCasters();
    // The region a moving caster covers this frame: its triangles, placed by `world`.
    void noteMovingCaster(const glm::vec4* positions, int vertexCount, const unsigned int* indices,
                          int indexCount, const glm::mat4& world);

  private:
    struct Region {
        int x0, y0, x1, y1; // texels, x1 and y1 exclusive
    };
    void copyFromCache(const Region& region) const;

    int size;
    bool cached;
    unsigned int texture = 0;
    unsigned int framebuffer = 0;
    unsigned int cacheTexture = 0;
    unsigned int cacheFramebuffer = 0;
    bool cacheValid = false;
    std::vector<Placement> cachedPlacements;
    int cachedPolygonMode = 0;
    // Where the moving casters were drawn since the map was last put back to the cache.
    std::vector<Region> movedRegions;
    bool mapIsCache = false;
};
