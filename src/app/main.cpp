#include "app/Application.h"
#include "app/GameSetup.h"

int main(int argc, char** argv) {
    int exitCode = 0;
    if (!setUpGame(argc, argv, exitCode))
        return exitCode;
    if (!startRaceSession())
        return 2;
    return runGame();
}
