#pragma once

class Scene;
class BitmapFont;
class RaceSession;

// The application shell: start-up, the per-frame update, GL error reporting, the resize
// handler and shutdown. The frame loop itself lives in runGame().

// Runs the whole program: banner, start-up, frame loop, shutdown. Returns the exit code.
int runGame();

// Start-up after the banner; returns false (having printed why) when the program must exit 1.
bool initApplication();
void updateFrame();
void checkGLError();
void onWindowResize(int width, int height);
void shutdownApplication();

// The GL error text for one glGetError() value ("" for no error).
const char* glErrorMessage(unsigned int error);

// What the frame composition and the display options reach.
Scene* getScene();
BitmapFont* getFont();
unsigned int getScreenTexture(int slot);

// Where the race's input comes from and goes to (created by runGame when nobody set one).
RaceSession* getRaceSession();
void setRaceSession(RaceSession* session);

// Let a test drive the frame with a scene, font or screen picture it created itself.
void setScene(Scene* scene);
void setFont(BitmapFont* font);
void setScreenTexture(int slot, unsigned int texture);
