#pragma once

// A GL error is read once a frame and printed in one line, so a fault that repeats every frame
// is seen without drowning the console.
namespace platform {

// The GL error text for one glGetError() value ("" for no error).
const char* glErrorMessage(unsigned int error);
// Reads one GL error and prints its text on the error stream; nothing when there is none.
void reportGlError();

} // namespace platform
