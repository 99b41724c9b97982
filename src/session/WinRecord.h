#pragma once

// What the winner screen tells about the race just won: its time (every attempt of the race
// counted, as simulated) and how it stands against the best times kept.
struct WinRecord {
    bool known = false;
    double seconds = 0.0;
    bool hasBest = false;
    double bestSeconds = 0.0;
    bool newBest = false;
    // The best time before this race was put among them, to tell how far it was off.
    bool hadPreviousBest = false;
    double previousBestSeconds = 0.0;
};
