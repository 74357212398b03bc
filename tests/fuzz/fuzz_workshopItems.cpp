// Workshop items: an item's record checked as the sync checks it (kind, ship
// block, hull image), and hull images through the image decoder. The first
// byte picks the reader.
#include <SDL.h>

#include "engine/render/texture.h"
#include "fuzzEngine.h"
#include "game/progress/playerShipMgr.h"
#include "game/workshopGlue.h"
#include "services/workshop.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzEngine();
    if (size < 1) return 0;
    const uint8_t* p = data + 1;
    size_t n = size - 1;
    if (data[0] % 2 == 0) {
        // The record as it stands unpacked; its header is made to match so the
        // blocks are what is read (the container has a target of its own).
        if (n < CwebMessage::kRecordHeaderSize) return 0;
        Cbytes flat(p, p + n);
        putU32(&flat[4], (uint32_t)n);
        putU32(&flat[8], (uint32_t)n);
        flat[12] = flat[13] = 0;
        CworkshopItemRecord item;
        item.publishedId = 9;
        if (!CwebMessage::unpackRecord(flat.data(), flat.size(), item.record)) return 0;
        CworkshopShipItem ship;
        if (Cworkshop::checkShipItem(item, ship)) {
            static CplayerShipMgr hangar;
            CworkshopGlue::importShip(hangar, ship);
            hangar.resetToBuiltIn();
        }
    } else if (SDL_Surface* s = CtextureMgr::decode(p, n, "fuzz hull")) {
        SDL_FreeSurface(s);
    }
    return 0;
}
