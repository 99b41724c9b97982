#include "app/Game.h"
#include "app/GameSetup.h"
#include "platform/StopSignals.h"
#include "session/RaceSession.h"

int main(int argc, char** argv) {
    // From here on a stop asked by the system ends the game as Escape does.
    platform::catchStopSignals();
    GameOptions options;
    int exitCode = 0;
    if (!setUpGame(argc, argv, options, exitCode))
        return exitCode;
    RaceSession* session = startRaceSession(options);
    if (!session)
        return 2;
    Game game(options);
    game.adoptRaceSession(session);
    return game.run();
}
