// Zorbex: start-up, the main loop and shutdown.
#include <SDL.h>

#include <cstdio>
#include <string>

#include "engine/crashHandler.h"
#include "engine/engine.h"
#include "game/frameLoop.h"
#include "game/game.h"
#include "game/testPad.h"

namespace {
// The arguments as one line (already UTF-8 on this platform); switches are
// matched anywhere in it.
std::string commandLineOf(int argc, char** argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) line += ' ';
        line += argv[i];
    }
    return line;
}

// A failed init ends the program with the failing step's own log line in the
// message box.
[[noreturn]] void failStartUp(Cengine* engine, const char* what) {
    if (engine->log.lastLine().empty()) engine->logFatal("%s", what);
    engine->fatalError();
}
}  // namespace

int main(int argc, char** argv) {
    // Without a display the game would run on unseen: say so and stop.
    std::string noDisplay;
    if (!Cplatform::checkDisplay(noDisplay)) {
        fprintf(stderr, "Zorbex: %s\n", noDisplay.c_str());
        return 2;
    }
    Cplatform::installSignalHandlers();
    Cplatform::keepFreedMemory();
    Cengine* engine = Cengine::create();
    if (!engine) return 1;
    Cgame* game = Cgame::create();
    if (!game) return 1;

    engine->setDataRoot(findDataRoot(argc > 0 ? argv[0] : nullptr));
    if (!engine->init(commandLineOf(argc, argv))) failStartUp(engine, "Engine init failed");
    installCrashHandler();
    if (!game->init()) failStartUp(engine, "Game init failed");
    if (!game->startUp()) failStartUp(engine, "Start-up failed");

    CtestPad testPad;
    testPad.start();
    CframeLoop loop;
    loop.start();
    loop.runPeriod();   // one first update before the loop
    while (!game->quit) {
        testPad.update();
        // Nothing to do until the next period is due: give the time back.
        if (!loop.runPass()) SDL_Delay(1);
    }

    game->shutDown();
    const int exitCode = game->exitCode;
    engine->log.print(LOG_L, "Shutdown");
    Cgame::destroy();
    // The renderer lets go of its GL objects while the context still exists.
    if (engine->renderer.isReady()) shutdownRendering();
    Cengine::destroy();
    return exitCode;
}
