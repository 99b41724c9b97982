#pragma once

// A one-shot sound the race asks for.
struct SoundCue {
    enum class Kind { Impact, LifeLost, Tick, Win, GameOver };
    Kind kind;
    // How hard an impact was, from 0 (barely heard) to 1; 1 for the other kinds.
    float strength = 1.0f;
};
