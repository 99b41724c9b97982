#pragma once

// Whether a run-length coded TGA file ends before the pixels its header announces. DevIL
// decodes such a file without complaint (its packets simply stop), so the loader asks here.
// False for every other file: an uncompressed TGA cut short is refused by the decoder itself.
bool targaEndsEarly(const char* path);
// Whether the file is named as a TGA (".tga", any case): TGA has no signature, so the decoders
// go by the name, as DevIL does.
bool hasTargaName(const char* path);
