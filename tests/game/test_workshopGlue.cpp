// The game's side of the workshop: the publish and sync flows seen through the
// status, the overlay and the hangar.
#include <gtest/gtest.h>

#include "game/workshopGlue.h"
#include "platform/steam/steamLocal.h"
#include "services/workshop.h"
#include "support/testGame.h"

namespace {

constexpr uint64_t kOtherPlayer = 76561197960265999ull;

// A ship another player has put on the workshop; its published id.
uint64_t publishByOther(const std::string& identifier, const std::string& title, const std::string& description) {
    CplayerShipData d;
    d.identifier = d.displayName = identifier;
    Cbytes block(CplayerShipData::kBlockSize);
    d.write(block.data(), 0);
    Cbytes record;
    uint8_t word[4];
    putU32(word, Cworkshop::kItemKindShip);
    CwebMessage::addBlock(record, Cworkshop::kBlockKind, word, 4);
    CwebMessage::addBlock(record, Cworkshop::kBlockShip, block.data(), (uint32_t)block.size());
    return steamLocal::addWorkshopItem(kOtherPlayer, title, description, CwebMessage::packRecord(record), Cbytes(4, 0));
}

struct CglueFixture {
    CglueFixture() {
        gEngine->workshop.init();
        EXPECT_TRUE(gGame->warningOverlay.load());
    }
    // Steam's callbacks and the game's update of the glue, until the client rests.
    void run() {
        for (int i = 0; i < 200; ++i) {
            SteamAPI_RunCallbacks();
            gGame->workshop.updateStatus();
            if (gEngine->workshop.state == Cworkshop::STATE_IDLE && steamLocal::pendingResults() == 0) break;
        }
        gGame->workshop.updateStatus();
    }
    CtestGame game;
};

}  // namespace

TEST(WorkshopGlue, TheAgreementPageOpensOnceTheErrorIsClosed) {
    CglueFixture f;
    steamLocal::faults().workshopAgreementNeeded = true;
    CplayerShipDef* ship = f.game->playerShips.createCustomShip();
    f.game->workshop.publishShip(*ship, Cbytes(16, 1), true);
    f.run();
    EXPECT_EQ(ship->data.publishedFinal, 0);   // not out: it may be published again
    EXPECT_TRUE(f.game->warningOverlay.visible);
    EXPECT_TRUE(f.game->workshop.errorShown);
    EXPECT_TRUE(steamLocal::counters().lastOverlayUrl.empty());
    f.game->warningOverlay.setVisible(false);
    f.game->workshop.updateStatus();
    EXPECT_EQ(steamLocal::counters().lastOverlayUrl, CworkshopGlue::kAgreementPage);
    EXPECT_FALSE(f.game->workshop.agreementNeeded);
    steamLocal::faults().workshopAgreementNeeded = false;
}

// The sync brings subscribed ships into the hangar, once a run. Two publishes
// asked for during it wait for it, then both go out, one after the other,
// each told on its own; only the one sent as final is finished, and only once
// it is out.
TEST(WorkshopGlue, TwoPublishesDuringTheSyncBothGoOut) {
    CglueFixture f;
    uint64_t id = publishByOther("Kite", "Kite Deluxe", "from a friend");
    ASSERT_TRUE(steamLocal::subscribeWorkshopItem(id));
    f.game->workshop.startSubscribedSync();
    ASSERT_EQ(gEngine->workshop.state, Cworkshop::STATE_SYNCING);
    const std::string first = f.game->playerShips.createCustomShip()->name();
    const std::string second = f.game->playerShips.createCustomShip()->name();
    f.game->workshop.publishShip(*f.game->playerShips.findShip(first), Cbytes(16, 1), true);
    f.game->workshop.publishShip(*f.game->playerShips.findShip(second), Cbytes(16, 2), false);
    EXPECT_TRUE(f.game->workshop.publishWaiting());
    EXPECT_EQ(gEngine->workshop.state, Cworkshop::STATE_SYNCING);   // the sync goes on
    // The client itself takes no second flow while one runs.
    CworkshopShip other;
    EXPECT_FALSE(gEngine->workshop.publishShip(other, Cbytes(4, 1)));
    f.run();
    const CplayerShipDef* synced = f.game->playerShips.findPublished(id);
    ASSERT_NE(synced, nullptr);
    EXPECT_EQ(synced->data.displayName, "Kite Deluxe");
    EXPECT_EQ(synced->data.description, "from a friend");
    const int calls = steamLocal::counters().enumerateCalls;
    f.game->workshop.startSubscribedSync();
    EXPECT_EQ(steamLocal::counters().enumerateCalls, calls);
    EXPECT_TRUE(f.game->playerShips.findShip(first)->published);
    EXPECT_TRUE(f.game->workshop.publishWaiting());   // the second waits until the first is read
    f.game->warningOverlay.setVisible(false);
    f.run();
    f.run();
    const CplayerShipDef* a = f.game->playerShips.findShip(first);
    const CplayerShipDef* b = f.game->playerShips.findShip(second);
    ASSERT_TRUE(a && b);
    EXPECT_TRUE(b->published);
    EXPECT_NE(a->publishedId, b->publishedId);
    EXPECT_TRUE(a->finished);
    EXPECT_FALSE(b->finished);
    EXPECT_FALSE(f.game->workshop.publishWaiting());
}
