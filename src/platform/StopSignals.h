#pragma once

// A logout, a window manager or Ctrl-C in the terminal asks the game to stop with SIGHUP,
// SIGTERM or SIGINT. The game then ends as Escape ends it, so the race is kept and every file
// is written whole: the handler only notes the signal, and the frame loop, which asks after
// it once a frame, closes the game. A second signal while it closes ends it at once.
namespace platform {

// Installs the handlers; the first of the three signals from then on is noted.
void catchStopSignals();
// The signal that asked the game to stop, or 0 when none did.
int stopSignal();
// "SIGINT", "SIGTERM" or "SIGHUP".
const char* stopSignalName(int signal);

} // namespace platform
