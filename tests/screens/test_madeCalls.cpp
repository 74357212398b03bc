// Calls that other parts of the game make into screens and popups, entered
// as a player does: the music bar's and the news feed's boards, a won
// challenge's ship, the instructions page, the challenges' refusals, and the
// popups of achievements and of play.
#include <gtest/gtest.h>

#include "engine/format.h"
#include "engine/ui/uiMgr.h"
#include "game/gameTypes.h"
#include "game/musicLink.h"
#include "game/powerUps.h"
#include "online/inbox.h"
#include "screens/NewsFeed.h"
#include "screens/confirm.h"
#include "screens/exit.h"
#include "screens/leaderboard.h"
#include "screens/musicBar.h"
#include "screens/startUp.h"
#include "screens/unlockChallengeShip.h"
#include "screens/unlockProcShip.h"
#include "routeWalker.h"
#include "trackRoad.h"

namespace {
// The real main menu, with a built-in track playing and the music bar up as
// the title screen leaves it.
struct ChubFixture : CrouteWalker {
    CmusicBarScreen& bar = *screens::get<CmusicBarScreen>();
    ChubFixture() {
        for (const char* t : {"Tut_ProcShip1", "Tut_TimedChallenge1", "Tut_TimedChallenge2"})
            gUi->tutorials.find(t)->seen = true;
        screens::get<CstartUpScreen>()->finished = true;
        gGame->music.addBuiltInTracks();
        gGame->music.playTrack(gGame->songLibrary.entry(0));
        bar.activate();
        toMainMenu();
    }
    // Steps until the state is current and its opening has finished.
    bool reach(int mode) {
        const bool reached = waitForMode(g, mode, 300);
        g.settle(40);
        return reached;
    }
    void press(const char* name) { tile(name); }
    // The spot-effect popups showing now, made from a template.
    std::vector<Cwidget*> popups(const std::string& templateName) {
        std::vector<Cwidget*> out;
        for (size_t i = 0; i < gUi->spotEffects.count(); ++i)
            if (gUi->spotEffects.widget(i)->templateName == templateName) out.push_back(gUi->spotEffects.widget(i));
        return out;
    }
};

CinboxEntry dethroned(const std::string& key) {
    CinboxEntry e;
    e.type = INBOX_DETHRONED;
    e.trackKey = key;
    e.messageId = 7;
    e.dethroned = 1;
    e.score = 7000;
    e.otherName = "Rival";
    e.shipName = "Standard";
    e.day = 20000;
    return e;
}

CchallengeReward prize(const char* title, int placing) {
    CchallengeReward r;
    r.trackTitle = title;
    r.artist = "The Winners";
    r.duration = 185;
    r.placing = placing;
    r.periodNumber = 900;
    return r;
}
}  // namespace

TEST(MadeCalls, TheMusicBarOpensThePlayingTracksBoardAndBackReturnsWhereThePlayerWas) {
    ChubFixture f;
    ASSERT_TRUE(f.g.initOk());
    f.press("Achievements");
    ASSERT_TRUE(f.reach(GM_ACHIEVEMENTS));
    ASSERT_FALSE(f.bar.leaderboard()->hidden);
    const std::string playing = gGame->music.currentTrack->getKey();
    f.g.click(f.bar.leaderboard());
    ASSERT_TRUE(f.reach(GM_LEADERBOARD));
    CleaderboardScreen& board = *screens::get<CleaderboardScreen>();
    EXPECT_TRUE(board.hasTrack());
    EXPECT_FALSE(board.choosing());
    EXPECT_EQ(board.track().getKey(), playing);
    f.g.tapAction(ACTION_BACK);
    EXPECT_TRUE(f.reach(GM_ACHIEVEMENTS));
    // The hand-over was used once: the hub's own button shows the list again.
    f.g.tapAction(ACTION_BACK);
    ASSERT_TRUE(f.reach(GM_MAIN_MENU));
    f.press("Leaderboard");
    ASSERT_TRUE(f.reach(GM_LEADERBOARD));
    EXPECT_FALSE(board.hasTrack());
    EXPECT_TRUE(board.choosing());
}

// Nothing in the game opens the news feed; it is entered at once here and
// used as the player would.
TEST(MadeCalls, TheNewsFeedOpensItsMessagesBoardAndBackKeepsTheList) {
    ChubFixture f;
    ASSERT_TRUE(f.g.initOk());
    CsongPackInfo* track = gGame->songLibrary.entry(1);
    ASSERT_NE(track, nullptr);
    gGame->online.inbox.add(dethroned(track->getKey()));
    gGame->setGameMode(GM_NEWS_FEED);
    ASSERT_TRUE(f.reach(GM_NEWS_FEED));
    Cmenu* list = screens::get<CnewsFeedScreen>()->menu();
    Cwidget* boardButton = nullptr;
    for (size_t i = 0; i < list->itemCount(); ++i)
        if (list->item(i)->floatValue == (float)NEWS_LEADERBOARD) boardButton = list->item(i);
    ASSERT_NE(boardButton, nullptr);
    const size_t rows = list->itemCount();
    f.g.click(boardButton);
    ASSERT_TRUE(f.reach(GM_LEADERBOARD));
    CleaderboardScreen& board = *screens::get<CleaderboardScreen>();
    EXPECT_TRUE(board.hasTrack());
    EXPECT_EQ(board.track().getKey(), track->getKey());
    f.g.tapAction(ACTION_BACK);
    ASSERT_TRUE(f.reach(GM_NEWS_FEED));
    EXPECT_EQ(list->itemCount(), rows);
    EXPECT_FALSE(gGame->online.inbox.entries()[0].read);
}

TEST(MadeCalls, AWonChallengeShowsItsShipThenGrantsItFreeAndTheNextPrizeFollows) {
    ChubFixture f;
    ASSERT_TRUE(f.g.initOk());
    CchallengeMgr& daily = gGame->online.dailyChallenge;
    daily.reward = prize("First Prize", 2);
    daily.rewardPending = true;
    daily.laterRewards.push_back(prize("Second Prize", 1));
    const int64_t cash = gGame->progress.cash;

    ASSERT_TRUE(f.reach(GM_UNLOCK_CHALLENGE_SHIP));
    EXPECT_TRUE(f.g.logHas("Challenge reward: First Prize, place 2"));
    const std::string key = challengeShipKey("First Prize", "The Winners", 185);
    ASSERT_FALSE(key.empty());
    EXPECT_EQ(key[0], '!');
    f.g.tapAction(ACTION_SELECT);
    ASSERT_TRUE(f.reach(GM_UNLOCK_PROC_SHIP));
    CunlockProcShipScreen& offer = *screens::get<CunlockProcShipScreen>();
    EXPECT_TRUE(offer.rewardMode());
    EXPECT_EQ(offer.shipKey(), key);
    EXPECT_EQ(offer.procShipPrice(), 0);
    f.g.tapAction(ACTION_SELECT);
    f.g.settle(5);
    CconfirmScreen& confirm = *screens::get<CconfirmScreen>();
    ASSERT_TRUE(confirm.showing());
    f.g.click(itemWithValue(confirm.menu(), 1));
    EXPECT_NE(gGame->playerShips.findShip(key), nullptr);
    EXPECT_EQ(gGame->progress.cash, cash);

    // Back at the hub the prize won meanwhile is shown in its turn.
    ASSERT_TRUE(f.reach(GM_MAIN_MENU));
    ASSERT_TRUE(f.reach(GM_UNLOCK_CHALLENGE_SHIP));
    EXPECT_TRUE(f.g.logHas("Challenge reward: Second Prize, place 1"));
    EXPECT_EQ(daily.reward.trackTitle, "Second Prize");   // pending until taken or let go
    EXPECT_TRUE(daily.laterRewards.empty());
}

TEST(MadeCalls, HowToPlayOpensTheInstructionsInTheDesktopsBrowserAndExitAsksFirst) {
    ChubFixture f;
    ASSERT_TRUE(f.g.initOk());
    EXPECT_TRUE(f.g.gameOpensWebPages);
    f.press("Instructions");
    ASSERT_EQ(f.g.openedWebPages.size(), 1u);
    EXPECT_EQ(f.g.openedWebPages[0], "https://www.quillmarshgames.com/zrb-instructions.html");
    EXPECT_EQ(f.g.mode(), GM_MAIN_MENU);
    f.press("Exit");
    EXPECT_TRUE(screens::get<CexitPopup>()->showing());
}

TEST(MadeCalls, ChallengesThatCannotBePlayedSayWhy) {
    ChubFixture f;
    ASSERT_TRUE(f.g.initOk());
    CwarningOverlay& warning = gGame->warningOverlay;
    gGame->online.dailyChallenge.state = CHALL_IDLE;   // not asked for yet (a refresh moves on by itself)
    f.press("DailyChallenge");
    EXPECT_EQ(f.g.mode(), GM_MAIN_MENU);
    ASSERT_TRUE(warning.visible);
    EXPECT_EQ(warning.screen()->findWidget("Title")->getText("TextName"), gEngine->text("DailyChallenge"));
    EXPECT_EQ(warning.screen()->findWidget("Message")->getText("TextName"), gEngine->text("ChallengeOnItsWay"));
    warning.setVisible(false);
    f.g.settle();

    gGame->online.lightningChallenge.state = CHALL_NONE;
    f.press("LightningChallenge");
    EXPECT_EQ(f.g.mode(), GM_MAIN_MENU);
    ASSERT_TRUE(warning.visible);
    EXPECT_EQ(warning.screen()->findWidget("Title")->getText("TextName"), gEngine->text("LightningChallenge"));
    EXPECT_EQ(warning.screen()->findWidget("Message")->getText("TextName"), gEngine->text("NoChallengeNow"));
}

TEST(MadeCalls, AchievementsShowTheirAwardAndProgressFromTheGamesOwnRecords) {
    ChubFixture f;
    ASSERT_TRUE(f.g.initOk());
    CachievementDef* tracks = gGame->achievements.findAchievement("AchCompTracks");
    ASSERT_NE(tracks, nullptr);
    ASSERT_GE(tracks->milestones.size(), 2u);
    const uint32_t first = tracks->milestones[0].points, second = tracks->milestones[1].points;
    ASSERT_GT(second, first + 1);
    gUi->spotEffects.clear();

    // The first milestone, then a step towards the second, as the hub sees the records.
    auto backToHubWith = [&](uint32_t completed) {
        gGame->progress.tracksCompleted = completed;
        f.press("Achievements");
        ASSERT_TRUE(f.reach(GM_ACHIEVEMENTS));
        f.g.tapAction(ACTION_BACK);
        ASSERT_TRUE(f.reach(GM_MAIN_MENU));
    };
    backToHubWith(first);
    auto awarded = f.popups("AchievementAwarded");
    ASSERT_EQ(awarded.size(), 1u);
    EXPECT_EQ(awarded[0]->getText("Title"), gEngine->text(tracks->title));

    backToHubWith(first + 1);
    auto progress = f.popups("AchievementProgress");
    ASSERT_EQ(progress.size(), 1u);
    const int percent = (int)(tracks->progressValue() * 100.0f);
    EXPECT_NE(progress[0]->getText("Progress").find(std::to_string(percent) + "%"), std::string::npos);

    // Two awards at once: the second waits for the first to go.
    gUi->spotEffects.clear();
    gUi->popups.showAchievementAwarded("First", "");
    gUi->popups.showAchievementAwarded("Second", "");
    EXPECT_GT(gUi->spotEffects.timeLeft("AchievementAwarded"), 10.0f);
}

TEST(MadeCalls, PlayWarnsOfABossesMassAndBannersADeathAndASpecialWeapon) {
    CtrackRoad road(20.0);
    ASSERT_TRUE(road.g.initOk());
    CgameSession& s = road.g->world.session;
    s.gameType = GAMETYPE_STANDARD;
    if (road.track) s.track = trackInfoFromSong(*road.track);
    s.startGame();
    road.g.steps(30);
    ASSERT_EQ(road.g.mode(), GM_PLAYING);
    gUi->spotEffects.clear();
    auto shown = [](const std::string& templateName, const std::string& text) {
        for (size_t i = 0; i < gUi->spotEffects.count(); ++i) {
            Cwidget* w = gUi->spotEffects.widget(i);
            if (w->templateName == templateName && w->getText() == text) return true;
        }
        return false;
    };

    road.g.steps(200);   // past the start's shield
    // A special weapon on a perk button, fired as the player does.
    road.g->world.perks.bindFreeButtons();
    const int buttonActions[] = {ACTION_LT, ACTION_RT, ACTION_LB, ACTION_RB};
    int button = -1, slot = -1;
    for (int b = 0; b < 4 && slot < 0; ++b)
        for (int k = PU_SUPER_BOMB; k <= PU_WINGMAN; ++k)
            if (road.g->world.perks.perkOnButton(b) >= 0 && perkOfWeaponSlot(k) == road.g->world.perks.perkOnButton(b)) {
                button = b;
                slot = k;
            }
    ASSERT_GE(slot, PU_SUPER_BOMB) << "no weapon on a perk button";
    road.g->world.powerUps.addStock(0, slot, 1);
    road.g.tapAction(buttonActions[button]);
    EXPECT_TRUE(shown("BigText", "ZORBEX!"));
    gUi->spotEffects.clear();
    s.killPlayer(0);
    EXPECT_TRUE(shown("BigText", "ZORBEX!"));

    gUi->spotEffects.clear();
    Cship* boss = road.g->world.bosses.spawnBoss(99, 0.8f, 1.0f);
    ASSERT_NE(boss, nullptr);
    const int64_t mass = CbossGen::bossMass(*boss->def);
    EXPECT_GT(mass, 1000);
    EXPECT_TRUE(shown("MediumText", gEngine->text("IncomingMass")));
    EXPECT_TRUE(shown("BigText", std::string(formatThousands64(mass / 1000)) + " " + gEngine->text("Kilotons")));
}
