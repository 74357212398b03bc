// A won challenge's ship screens and the popups of achievements and play,
// drawn by the real renderer under Xvfb over the real main menu. The pictures
// are left in screenshots/calls of the build folder.
#include "engine/ui/uiMgr.h"
#include "screens/screenRegistry.h"
#include "screens/startUp.h"
#include "shownScreen.h"

namespace {
struct CcallsShown : CshownScreen {
    CcallsShown() { folder = "screenshots/calls"; }
    bool ready() { return reach(-1, 0); }
    void toMainMenu() {
        gGame->namedColours.load();
        gGame->world.loadData();
        seeMainMenuTutorials();
        gUi->tutorials.find("Tut_ProcShip1")->seen = true;
        screens::get<CstartUpScreen>()->finished = true;
        gGame->setGameMode(GM_MAIN_MENU);
        g.settle(60);
    }
    // The state the game moves to by itself.
    bool arrive(int mode) {
        for (int i = 0; i < 400 && !(g->mode() == mode && !g->transitionRunning()); ++i) g.steps(1);
        g.settle(60);
        return g->mode() == mode;
    }
};
}  // namespace

TEST(MadeCallsGl, AWonChallengesShipScreens) {
    CcallsShown s;
    ASSERT_TRUE(s.ready()) << "run under Xvfb";
    s.toMainMenu();
    CchallengeMgr& daily = gGame->online.dailyChallenge;
    daily.reward.trackTitle = "Night Drive";
    daily.reward.artist = "The Synths";
    daily.reward.duration = 215;
    daily.reward.placing = 2;
    daily.rewardPending = true;
    ASSERT_TRUE(s.arrive(GM_UNLOCK_CHALLENGE_SHIP));
    EXPECT_NE(s.take("unlockChallengeShip.png"), nullptr);
    s.g.tapAction(ACTION_SELECT);
    ASSERT_TRUE(s.arrive(GM_UNLOCK_PROC_SHIP));
    EXPECT_NE(s.take("unlockProcShipReward.png"), nullptr);
}

TEST(MadeCallsGl, AchievementAndPlayPopupsOverTheMenu) {
    CcallsShown s;
    ASSERT_TRUE(s.ready()) << "run under Xvfb";
    s.toMainMenu();
    CachievementDefs& a = gGame->achievements;
    a.addProgress(a.findAchievement("AchCompTracks"), 1);   // the first milestone
    a.addProgress(a.findAchievement("AchRank"), 0);
    a.addProgress(a.findAchievement("AchBossTonnage"), 300);   // on the way to the first
    gGame->world.loadData();
    gUi->popups.showIncomingMass(123456789);
    gUi->popups.showTitleBanner();
    s.g.settle(40);
    EXPECT_NE(s.take("popups.png"), nullptr);
}
