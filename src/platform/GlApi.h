#pragma once

// The GL declarations of the target being built: GLEW's on the desktop, OpenGL ES 3.0's (what
// WebGL 2 offers) in the browser. Only the GL target's own files include this; a call that
// only the desktop has then fails to compile in the browser build instead of failing to link.
#ifdef __EMSCRIPTEN__
#include <GLES3/gl3.h>
#else
#include <GL/glew.h>
#endif
