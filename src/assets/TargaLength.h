#pragma once

// Whether a run-length coded TGA file ends before the pixels its header announces. DevIL
// decodes such a file without complaint (its packets simply stop), so the loader asks here.
// False for every other file: an uncompressed TGA cut short is refused by the decoder itself.
bool targaEndsEarly(const char* path);
