#include <gtest/gtest.h>

#include "engine/ui/uiMgr.h"
#include "game/gameTypes.h"
#include "game/missionResult.h"
#include "game/musicLink.h"
#include "game/powerUps.h"
#include "game/progress/playerShipDef.h"
#include "screens/missionUpdate.h"
#include "screens/screenRegistry.h"
#include "screens/shipMissionPanel.h"
#include "trackRoad.h"

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

TEST(MissionUpdate, AMissionCompletedByTheGameGetsItsStarOnce) {
    CmissionFixture f;
    ASSERT_TRUE(f.g.initOk());
    f.played(GAMETYPE_BOSSRUSH, 6, 300);
    EXPECT_TRUE(currentShipMissionProgressed());
    f.enter();
    // Two missions: two cards.
    EXPECT_FALSE(f.widget("MissionCard1")->hidden);
    EXPECT_FALSE(f.widget("MissionCard2")->hidden);
    EXPECT_TRUE(f.widget("MissionCard3")->hidden);
    EXPECT_EQ(f.widget("MissionCard1")->getText("MissionType"), "1) Wave rider");
    EXPECT_EQ(f.widget("MissionCard2")->getText("Text1"), getStringFromMissionType(MissionType_PlaySurvival));
    // The boss rush mission is complete; the survival one is not.
    EXPECT_TRUE(f.screen().newlyCompleted(0));
    EXPECT_FALSE(f.screen().newlyCompleted(1));
    EXPECT_EQ(f.ship->missionComplete[0], 1);
    EXPECT_EQ(f.ship->missionComplete[1], 0);
    EXPECT_FALSE(f.widget("Star1")->hidden);
    EXPECT_TRUE(f.widget("Star2")->hidden);
    EXPECT_EQ(f.g->progress.missionsCompleted, 1u);
    EXPECT_EQ(f.g->progress.customShipMissions, 1u);
    EXPECT_FALSE(f.screen().allComplete());
    EXPECT_TRUE(f.g.logHas("Mission complete: " + f.ship->name() + " 1"));
    // Nothing left to report for the same game.
    EXPECT_FALSE(currentShipMissionProgressed());

    f.g.steps(200);
    EXPECT_TRUE(f.widget("AllComplete1")->hidden);
    f.g.tapAction(ACTION_SELECT);
    EXPECT_TRUE(f.waitFor(GM_MAIN_MENU));
    EXPECT_EQ(f.moduleUnlock.enters, 0);
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

TEST(MissionUpdate, TheLastMissionPlaysTheAllCompleteSequenceAndLeadsToTheModuleOnce) {
    CmissionFixture f;
    ASSERT_TRUE(f.g.initOk());
    f.ship->missionComplete[0] = 1;
    CachievementDef* ach = f.g->achievements.findAchievement("AchCompShadow1");
    ASSERT_NE(ach, nullptr);
    const uint32_t before = ach->count;
    f.played(GAMETYPE_SURVIVAL, 0, 130);
    f.enter();
    EXPECT_TRUE(f.screen().newlyCompleted(1));
    EXPECT_TRUE(f.screen().allComplete());
    EXPECT_EQ(ach->count, before + 1);
    EXPECT_EQ(f.g->progress.shipsCompleted, 1u);
    EXPECT_TRUE(f.widget("AllComplete1")->hidden);
    f.g.steps(170);   // 2.5 seconds
    EXPECT_FALSE(f.widget("AllComplete1")->hidden);
    EXPECT_FALSE(f.widget("AllComplete2")->hidden);

    // Two of the ship's missions complete and no module yet: the module unlock.
    f.g.tapAction(ACTION_SELECT);
    EXPECT_TRUE(f.waitFor(GM_UNLOCK_SHIP_MOD));

    // Once the module is held, the screen goes on normally.
    ASSERT_NE(f.g->progress.modules.addModule(f.ship->name()), nullptr);
    f.enter();
    EXPECT_FALSE(f.screen().newlyCompleted(1));   // nothing new this time
    EXPECT_EQ(ach->count, before + 1);
    f.g.tapAction(ACTION_SELECT);
    EXPECT_TRUE(f.waitFor(GM_MAIN_MENU));
    EXPECT_EQ(f.moduleUnlock.enters, 1);
}

TEST(MissionUpdate, AScriptedTrackCompletesATrackMission) {
    CtrackRoad road(4.0);
    ASSERT_TRUE(road.g.initOk());
    ASSERT_NE(road.track, nullptr);
    CrecordingScreen gameOver;
    road.g->setScreen(GM_GAME_OVER, &gameOver);
    CplayerShipDef* ship = road.g->playerShips.createCustomShip();
    CshipMission m;
    m.type = MissionType_CompleteTrack;
    m.name = "Road trip";
    m.condition = TrackCondition_TitleContains;
    m.conditionText = "road";
    ship->data.missions = {m};
    road.g->world.ships.syncPlayerShip(*ship);

    CgameSession& s = road.g->world.session;
    s.gameType = GAMETYPE_STANDARD;
    s.difficulty = DIFFICULTY_EASY;
    s.track = trackInfoFromSong(*road.track);
    s.startGame();
    road.g.steps(120);
    // The file ends (the music player reports it).
    road.g->playScreen.trackEnded = true;
    for (int i = 0; i < 60 * 20 && road.g.mode() != GM_GAME_OVER; ++i) road.g.steps(1);
    ASSERT_EQ(road.g.mode(), GM_GAME_OVER);
    EXPECT_FLOAT_EQ(s.completion, 1.0f);
    EXPECT_TRUE(currentShipMissionProgressed());
    road.enter(GM_MISSON_UPDATE);
    EXPECT_EQ(ship->missionComplete[0], 1);
}

TEST(ShipMissionPanel, ShowsOnceEnabledAndHidesFiveSecondsIntoPlay) {
    CmissionFixture f;
    ASSERT_TRUE(f.g.initOk());
    CshipMissionPanel& panel = *screens::get<CshipMissionPanel>();
    ASSERT_NE(panel.card(), nullptr);
    // Not enabled: nothing shows.
    panel.setShown(true);
    EXPECT_FALSE(panel.shown());
    EXPECT_TRUE(panel.card()->hidden);

    panel.setMission(0, f.ship->data.missions[0], false);
    panel.setShown(true);
    EXPECT_TRUE(panel.shown());
    EXPECT_FALSE(panel.card()->hidden);
    EXPECT_TRUE(panel.card()->findGadget("Star")->hidden);
    EXPECT_EQ(panel.card()->getText("MissionType"), "1) Wave rider");

    CrecordingScreen playing;
    f.g->setScreen(GM_PLAYING, &playing);
    f.g->setGameMode(GM_PLAYING);
    f.g->world.session.clock = 4.0;
    f.g.steps(2);
    EXPECT_TRUE(panel.shown());
    f.g->world.session.clock = 5.5;
    f.g.steps(2);
    EXPECT_FALSE(panel.shown());
    f.g.steps(60);
    EXPECT_TRUE(panel.card()->hidden);

    // The main menu takes it away for good.
    panel.setShown(true);
    EXPECT_TRUE(panel.shown());
    panel.disable();
    EXPECT_FALSE(panel.shown());
    panel.setShown(true);
    EXPECT_FALSE(panel.shown());
}
