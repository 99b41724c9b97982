#include <gtest/gtest.h>

#include <csignal>

#include <unistd.h>

#include "platform/StopSignals.h"

// The first stop signal is only noted, for the frame loop to close the game as Escape does;
// a second one, of whichever kind, while the game closes ends it at once.
TEST(StopSignalsDeathTest, TheFirstSignalIsNotedAndASecondEndsTheGameAtOnce) {
    const struct {
        int first;
        int second;
    } rows[] = {{SIGTERM, SIGTERM}, {SIGINT, SIGHUP}, {SIGHUP, SIGINT}};
    for (const auto& row : rows) {
        EXPECT_EXIT(
            {
                platform::catchStopSignals();
                std::raise(row.first);
                if (platform::stopSignal() != row.first)
                    _exit(3);
                std::raise(row.second);
                _exit(0);
            },
            testing::KilledBySignal(row.second), "")
            << platform::stopSignalName(row.first) << " then "
            << platform::stopSignalName(row.second);
    }
}
