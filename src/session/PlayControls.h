#pragma once

#include "sound/SoundFade.h"

class Scene;
struct RaceState;

// What the player's keys around a race did in one frame.
enum class PlayEvent { None, Paused, Resumed, PlayAgain };

// The keys around a race: P or the gamepad's Start pauses and resumes (losing the window's
// focus pauses too), and on the winner or game-over screen Enter or the gamepad's A starts a
// new race. Keys and buttons count on being pressed, not while held. A pause fades the music
// and the effects out and a resume back in (SoundFade), on the time source's clock.
class PlayControls {
  public:
    // Reads the keys once a frame and acts on the race and its scene (which may be null);
    // says what happened. A replay plays its own restarts: there the player's Enter does
    // nothing.
    PlayEvent handle(Scene* scene, RaceState& race, bool mayPlayAgain = true);
    // Pauses, resumes or starts a new race as an event asks.
    void apply(PlayEvent event, Scene* scene, RaceState& race);
    bool isPaused() const { return paused; }

  private:
    void setPaused(bool pause, Scene* scene);

    bool paused = false;
    SoundFade fade;
    bool pauseKeyWasDown = false;
    bool enterWasDown = false;
    bool keypadEnterWasDown = false;
    bool startWasDown = false;
    bool buttonAWasDown = false;
    bool hadFocus = true;
};
