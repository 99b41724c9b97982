#pragma once

// The multisampled colour image of the scene's picture, and its resolve. The desktop draws
// into a multisample texture and resolves it with a small program that takes each pixel's
// first sample, as llvmpipe's window always did (a blit averages the samples, which softens
// every edge). WebGL 2 has no multisample textures: there the image is a multisampled
// renderbuffer, resolved by a blit.
class GlSampledColour {
  public:
    GlSampledColour() = default;
    ~GlSampledColour();
    GlSampledColour(const GlSampledColour&) = delete;
    GlSampledColour& operator=(const GlSampledColour&) = delete;

    // Makes the image and attaches it as colour 0 of the bound framebuffer. False when the
    // resolve cannot be made.
    bool create(int samples, int width, int height);
    // The image; a resolve program is kept for the next one.
    void release();
    // The picture drawn through framebuffer `from` into colour 0 of `to`, both of this size.
    void resolve(unsigned int from, unsigned int to, int width, int height) const;

  private:
    unsigned int image = 0;
    // The desktop's resolve program; the web resolves with a blit.
    [[maybe_unused]] unsigned int program = 0;
};
