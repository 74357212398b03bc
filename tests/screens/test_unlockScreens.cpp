#include <gtest/gtest.h>

#include <cmath>

#include "engine/ui/menu.h"
#include "game/enemies/ship.h"
#include "game/progress/procShipUnlock.h"
#include "screens/confirm.h"
#include "screens/displayShip.h"
#include "screens/screenRegistry.h"
#include "screens/tbHub.h"
#include "screens/unlockChallengeShip.h"
#include "screens/unlockProcShip.h"
#include "screens/unlockShipMod.h"
#include "screens/unlockTBShip.h"
#include "screensFixture.h"

namespace {
constexpr const char* kTrackKey = "0123456789abcdef0123456789abcdef";

// The game just after a finished two-minute Standard track.
struct CshipOfferFixture {
    CscreensGame g;
    CrecordingScreen mainMenu;
    std::string startShip;
    CshipOfferFixture() {
        g->setScreen(GM_MAIN_MENU, &mainMenu);
        gUi->tutorials.find("Tut_ProcShip1")->seen = true;
        g->progress.cash = 5003;
        CgameSession& s = g->world.session;
        s.gameType = GAMETYPE_STANDARD;
        s.completion = 1.0f;
        s.track.title = "Night Drive";
        s.track.key = kTrackKey;
        s.track.length = 200;
        if (CplayerShipDef* ship = g->playerShips.currentShip()) startShip = ship->name();
    }
    std::string currentShip() { return g->playerShips.currentShip() ? g->playerShips.currentShip()->name() : ""; }
};
}  // namespace

// The track's ship is offered and flown while it is looked at. Back lets a new
// one go but never a ship the player owned; bought, it waits in the hangar
// while the old ship (No to the swap) stays current.
TEST(UnlockProcShip, TheTrackShipIsLetGoOrBoughtButAnOwnedOneNeverGoes) {
    const struct { const char* name; bool owned, buy; } rows[] = {
        {"let go", false, false}, {"owned", true, false}, {"bought", false, true}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        CshipOfferFixture f;
        ASSERT_TRUE(f.g.initOk());
        CtrackInfoView seed;
        seed.key = kTrackKey;
        if (r.owned) ASSERT_NE(f.g->playerShips.createProcShip(kTrackKey, seed), nullptr);
        EXPECT_EQ(unlockProcShipDue(), !r.owned);
        f.g->setGameMode(GM_UNLOCK_PROC_SHIP);
        f.g.settle();
        CunlockProcShipScreen& screen = *screens::get<CunlockProcShipScreen>();
        EXPECT_EQ(screen.alreadyOwned(), r.owned);
        EXPECT_EQ(f.currentShip(), kTrackKey);
        // The module the ship brings shows its model on the card.
        CshipModule module;
        module.initFromKey(kTrackKey);
        const Cgadget* prop = screen.screen()->findWidget("Module")->findTextGadget("Prop");
        ASSERT_NE(prop, nullptr);
        EXPECT_EQ(prop->propName, module.prop);
        const int price = r.buy ? screen.procShipPrice() : 0;
        if (r.buy) {
            EXPECT_EQ(price, CprocShipOffer::price(5003, f.g->playerShips.findShip(kTrackKey)->data.manufacturer,
                                                   screen.points(), false));
            f.g.tapAction(ACTION_SELECT);
            f.g.settle(5);
            CconfirmScreen* confirm = screens::get<CconfirmScreen>();
            ASSERT_TRUE(confirm->showing());
            f.g.click(itemWithValue(confirm->menu(), 0));
        } else {
            f.g.tapAction(ACTION_BACK);
        }
        f.g.settle(80);
        EXPECT_EQ(f.g->playerShips.findShip(kTrackKey) != nullptr, r.owned || r.buy);
        EXPECT_EQ(f.currentShip(), f.startShip);
        EXPECT_EQ(f.g->progress.cash, 5003 - price);
        EXPECT_EQ(f.mainMenu.enters, 1);
    }
}

TEST(UnlockTBShip, EachVisitTakesOnePendingShipVornakFirst) {
    CscreensGame g;
    ASSERT_TRUE(g.initOk());
    CrecordingScreen mainMenu;
    g->setScreen(GM_MAIN_MENU, &mainMenu);
    auto& screen = *screens::get<CunlockTBShipScreen>();
    g->vessikUnlockPending = g->vornakUnlockPending = g->goldShipUnlockPending = 1;
    g->setGameMode(GM_UNLOCK_TB_SHIP);
    g.settle();
    EXPECT_EQ(screen.prize(), CunlockTBShipScreen::SHIP_VORNAK);
    EXPECT_TRUE(g->progress.vor5);
    EXPECT_TRUE(specialShipPending());
    g.tapAction(ACTION_SELECT);
    g.settle(80);
    EXPECT_EQ(mainMenu.enters, 1);

    g->setGameMode(GM_UNLOCK_TB_SHIP);
    g.settle();
    EXPECT_EQ(screen.prize(), CunlockTBShipScreen::SHIP_VESSIK);
    g->setGameMode(GM_UNLOCK_TB_SHIP);
    g.settle();
    EXPECT_EQ(screen.prize(), CunlockTBShipScreen::SHIP_GOLD);
    EXPECT_TRUE(g->progress.vuz2);
    EXPECT_FALSE(specialShipPending());

    // Nothing pending: the gold ship is shown and nothing changes.
    g->progress.vuz2 = false;
    g->progress.saveDirty = false;
    g->setGameMode(GM_UNLOCK_TB_SHIP);
    g.settle();
    EXPECT_EQ(screen.prize(), CunlockTBShipScreen::SHIP_GOLD);
    EXPECT_FALSE(g->progress.vuz2);
    EXPECT_FALSE(g->progress.saveDirty);
}

TEST(UnlockShipMod, AModuleIsAddedOnceThenTheGameMovesOn) {
    CscreensGame g;
    ASSERT_TRUE(g.initOk());
    CrecordingScreen mainMenu;
    g->setScreen(GM_MAIN_MENU, &mainMenu);
    auto& screen = *screens::get<CunlockShipModScreen>();
    const size_t before = g->progress.modules.modules.size();
    CshipModule won;
    won.initFromKey("Vessik");
    const Cgadget* model = screen.screen()->findWidget("ModPos")->findTextGadget();
    for (int visit = 1; visit <= 2; ++visit) {
        screen.open("Vessik");
        g.settle(70);
        ASSERT_EQ(g->mode(), GM_UNLOCK_SHIP_MOD);
        // The module's model, full size, while the screen shows it.
        EXPECT_EQ(model->propName, won.prop);
        g.tapAction(ACTION_SELECT);
        g.settle(80);
        EXPECT_EQ(mainMenu.enters, visit);
        EXPECT_EQ(g->progress.modules.modules.size(), before + 1);
        EXPECT_TRUE(model->propName.empty());
    }
}

TEST(UnlockChallengeShip, TheShipMadeForTheShowGoesAndTheRewardScreenFollows) {
    CscreensGame g;
    ASSERT_TRUE(g.initOk());
    CrecordingScreen reward;
    g->setScreen(GM_UNLOCK_PROC_SHIP, &reward);
    const std::string key = "00112233445566778899aabbccddeeff";
    screens::get<CunlockChallengeShipScreen>()->setup(key, 2, "Prize Track", "Winner", 185);
    g->setGameMode(GM_UNLOCK_CHALLENGE_SHIP);
    g.settle();
    EXPECT_NE(g->playerShips.findShip(key), nullptr);
    g.tapAction(ACTION_SELECT);
    g.settle(80);
    EXPECT_EQ(g->playerShips.findShip(key), nullptr);
    EXPECT_EQ(reward.enters, 1);
}

TEST(TBHub, ShowsTheUnlockedShipsAndGoesBack) {
    CscreensGame g;
    ASSERT_TRUE(g.initOk());
    CrecordingScreen mainMenu;
    g->setScreen(GM_MAIN_MENU, &mainMenu);
    g->progress.vor5 = true;
    g->playerShips.setCurrentShip("Vessik");
    g->setGameMode(GM_TB_HUB);
    g.settle();
    Cscreen* s = screens::get<CtbHubScreen>()->screen();
    EXPECT_FALSE(s->findWidget("VornakUnlocked")->hidden);
    EXPECT_TRUE(s->findWidget("VessikUnlocked")->hidden);
    EXPECT_EQ(g->playerShips.currentIdx, 0);
    // The three ships fly at three spots apart, at every window shape.
    CtbHubScreen& hub = *screens::get<CtbHubScreen>();
    for (const CwindowShape& shape : kWindowShapes) {
        useWindowShape(shape);
        g.steps(2);
        for (int i = 0; i < 3; ++i) {
            ASSERT_NE(hub.shownShip(i), nullptr) << i;
            EXPECT_TRUE(clearOfButtonBar(hub.spot(i)->rect())) << i;
            for (int j = i + 1; j < 3; ++j) {
                EXPECT_FALSE(overlapping(hub.spot(i)->rect(), hub.spot(j)->rect())) << i << " " << j;
                const Cvec3 a = hub.shownShip(i)->pos, b = hub.shownShip(j)->pos;
                EXPECT_GT(std::fabs(a.x - b.x), hub.shownShip(i)->size + hub.shownShip(j)->size) << i << " " << j;
            }
        }
    }
    g.tapAction(ACTION_BACK);
    g.settle(80);
    EXPECT_EQ(mainMenu.enters, 1);
}

TEST(DisplayShip, FliesInPlaceAndFiresOnlyOnTheBeat) {
    CscreensGame g;
    ASSERT_TRUE(g.initOk());
    CplayerShipDef* vessik = g->playerShips.findShip("Vessik");
    ASSERT_NE(vessik, nullptr);
    CdisplayShip::clearScene();
    CdisplayShip shown;
    ASSERT_TRUE(shown.show(*vessik));
    // A spot near the screen's corner, beyond the arena's edge.
    shown.placeAtPixel(4.0f, 4.0f, 0.0f);
    const Cvec3 spot = shown.ship()->pos;
    for (int step = 0; step < 30; ++step) {
        CdisplayShip::updateScene();
        shown.placeAtPixel(4.0f, 4.0f, 0.0f);
        shown.fly(0.5f);
    }
    EXPECT_EQ(g->world.projectiles.count(), 0);
    EXPECT_EQ(shown.ship()->pos.x, spot.x);
    // The flame of a ship at speed though it stands still.
    EXPECT_GT(shown.ship()->vel.length(), 1.0f);

    shown.fly(CdisplayShip::kBeatLevel + 1.0f);
    EXPECT_GT(g->world.projectiles.count(), 0);
    EXPECT_EQ(shown.ship()->pos.x, spot.x);
    shown.forget();
    EXPECT_EQ(g->world.ships.count(), 0);
}
