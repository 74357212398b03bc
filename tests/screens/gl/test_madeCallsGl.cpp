// A won challenge's ship screens and the popups of achievements and play,
// drawn by the real renderer under Xvfb over the real main menu. The pictures
// are left in screenshots/calls of the build folder.
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/ui/uiMgr.h"
#include "screens/screenRegistry.h"
#include "screens/startUp.h"
#include "screensFixture.h"

namespace {
struct CcallsShown {
    CscreensGame g;
    bool ready() const { return g.initOk() && gEngine->platform.hasGl(); }
    void toMainMenu() {
        gGame->namedColours.load();
        gGame->world.loadData();
        seeMainMenuTutorials();
        gUi->tutorials.find("Tut_ProcShip1")->seen = true;
        screens::get<CstartUpScreen>()->finished = true;
        gGame->setGameMode(GM_MAIN_MENU);
        g.settle(60);
    }
    bool reach(int mode) {
        for (int i = 0; i < 400 && !(g->mode() == mode && !g->transitionRunning()); ++i) g.steps(1);
        g.settle(60);
        return g->mode() == mode;
    }
    // The screen as a picture file; true when it was written and reads back.
    bool take(const char* name) {
        std::filesystem::create_directories("screenshots/calls");
        const std::string file = std::string("screenshots/calls/") + name;
        if (!g->screenCapture.request(0, 0, (float)gEngine->screenWidth, (float)gEngine->screenHeight, file, false))
            return false;
        g.steps(2);
        SDL_Surface* s = g->screenCapture.done ? IMG_Load(file.c_str()) : nullptr;
        if (s) SDL_FreeSurface(s);
        return s != nullptr;
    }
};
}  // namespace

TEST(MadeCallsGl, AWonChallengesShipScreens) {
    CcallsShown s;
    ASSERT_TRUE(s.ready()) << "run under Xvfb with SDL_VIDEODRIVER=x11";
    s.toMainMenu();
    CchallengeMgr& daily = gGame->online.dailyChallenge;
    daily.reward.trackTitle = "Night Drive";
    daily.reward.artist = "The Synths";
    daily.reward.duration = 215;
    daily.reward.placing = 2;
    daily.rewardPending = true;
    ASSERT_TRUE(s.reach(GM_UNLOCK_CHALLENGE_SHIP));
    EXPECT_TRUE(s.take("unlockChallengeShip.png"));
    s.g.tapAction(ACTION_SELECT);
    ASSERT_TRUE(s.reach(GM_UNLOCK_PROC_SHIP));
    EXPECT_TRUE(s.take("unlockProcShipReward.png"));
}

TEST(MadeCallsGl, AchievementAndPlayPopupsOverTheMenu) {
    CcallsShown s;
    ASSERT_TRUE(s.ready()) << "run under Xvfb with SDL_VIDEODRIVER=x11";
    s.toMainMenu();
    CachievementDefs& a = gGame->achievements;
    a.addProgress(a.findAchievement("AchCompTracks"), 1);   // the first milestone
    a.addProgress(a.findAchievement("AchRank"), 0);
    a.addProgress(a.findAchievement("AchBossTonnage"), 300);   // on the way to the first
    gGame->world.loadData();
    gUi->popups.showIncomingMass(123456789);
    gUi->popups.showTitleBanner();
    s.g.settle(40);
    EXPECT_TRUE(s.take("popups.png"));
}
