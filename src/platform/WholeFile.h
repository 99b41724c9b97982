#pragma once

#include <string>

// The one place where the game changes the files it keeps for the player (settings, best
// times, replays, the quality it settled at): each change ends here, in a rename, a new file
// or a removal. In the browser those files live in memory, and every change here has them
// written back to the browser's storage once the frame is over; on the desktop they are on
// disk already.

// Puts text in place as the whole of the file at path, or leaves the file as it was: the text
// goes to path + ".tmp", is flushed to the disk and renamed over path in one step, creating
// missing folders on the way. Returns "" on success, otherwise why it failed (and nothing of
// the attempt is left behind).
std::string replaceFileWhole(const std::string& path, const std::string& text);

// Writes text as a new file at path, never over one that is there, even one made a moment
// ago; creates missing folders. Returns 0, or the errno of the failure (EEXIST: the file was
// there and is untouched; otherwise nothing of the attempt is left behind).
int createFileWhole(const std::string& path, const std::string& text);

// Renames from onto to in one step: a file written whole under another name, put in place,
// or a file moved aside. Returns "" on success, otherwise why it failed.
std::string moveFile(const std::string& from, const std::string& to);

// Removes a file the game wrote and no longer wants; one that is not there is no failure.
void removeFile(const std::string& path);
