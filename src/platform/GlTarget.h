#pragma once

// Which GL the game draws with, chosen when it is built: the desktop's compatibility context,
// or WebGL 2 (OpenGL ES 3.0, GLSL ES 3.00) in a browser. Passes and shaders are written once;
// every call only one of the two has goes through the functions below and the classes beside
// them (GlViewScope, GlClientArrays, GlSampledColour), which do the same thing with what the
// other has. docs/architecture.md lists which calls each target makes.
enum class GlTarget { Desktop, Web };

#ifdef __EMSCRIPTEN__
constexpr GlTarget builtGlTarget = GlTarget::Web;
#else
constexpr GlTarget builtGlTarget = GlTarget::Desktop;
#endif

namespace gltarget {

// The active texture unit's fixed-function texturing switch. The desktop keeps the game's
// enables; WebGL has none (the programs sample whatever is bound).
void enableTexturing();
void disableTexturing();

// The transparency pass's alpha test (fragments with alpha above `threshold` pass). WebGL has
// none: there the alpha program discards below its "alphaCutoff", which the pass sets.
void enableAlphaTest(float threshold);
void disableAlphaTest();

// Clip plane 0 for the water's images. The level programs hand over their signed distance to
// their "clipPlane"; WebGL has no clip planes, so there they discard below it themselves.
void enableClipPlane();
void disableClipPlane();

// Lines instead of filled triangles (F3). False where the target has no polygon mode.
bool hasWireframe();
void setWireframe(bool on);
// The polygon mode drawn with now (GL_FILL where there is no choice): the shadow cache is
// drawn again when it changes.
int polygonMode();

// GPU time queries for the timedemo's pass times. False where the target has none; there the
// other two do nothing and measure nothing.
bool hasPassTimer();
void beginTimeQuery(unsigned int query);
double endTimeQueryMilliseconds(unsigned int query);

// The wrap mode of the water's images: GL_CLAMP on the desktop as always, CLAMP_TO_EDGE where
// that is all there is.
int clampWrap();

// Turns the picture upside down (the rows of a software rasteriser's window lie top down)
// where the target can; false where it cannot.
bool drawUpsideDown(bool on);

// The filter of a depth texture read as a plain image (the water's depth below the surface):
// GL_LINEAR on the desktop as always; OpenGL ES filters depth only in comparisons, so GL_NEAREST
// there.
int depthImageFilter();

// Binds fragment output 0 of an unlinked program to `name`. GLSL ES puts a program's single
// output at 0 by itself.
void bindFragmentOutput(unsigned int program, const char* name);

} // namespace gltarget
