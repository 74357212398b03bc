// Ships from outside: a workshop ship's data block and the progress kept
// beside it, and the hangar record of a save.
#include "fuzzEngine.h"
#include "game/progress/playerShipMgr.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzEngine();
    CplayerShipDef ship;
    if (ship.readDataBlock(data, size)) {
        ship.clearImportFlag();
        ship.finishDef();
    }
    ship.readOutside(data, size);
    static CplayerShipMgr ships;
    std::vector<CplayerShipMgr::CshipPtr> staged;
    ships.read(data, size, staged);
    return 0;
}
