#include <gtest/gtest.h>

#include <algorithm>

#include "game/gameTypes.h"
#include "game/musicLink.h"
#include "game/pickups.h"
#include "screens/partyHUD.h"
#include "screens/screenRegistry.h"
#include "trackRoad.h"

namespace {
struct CpartyHudFixture : CtrackRoad {
    CpartyHud* hud = nullptr;
    CrecordingScreen gameOver;
    CpartyHudFixture(int players, int gameType, int teamMode, bool carnage = false)
        : CtrackRoad(30.0) {
        if (!g.initOk()) return;
        g->setScreen(GM_GAME_OVER_PARTY, &gameOver);
        g->namedColours.load();
        CpartyMgr& party = g->world.party;
        party.reset("Ann", "Standard");
        const char* names[] = {"Bob", "Cy", "Di"};
        for (int p = 1; p < players; ++p) party.join(names[p - 1], "Standard", p);
        CgameSession& s = g->world.session;
        s.partyMode = true;
        s.gameType = gameType;
        s.party.teamMode = teamMode;
        s.party.carnageRules = carnage;
        if (track) s.track = trackInfoFromSong(*track);
        s.startGame();
        g.steps(2);
        hud = screens::get<CpartyHud>();
    }
    CgameSession& session() { return g->world.session; }
    CpowerUpRecord& team(int t) { return g->world.powerUps.team(t); }
    float bar(int t, const char* name) { return hud->panel(t)->findProgressBar(name)->fill; }
    std::string text(int t, const char* gadget) { return hud->panel(t)->getText(gadget); }
};
}  // namespace

TEST(PartyHud, TheLeaderWearsTheCrownAndATieKeepsTheFirst) {
    CpartyHudFixture f(3, GAMETYPE_STANDARD, TEAMMODE_HEAD_TO_HEAD);
    ASSERT_TRUE(f.g.initOk());
    ASSERT_NE(f.hud, nullptr);
    ASSERT_EQ(f.g.mode(), GM_PLAYING);
    EXPECT_TRUE(f.hud->panel(2)->shown());
    EXPECT_FALSE(f.hud->panel(3)->shown());

    f.session().teamScores = {1000, 1000, 50, 0};
    f.hud->update();
    EXPECT_EQ(f.hud->leader(), 0);
    EXPECT_TRUE(f.hud->winner(0)->shown());
    EXPECT_FALSE(f.hud->winner(1)->shown());

    f.session().teamScores = {1000, 25000, 50, 0};
    f.g->world.party.slot(1).name = "Bobby";
    f.hud->update();
    EXPECT_EQ(f.hud->leader(), 1);
    EXPECT_FALSE(f.hud->winner(0)->shown());
    EXPECT_TRUE(f.hud->winner(1)->shown());
    EXPECT_EQ(f.text(1, "Score"), "25,000");
    EXPECT_EQ(f.text(1, "Name"), "Bobby");
}

// The track's progress marker runs along the bar's progress line, from its
// start to its end, and never over the track's title or the time left. A
// weapon level rise eases the power bar; weapon rows count the stock.
TEST(PartyHud, TheProgressMarkerFollowsTheLineAndTheBarsTheWeapons) {
    CpartyHudFixture f(2, GAMETYPE_STANDARD, TEAMMODE_HEAD_TO_HEAD);
    ASSERT_TRUE(f.g.initOk());
    Cwidget* bar = f.hud->musicBar();
    auto gadgetBox = [&](const char* name) {
        const Cgadget* g = bar->findGadget(name);
        const float s = bar->uiScale * bar->scale;
        return Crect{bar->x + (g->offsetX - g->width * 0.5f) * s, bar->y + (g->offsetY - g->height * 0.5f) * s,
                     g->width * s, g->height * s};
    };
    // The marker only moves on: each progress is taken at every shape. The track has been playing in real
    // time since the set-up, so the first is well past what a slow set-up may have heard of it.
    for (float progress : {0.2f, 0.5f, 1.0f}) {
        f.session().completion = progress;
        f.hud->update();
        for (const CwindowShape& shape : kWindowShapes) {
            useWindowShape(shape);
            SCOPED_TRACE(std::to_string(shape.w) + "x" + std::to_string(shape.h) + " at " + std::to_string(progress));
            const Crect line = gadgetBox("Progress"), m = f.hud->progressMarker();
            EXPECT_FALSE(overlapping(m, gadgetBox("Title")));
            EXPECT_FALSE(overlapping(m, gadgetBox("TimeLeft")));
            EXPECT_NEAR(m.cy(), line.cy(), 0.5f);
            EXPECT_NEAR(m.cx(), line.x + line.w * progress, 0.5f);
        }
    }
    useWindowShape(kWindowShapes[0]);

    f.team(1)[PU_WEAPON_POWER] = 3;
    f.hud->update();
    EXPECT_FLOAT_EQ(f.bar(1, "PowerBar"), 0.6f);
    // The session tells the HUD before the level goes up.
    f.session().onPickup(1, PICKUP_POWER, 1);
    ASSERT_EQ(CpowerUps::getPowerUpLevel(f.team(1), PU_WEAPON_POWER), 4);
    f.hud->update();
    EXPECT_NEAR(f.bar(1, "PowerBar"), 0.6f, 0.02f);
    const int half = (int)(0.5f / f.g->world.stepTime());
    for (int i = 0; i < half; ++i) f.hud->update();
    float middle = f.bar(1, "PowerBar");
    EXPECT_GT(middle, 0.6f);
    EXPECT_LT(middle, 0.8f);
    for (int i = 0; i < half + 2; ++i) f.hud->update();
    EXPECT_FLOAT_EQ(f.bar(1, "PowerBar"), 0.8f);

    // Weapon rows count the stock; a panel without one of its row texts still shows the others.
    CperkMgr& perks = f.g->world.perks;
    ASSERT_TRUE(perks.partyOverride());
    for (int perk : {PERK_SUPER_BOMB, PERK_EMP, PERK_MICRO_MISSILES}) {
        perks.setUnlocked(perk, true);
        perks.setPartyEnabled(perk, true);
    }
    f.team(0)[PU_SUPER_BOMB] = 3;
    f.team(0)[PU_MICRO_MISSILE] = 7;
    f.team(0)[PU_EMP] = 6;
    f.hud->update();
    EXPECT_EQ(f.text(0, "WeaponNum1"), "");
    EXPECT_EQ(f.text(0, "WeaponNum2"), "x7");
    EXPECT_EQ(f.text(0, "WeaponNum3"), "x6");

    auto& gadgets = f.hud->panel(1)->gadgets;
    gadgets.erase(std::remove_if(gadgets.begin(), gadgets.end(), [](const Cgadget& g) { return g.name == "WeaponNum2"; }),
                  gadgets.end());
    f.team(1)[PU_EMP] = 9;
    f.hud->update();
    f.hud->render();
    EXPECT_EQ(f.text(1, "WeaponNum3"), "x9");
}

TEST(PartyHud, TheMetersFollowTheShipAboveTheirThresholds) {
    CpartyHudFixture f(2, GAMETYPE_STANDARD, TEAMMODE_HEAD_TO_HEAD, true);
    ASSERT_TRUE(f.g.initOk());
    Cship* ship = f.g->world.ships.playerShip(1);
    ASSERT_NE(ship, nullptr);
    f.session().respawnTimers[1] = 0;
    f.team(1)[PU_DAREDEVIL] = 0.3f;
    f.hud->update();
    EXPECT_FALSE(f.hud->dareDevil(1)->shown());

    f.team(1)[PU_DAREDEVIL] = 0.65f;
    f.g->world.powerUps.player(1).values[PPU_SURVIVOR] = 0.875f;
    f.hud->update();
    Cvec2 at = f.g->world.camera.planeToScreen(ship->pos);
    Cwidget* dd = f.hud->dareDevil(1);
    ASSERT_TRUE(dd->shown());
    EXPECT_NEAR(dd->x, at.x, 0.5f);
    EXPECT_NEAR(dd->findProgressBar()->fill, 0.5f, 1e-4f);
    // The survivor meter makes room under the dare-devil meter.
    Cwidget* sv = f.hud->survivor(1);
    ASSERT_TRUE(sv->shown());
    float firstGap = sv->y - dd->y;
    for (int i = 0; i < 60; ++i) f.hud->update();
    EXPECT_GT(sv->y - dd->y, firstGap);

    // Carnage: the best turret's health, above the ship.
    EXPECT_LT(f.hud->carnageHealth(1)->y, at.y);

    // Nothing follows a ship that is coming back.
    f.session().respawnTimers[1] = 1.0f;
    f.hud->update();
    EXPECT_FALSE(dd->shown());
    EXPECT_FALSE(sv->shown());
}
