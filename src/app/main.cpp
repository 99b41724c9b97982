#include "app/Game.h"
#include "app/GameSetup.h"
#include "session/RaceSession.h"

int main(int argc, char** argv) {
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
