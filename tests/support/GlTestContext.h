#pragma once

// Opens one visible window with a compatibility context (under Xvfb in CI) and starts GLEW
// and DevIL, once per test program. Returns false when no display is available.
bool ensureGlContext(int width = 256, int height = 256);
