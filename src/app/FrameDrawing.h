#pragma once

#include <memory>
#include <string>

#include "app/FrameView.h"

class BitmapFont;
class MenuLayout;
struct RaceState;

// Draws and presents one frame from what it is told (a FrameView): the display options'
// keys, the viewport, then the winner screen, the game-over screen, the frozen picture of a
// pause with the menu over it, or the level with the HUD; then the buffer swap. It owns the
// pictures it draws with (the life icon, the loading, game-over and winner screens) and the
// picture a pause keeps, and remembers where it drew the menu's lines for the mouse.
class FrameDrawing {
  public:
    enum class Picture { LifeIcon, Loading, GameOver, Winner };
    static constexpr int pictureCount = 4;

    FrameDrawing(int windowWidth, int windowHeight);
    ~FrameDrawing();
    FrameDrawing(const FrameDrawing&) = delete;
    FrameDrawing& operator=(const FrameDrawing&) = delete;

    // The font it writes and draws pictures with, borrowed; without one only the level is
    // drawn.
    void setFont(BitmapFont* font) { writer = font; }
    // Loads the pictures from the data tree; from then on they are its own.
    void loadPictures();
    // A picture made elsewhere (a test's), borrowed, in place of one.
    void usePicture(Picture which, unsigned int texture);
    void showLoadingScreen();

    void draw(const FrameView& view);
    // The viewport and the font follow the window; a paused picture of the old size is let go.
    void setWindowSize(int width, int height);
    int windowWidth() const { return width; }
    int windowHeight() const { return height; }
    // The menu line under the mouse as the last frame drew the menu; -1 for none.
    int menuLineAtCursor() const;

    // Gives back every texture it made, before the GL context goes.
    void releaseTextures();

  private:
    unsigned int picture(Picture which) const { return pictures[static_cast<int>(which)]; }
    void drawFullWindow(unsigned int texture);
    void showEndScreen(const FrameView& view, Picture which, const WinRecord* win);
    void freezeFrame();
    void releaseFrozenFrame();
    void showPausedFrame(const FrameView& view);
    void drawHud(const FrameView& view);

    int width;
    int height;
    BitmapFont* writer = nullptr;
    unsigned int pictures[pictureCount] = {0, 0, 0, 0};
    bool picturesLoaded = false;
    // The picture a pause shows, kept between frames (0 when none).
    unsigned int frozenFrame = 0;
    // Where the last frame put the menu (none when it drew no menu).
    std::unique_ptr<MenuLayout> shownMenu;
};

// The line the HUD centres for two seconds of the race after a life is lost: why, and the
// attempts left; empty when none is due.
std::string lifeLostLine(const RaceState& race);
