#pragma once

// The browser build's side of the platform layer: the page the game runs in. The browser owns
// the frame loop there, so the game hands it one frame at a time and ends through the page,
// which then tells the player the game ended.
struct GLFWwindow;

namespace platform {

// Whether the page is shown and has the keyboard. The browser's GLFW never reports its window
// focused; the page follows its own blur, focus and visibility events instead.
bool pageHasFocus();

// The browser's GLFW has no sticky keys: a key pressed and let go between two slow frames
// would never be seen down. The window remembers each press until the game asks for the key.
void keepKeyTaps(GLFWwindow* window);
// Whether the key was pressed since it was last asked for; asking forgets it.
bool takeKeyTap(int key);

using PageFrame = bool (*)(void* game);
using PageFinish = int (*)(void* game);

// Calls frame(game) once for every picture the browser shows until it returns false, then
// finish(game), and ends the program with the code finish returned. Returns at once: the
// browser calls back after main has returned, so the game must outlive main.
void runInPage(PageFrame frame, PageFinish finish, void* game);

// Ends the program with this code; the page says that the game ended.
[[noreturn]] void endInPage(int exitCode);

} // namespace platform
