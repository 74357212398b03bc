// Zorbex: start-up, the main loop and shutdown.
#include <cstdio>
#include <string>

#include "engine/crashHandler.h"
#include "engine/engine.h"

int main(int argc, char** argv) {
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) commandLine += ' ';
        commandLine += argv[i];
    }
    Cengine* engine = Cengine::create();
    if (!engine) return 1;
    engine->setDataRoot(findDataRoot(argc > 0 ? argv[0] : nullptr));
    if (!engine->init(commandLine)) {
        engine->logFatal("Engine init failed");
    }
    installCrashHandler();
    Cengine::destroy();
    return 0;
}
