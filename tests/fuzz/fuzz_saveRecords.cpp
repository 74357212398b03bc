// The record streams of the game save, the settings and the high scores, read
// through the game's own records (every reader, then the all-or-nothing commit).
#include "fuzzEngine.h"
#include "game/progress/saveLoad.h"

namespace {
struct Cworld {
    CplayerProgress progress;
    CplayerShipMgr ships;
    CachievementDefs ach;
    CtrackStats tracks;
    CsaveLoad save{progress, ships, ach, tracks};
    Cworld() {
        ships.loadBuiltIn();
        ach.load();
    }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzEngine();
    Cworld w;
    // The first byte picks the file; the rest is its stream.
    if (size < 1) return 0;
    const uint8_t* p = data + 1;
    size_t n = size - 1;
    switch (data[0] % 4) {
        case 0: w.save.gameFile().deserialise(p, n); break;
        case 1: w.save.settingsFile().deserialise(p, n); break;
        case 2: w.save.highScoresFile().deserialise(p, n); break;
        default: w.save.newsFeedFile().deserialise(p, n); break;
    }
    // What was committed must write back out.
    w.save.gameFile().serialise();
    w.save.settingsFile().serialise();
    return 0;
}
