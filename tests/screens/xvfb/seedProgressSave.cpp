// Writes a game save holding a new profile with the given XP into a save
// folder, so that a road test starts from a player close to a rank.
// usage: zx_seed_progress_save <save folder> <xp>
#include <cstdlib>

#include "engine/engine.h"
#include "game/game.h"
#include "support/testGame.h"

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    CtestGame g;
    if (!g.initOk()) return 1;
    gEngine->setSaveFolder(argv[1]);
    gGame->progress.createNewProfile();
    gGame->progress.setXP(std::atoll(argv[2]));
    return gGame->saveLoad.saveGame(true) ? 0 : 1;
}
