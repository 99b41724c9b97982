#pragma once

// Opens one visible window with a compatibility context (under Xvfb in CI) and starts GLEW
// and DevIL, once per test program, then sizes the window and the viewport as asked. Returns
// false when no display is available (or the window cannot take the size).
bool ensureGlContext(int width = 256, int height = 256);
