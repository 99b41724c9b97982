#pragma once

#include <string>

// Puts text in place as the whole of the file at path, or leaves the file as it was: the text
// goes to path + ".tmp", is flushed to the disk and renamed over path in one step, creating
// missing folders on the way. Returns "" on success, otherwise why it failed (and nothing of
// the attempt is left behind).
std::string replaceFileWhole(const std::string& path, const std::string& text);
