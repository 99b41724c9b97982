#pragma once

class Scene;

// The keys around a race: P or the gamepad's Start pauses and resumes (losing the window's
// focus pauses too), and on the winner or game-over screen Enter or the gamepad's A starts a
// new race. Keys and buttons count on being pressed, not while held.
enum class PlayEvent { None, Paused, Resumed, PlayAgain };

// Reads the keys once a frame and acts on the scene (which may be null); says what happened.
// A replay plays its own restarts: there the player's Enter does nothing.
PlayEvent handlePlayControls(Scene* scene, bool mayPlayAgain = true);
// Pauses, resumes or starts a new race as a recorded event asks (a replay's own events).
void applyPlayEvent(PlayEvent event, Scene* scene);
bool isPaused();
// Back to playing with no key remembered, for a new run or a test.
void resetPlayControls();
