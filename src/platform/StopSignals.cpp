#include "platform/StopSignals.h"

#include <csignal>
#include <signal.h>

namespace {

const int stopSignals[] = {SIGINT, SIGTERM, SIGHUP};

volatile std::sig_atomic_t caught = 0;

void setHandler(int signal, void (*handler)(int)) {
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signal, &action, nullptr);
}

// Only what is safe in a handler: note the signal and hand the three back to the system, so
// the next one ends the game at once, whatever it was doing.
void noteStop(int signal) {
    if (caught == 0)
        caught = signal;
    for (int each : stopSignals)
        setHandler(each, SIG_DFL);
}

} // namespace

namespace platform {

void catchStopSignals() {
    caught = 0;
    for (int each : stopSignals)
        setHandler(each, noteStop);
}

int stopSignal() {
    return caught;
}

const char* stopSignalName(int signal) {
    switch (signal) {
    case SIGINT:
        return "SIGINT";
    case SIGTERM:
        return "SIGTERM";
    case SIGHUP:
        return "SIGHUP";
    default:
        return "a signal";
    }
}

} // namespace platform
