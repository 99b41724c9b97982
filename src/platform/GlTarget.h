#pragma once

// Which GL the game draws with, chosen when it is built: the desktop's compatibility context,
// or WebGL 2 (OpenGL ES 3.0, GLSL ES 3.00) in a browser. Passes and shaders are written once;
// the few places where the two differ ask this, and nothing else does.
enum class GlTarget { Desktop, Web };

#ifdef __EMSCRIPTEN__
constexpr GlTarget builtGlTarget = GlTarget::Web;
#else
constexpr GlTarget builtGlTarget = GlTarget::Desktop;
#endif
