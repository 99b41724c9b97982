#pragma once

// A thin layer over GLFW 3 that keeps the behaviour the game was designed around:
// the resize handler runs once at registration, events are processed right after
// every buffer swap, and "window still open" is a simple query.
namespace platform {

using ResizeHandler = void (*)(int width, int height);

bool initialize();
// Opens a windowed, resizable window with the driver's default (compatibility) context; a
// full-screen one covers the primary monitor at its current video mode, whatever the size.
bool openWindow(int width, int height, int depthBits, int stencilBits, int samples,
                bool visible = true, bool fullscreen = false);
// Moves the open window to full screen on the primary monitor (at its own mode) or back to a
// window of the given size; the resize handler hears the new size.
void setFullscreen(bool fullscreen, int windowedWidth, int windowedHeight);
// Whether a swap waits for the display's refresh (it does not unless asked).
void setVsync(bool on);
void setWindowTitle(const char* title);
// Registers the handler and calls it at once with the window's current size.
void setResizeHandler(ResizeHandler handler);
// Presents the back buffer, then processes pending window events.
void swapBuffers();
// Called with nothing right before every swap, while the finished frame is still in the back
// buffer (tests read it there). nullptr removes it.
using SwapHook = void (*)();
void setBeforeSwapHook(SwapHook hook);
bool isWindowOpen();
void closeWindow();
void terminate();

} // namespace platform
