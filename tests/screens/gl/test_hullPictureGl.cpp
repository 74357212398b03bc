// A ship's own hull picture drawn in the hangar of a game that did not make
// it: after a restart (the ship read back from its saved record) and after a
// workshop import into another player's game. The pictures are left in
// screenshots/hull of the build folder.
#include <gtest/gtest.h>

#include "game/progress/playerShipDef.h"
#include "game/workshopGlue.h"
#include "screens/hangar.h"
#include "screens/screenRegistry.h"
#include "services/workshop.h"
#include "shownScreen.h"

namespace {
constexpr uint64_t kOtherPlayer = 76561197960265999ull, kPublishedId = 9001;

// A hull picture no plain hull could be taken for: its top half pure red, its
// bottom half pure green.
Cbytes hullPicture() {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 64, 64, 32, SDL_PIXELFORMAT_RGBA32);
    SDL_Rect top{0, 0, 64, 32}, bottom{0, 32, 64, 32};
    SDL_FillRect(s, &top, SDL_MapRGBA(s->format, 255, 0, 0, 255));
    SDL_FillRect(s, &bottom, SDL_MapRGBA(s->format, 0, 255, 0, 255));
    Cbytes png(64 * 1024);
    SDL_RWops* rw = SDL_RWFromMem(png.data(), (int)png.size());
    IMG_SavePNG_RW(s, rw, 0);
    png.resize((size_t)SDL_RWtell(rw));
    SDL_RWclose(rw);
    SDL_FreeSurface(s);
    return png;
}

// How many pixels of a square around a point are nearly the given pure colour
// (channel 0 red, 1 green).
int purePixelsAround(SDL_Surface* s, int cx, int cy, int half, int channel) {
    int n = 0;
    for (int y = std::max(cy - half, 0); y < std::min(cy + half, s->h); ++y)
        for (int x = std::max(cx - half, 0); x < std::min(cx + half, s->w); ++x) {
            const SDL_Color p = pixelAt(s, x, y);
            const int c[3] = {p.r, p.g, p.b};
            bool pure = c[channel] > 180;
            for (int o = 0; o < 3; ++o) pure = pure && (o == channel || c[o] < 70);
            n += pure ? 1 : 0;
        }
    return n;
}

// A new design with the hull picture, made in a game of its own; its saved
// record and its workshop item, as that game would hand them on.
struct CmadeShip {
    Cbytes saved;
    CworkshopShipItem item;
    std::string name;
    CmadeShip() {
        CscreensGame maker;
        CplayerShipDef* ship = maker->playerShips.createCustomShip();
        ship->hullImage = hullPicture();
        ship->hullSprite.clear();   // as the editor leaves a ship given a picture
        name = ship->name();
        maker->playerShips.write(saved);
        item.dataBlock.resize(CplayerShipData::kBlockSize);
        ship->writeDataBlock(item.dataBlock.data());
        item.hullImage = ship->hullImage;
        item.title = "Painted";
        item.owner = kOtherPlayer;
        item.publishedId = kPublishedId;
    }
};

struct ChullRow {
    const char* label;
    // Brings the made ship into the game; the name it is held under.
    std::string (*arrive)(const CmadeShip& made);
};

const ChullRow kHullRows[] = {
    {"restart",
     [](const CmadeShip& made) {
         std::vector<CplayerShipMgr::CshipPtr> staged;
         if (!gGame->playerShips.read(made.saved.data(), made.saved.size(), staged)) return std::string();
         gGame->playerShips.applyLoaded(staged);
         return made.name;
     }},
    {"workshopImport",
     [](const CmadeShip& made) {
         if (!CworkshopGlue::importShip(gGame->playerShips, made.item)) return std::string();
         const CplayerShipDef* ship = gGame->playerShips.findPublished(kPublishedId);
         return ship ? ship->name() : std::string();
     }},
};
}  // namespace

TEST(HullPictureGl, TheHangarDrawsTheHullFromItsPicture) {
    for (const ChullRow& row : kHullRows) {
        SCOPED_TRACE(row.label);
        const CmadeShip made;
        CshownScreen s;
        s.folder = "screenshots/hull";
        ASSERT_TRUE(s.g.initOk());
        const std::string name = row.arrive(made);
        ASSERT_FALSE(name.empty());
        ASSERT_TRUE(s.g->playerShips.setCurrentShip(name));
        for (const char* t : {"Tut_ShipHangar3", "Tut_ShipHangar4", "Tut_ShipHangar5"}) gUi->tutorials.find(t)->seen = true;
        ASSERT_TRUE(s.reach(GM_HANGAR, 60)) << "run under Xvfb";
        Cpicture shot = s.take((std::string(row.label) + ".png").c_str());
        ASSERT_TRUE(shot);
        const Cwidget* spot = screens::get<ChangarScreen>()->screen()->findWidget("ShipSpot");
        ASSERT_NE(spot, nullptr);
        EXPECT_GT(purePixelsAround(shot.get(), (int)spot->x, (int)spot->y, 120, 0), 200);
        EXPECT_GT(purePixelsAround(shot.get(), (int)spot->x, (int)spot->y, 120, 1), 200);
    }
}
