#include "app/Game.h"
#include "platform/StopSignals.h"
#include "session/RaceSession.h"
#include "session/SessionStart.h"
#include "settings/GameSetup.h"

#ifdef __EMSCRIPTEN__
#include <emscripten.h>

#include <filesystem>
#include <iomanip>
#include <sstream>
#include <string>

#include "assets/Sphere.h"
#include "platform/WebPage.h"
#include "scene/Scene.h"
#include "session/BestTimes.h"

namespace {

// The browser calls back for each frame after main has returned: the game lives on the heap
// until its last frame.
Game* pageGame = nullptr;
long framesDrawn = 0;

bool drawOneFrame(void* game) {
    ++framesDrawn;
    return static_cast<Game*>(game)->frame();
}

int finishGame(void* game) {
    static_cast<Game*>(game)->shutdown();
    delete static_cast<Game*>(game);
    pageGame = nullptr;
    return 0;
}

const char* outcomeName(const RaceState& race) {
    return race.isWon() ? "won" : race.isGameOver() ? "over" : "running";
}

} // namespace

// The race as a script driving the page reads it (window.quillorb.status() in web/page.js):
// one JSON object, or {} before the game has started.
extern "C" EMSCRIPTEN_KEEPALIVE const char* quillorbStatus() {
    static std::string text;
    std::ostringstream json;
    json << std::setprecision(9);
    if (!pageGame) {
        json << "{}";
    } else {
        const GamePlay& game = pageGame->played();
        const RaceState& race = game.race();
        json << "{\"frames\":" << framesDrawn << ",\"fps\":" << game.clock().getFps()
             << ",\"raceTime\":" << race.simulationTime << ",\"remaining\":" << race.remainingTime
             << ",\"lives\":" << race.lives << ",\"outcome\":\"" << outcomeName(race)
             << "\",\"winningTime\":" << race.winningTime
             << ",\"paused\":" << (game.controls().isPaused() ? "true" : "false")
             << ",\"quality\":\"" << rungName(game.qualityRung()) << "\"";
        if (const Scene* scene = game.scene(); scene && scene->getMarble()) {
            const glm::vec3 marble = scene->getMarble()->getBoundingCenter();
            json << ",\"marble\":[" << marble.x << "," << marble.y << "," << marble.z << "]";
        }
        const BestTimes* best = game.wins().getBestTimes();
        if (best && !best->entries().empty())
            json << ",\"best\":" << best->entries().front().seconds;
        json << "}";
    }
    text = json.str();
    return text.c_str();
}

// The page's main: the same start-up as the desktop's; then the browser drives the frames, and
// the page reports how the game ended.
int main(int argc, char** argv) {
    // The data bundle unpacks into /quillorb: the page starts the game there, as a player
    // starts the desktop's from run/.
    std::error_code error;
    std::filesystem::current_path("/quillorb", error);
    static GameOptions options;
    int exitCode = 0;
    if (!setUpGame(argc, argv, options, exitCode))
        platform::endInPage(exitCode);
    RaceSession* session = startRaceSession(options);
    if (!session)
        platform::endInPage(2);
    pageGame = new Game(options);
    pageGame->adoptRaceSession(session);
    if (!pageGame->startUp()) {
        delete pageGame;
        pageGame = nullptr;
        platform::endInPage(1);
    }
    platform::runInPage(drawOneFrame, finishGame, pageGame);
    return 0;
}

#else

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

#endif
