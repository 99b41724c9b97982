#pragma once

// One indexed draw whose attributes and indices may lie in the game's memory rather than in
// buffers: with no array buffer bound the pointers handed in are client memory. The desktop
// reads client arrays at the draw; WebGL reads only buffers, so there they are streamed into
// buffers first, which is what "VA" (F6) costs there.
class GlClientArrays {
  public:
    GlClientArrays(const void* indices, int indexCount);
    ~GlClientArrays();
    GlClientArrays(const GlClientArrays&) = delete;
    GlClientArrays& operator=(const GlClientArrays&) = delete;

    // Points the attribute at `data` (floats, `components` a vertex) and enables it.
    void attribute(int location, int components, const void* data);
    // Draws the triangles and disables the attributes it enabled.
    void drawTriangles();

  private:
    const void* indices;
    int indexCount;
    bool fromMemory;
#ifdef __EMSCRIPTEN__
    // How many vertices the streamed buffers hold; the desktop reads client memory as it is.
    int vertexCount = 0;
#endif
    unsigned int enabled = 0; // bit per attribute location
};
