#include <gtest/gtest.h>

#include "game/gameTypes.h"
#include "game/missionResult.h"
#include "game/powerUps.h"
#include "game/progress/playerShipDef.h"
#include "screens/missionUpdate.h"
#include "screens/screenRegistry.h"
#include "screensFixture.h"

namespace {
CshipMission bossRushMission(uint16_t wave) {
    CshipMission m;
    m.type = MissionType_PlayBossRush;
    m.name = "Wave rider";
    m.bossRushWave = wave;
    return m;
}

CshipMission survivalMission(float seconds) {
    CshipMission m;
    m.type = MissionType_PlaySurvival;
    m.name = "Stay alive";
    m.survivalTime = seconds;
    return m;
}

struct CmissionFixture {
    CscreensGame g;
    CrecordingScreen mainMenu, moduleUnlock, shipUnlock;
    CplayerShipDef* ship = nullptr;

    CmissionFixture() {
        if (!g.initOk()) return;
        g->setScreen(GM_MAIN_MENU, &mainMenu);
        g->setScreen(GM_UNLOCK_SHIP_MOD, &moduleUnlock);
        g->setScreen(GM_UNLOCK_PROC_SHIP, &shipUnlock);
        ship = g->playerShips.createCustomShip();
        ship->data.missions = {bossRushMission(5), survivalMission(120)};
    }
    CmissionUpdateScreen& screen() { return *screens::get<CmissionUpdateScreen>(); }
    Cwidget* widget(const char* name) { return screen().screen()->findWidget(name); }
    void played(int gameType, int wave, double seconds) {
        CgameSession& s = g->world.session;
        s.gameType = gameType;
        s.bossRushWave = wave;
        s.playTime = seconds;
        s.completion = 1.0f;
        s.track.length = 60;
    }
    void enter() {
        g->setGameMode(GM_MISSON_UPDATE);
        g.settle();
    }
    bool waitFor(int mode) { return waitForMode(g, mode); }
};
}  // namespace

// A mission completed by the game gets its star once; the last one plays the
// all-complete sequence and leads to the ship's module, once.
TEST(MissionUpdate, EachMissionGetsItsStarOnceAndTheLastLeadsToTheModuleOnce) {
    CmissionFixture f;
    ASSERT_TRUE(f.g.initOk());
    CachievementDef* ach = f.g->achievements.findAchievement("AchCompShadow1");
    ASSERT_NE(ach, nullptr);
    const uint32_t before = ach->count;
    f.played(GAMETYPE_BOSSRUSH, 6, 300);
    f.enter();
    // Two missions: two cards. The boss rush mission is complete; the survival one is not.
    EXPECT_TRUE(f.widget("MissionCard3")->hidden);
    EXPECT_TRUE(f.screen().newlyCompleted(0));
    EXPECT_FALSE(f.screen().newlyCompleted(1));
    EXPECT_FALSE(f.widget("Star1")->hidden);
    EXPECT_TRUE(f.widget("Star2")->hidden);
    EXPECT_EQ(f.g->progress.missionsCompleted, 1u);
    EXPECT_FALSE(currentShipMissionProgressed());   // nothing left to report for the same game
    f.g.steps(200);
    EXPECT_TRUE(f.widget("AllComplete1")->hidden);
    f.g.tapAction(ACTION_SELECT);
    EXPECT_TRUE(f.waitFor(GM_MAIN_MENU));

    f.played(GAMETYPE_SURVIVAL, 0, 130);
    f.enter();
    EXPECT_FALSE(f.screen().newlyCompleted(0));
    EXPECT_TRUE(f.screen().newlyCompleted(1));
    EXPECT_EQ(ach->count, before + 1);
    f.g.steps(170);
    EXPECT_FALSE(f.widget("AllComplete1")->hidden);
    // Both missions complete and no module yet: the module unlock.
    f.g.tapAction(ACTION_SELECT);
    EXPECT_TRUE(f.waitFor(GM_UNLOCK_SHIP_MOD));

    ASSERT_NE(f.g->progress.modules.addModule(f.ship->name()), nullptr);
    f.enter();
    EXPECT_FALSE(f.screen().newlyCompleted(1));   // nothing new this time
    EXPECT_EQ(ach->count, before + 1);
    f.g.tapAction(ACTION_SELECT);
    EXPECT_TRUE(f.waitFor(GM_MAIN_MENU));
    EXPECT_EQ(f.moduleUnlock.enters, 1);
}

// The rules of a mission are read from what the game spent: a respawn on an
// extra life or a barred perk weapon fired keeps the mission open.
TEST(MissionUpdate, ASpentExtraLifeOrABarredWeaponKeepsTheMissionOpen) {
    CmissionFixture f;
    ASSERT_TRUE(f.g.initOk());
    CshipMission strict = survivalMission(120);
    strict.noExtraLives = true;
    strict.weaponRestriction[0] = WeaponRestriction_NoEMP;
    f.ship->data.missions = {strict};
    CgameSession& s = f.g->world.session;
    f.played(GAMETYPE_SURVIVAL, 0, 200);
    s.extraLivesUsed = 1;
    EXPECT_FALSE(currentShipMissionProgressed());
    s.extraLivesUsed = 0;
    s.weaponsUsed = 1u << PU_EMP;
    EXPECT_FALSE(currentShipMissionProgressed());
    s.weaponsUsed = 1u << PU_DECOY;   // not barred
    EXPECT_TRUE(currentShipMissionProgressed());
    f.enter();
    EXPECT_TRUE(f.screen().newlyCompleted(0));
    EXPECT_EQ(f.ship->missionComplete[0], 1);
}
