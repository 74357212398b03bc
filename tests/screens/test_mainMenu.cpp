#include <gtest/gtest.h>

#include "engine/ui/screen.h"
#include "engine/ui/uiMgr.h"
#include "screens/exit.h"
#include "screens/mainMenu.h"
#include "screens/shipList.h"
#include "screens/screenRegistry.h"
#include "screensFixture.h"

namespace {
struct CmenuFixture {
    CscreensGame g;
    CmainMenuScreen& menu = *screens::get<CmainMenuScreen>();
    std::vector<std::pair<int, uint64_t>> submitted;
    CmenuFixture() {
        gGame->namedColours.load();
        gGame->world.loadData();
        gGame->progress.submitBoard = [this](int board, uint64_t score, const std::string&) {
            submitted.push_back({board, score});
        };
        seeMainMenuTutorials();
        for (int i = 1; i <= 20; ++i) gUi->tutorials.find("Tut_ManageMusic" + std::to_string(i))->seen = true;
        for (const char* t : {"Tut_ShipHangar1", "Tut_ShipHangar2a", "Tut_ShipHangar3", "Tut_ShipHangar4",
                              "Tut_ShipHangar5", "Tut_ShipMods1", "Tut_ShipMods2", "Tut_ShipMods3",
                              "Tut_TimedChallenge1", "Tut_TimedChallenge2"})
            gUi->tutorials.find(t)->seen = true;
        EXPECT_TRUE(menu.load());
        open();
    }
    void open() {
        g->setGameMode(GM_MAIN_MENU);
        g.settle();
    }
    bool reach(int mode) {
        for (int i = 0; i < 300; ++i) {
            if (g->mode() == mode && !g->transitionRunning() && !menu.screen()->entering) return true;
            g.steps(1);
        }
        return g->mode() == mode;
    }
    void press(const char* name) {
        Cwidget* w = menu.button(name);
        ASSERT_NE(w, nullptr) << name;
        g.click(w);
        g.settle(40);
    }
};
}  // namespace

// The key that puts the last help box away is the box's, however long it is
// held: the menu underneath waits for the next press. Keys have a button to
// start from on entry, and the player comes back to the button they left by.
TEST(MainMenu, AKeyThatClosesAHelpBoxIsUsedUpAndTheFocusIsKeptOnReturn) {
    CmenuFixture f;
    ASSERT_TRUE(f.g.initOk());
    ASSERT_TRUE(f.reach(GM_MAIN_MENU));
    for (int key : {SDL_SCANCODE_RETURN, SDL_SCANCODE_SPACE, SDL_SCANCODE_BACKSPACE}) {
        const char* name = SDL_GetScancodeName((SDL_Scancode)key);
        gUi->tutorials.find("Tut_Intro1")->seen = false;
        gUi->tutorials.show("Tut_Intro1");
        f.g.settle(30);
        f.g.keyDown(key);
        f.g.steps(12);   // a player's press lasts a few steps
        f.g.keyUp(key);
        f.g.settle(40);
        EXPECT_FALSE(gUi->tutorials.isShowingOrQueued()) << name;
        EXPECT_EQ(f.g.mode(), GM_MAIN_MENU) << name;
        EXPECT_FALSE(screens::get<CexitPopup>()->showing()) << name;
    }
    Cscreen* s = f.menu.screen();
    EXPECT_EQ(s->highlightedWidget(), f.menu.button("Play"));
    f.g.tapKey(SDL_SCANCODE_DOWN);
    Cwidget* moved = s->highlightedWidget();
    ASSERT_NE(moved, f.menu.button("Play"));
    f.g.tapKey(SDL_SCANCODE_RETURN);
    f.g.settle(60);
    ASSERT_NE(f.g.mode(), GM_MAIN_MENU) << moved->name;
    f.g.tapAction(ACTION_BACK);
    ASSERT_TRUE(f.reach(GM_MAIN_MENU)) << "back from " << moved->name;
    EXPECT_EQ(s->highlightedWidget(), moved) << moved->name;
    EXPECT_TRUE(moved->highlighted);
}

// Back at the menu after a mission's or a challenge's game (or without
// playing it), the perks switched off for that game are the player's again;
// a challenge looked at and left by Back is no longer chosen, so the next
// game is the player's own, not the challenge with its rules.
TEST(MainMenu, BackAtTheMenuTheGamesPerksAndChallengeAreLetGo) {
    CmenuFixture f;
    ASSERT_TRUE(f.g.initOk());
    CperkMgr& perks = gGame->world.perks;
    ASSERT_TRUE(perks.isEnabled(PERK_SUPER_BOMB));
    perks.saveEnabledStates();
    perks.switchOffForGame(PERK_SUPER_BOMB);
    f.g->setGameMode(GM_HANGAR);
    f.g.settle();
    EXPECT_FALSE(perks.isEnabled(PERK_SUPER_BOMB));
    f.open();
    ASSERT_TRUE(f.reach(GM_MAIN_MENU));
    EXPECT_TRUE(perks.isEnabled(PERK_SUPER_BOMB));

    CchallengeMgr& daily = gGame->online.dailyChallenge;
    daily.state = CHALL_READY;
    daily.challenge.endTime = gGame->online.soap.unixTime() + 3600;
    f.press("DailyChallenge");
    ASSERT_TRUE(f.reach(GM_DAILY_CHALLENGE_L));
    EXPECT_EQ(gGame->getActiveChallenge(), &daily);
    f.g.settle(20);
    f.g.tapAction(ACTION_BACK);
    ASSERT_TRUE(f.reach(GM_MAIN_MENU));
    EXPECT_EQ(gGame->getActiveChallenge(), nullptr);
}

TEST(MainMenu, QuickPlayWithAndWithoutATrack) {
    CmenuFixture f;
    ASSERT_TRUE(f.g.initOk());
    // Nothing playing: a library track is taken.
    gGame->music.addBuiltInTracks();
    gGame->music.currentTrack = nullptr;
    gGame->saveLoad.settings.defDifficulty = DIFFICULTY_INSANE;
    f.press("QuickPlay");
    EXPECT_EQ(f.g.mode(), GM_321_GO);
    const CgameSession& s = gGame->world.session;
    EXPECT_EQ(s.difficulty, DIFFICULTY_INSANE);
    ASSERT_NE(gGame->music.currentTrack, nullptr);
    EXPECT_EQ(s.track.key, gGame->music.currentTrack->getKey());

    // Nothing to play at all: the music choice instead.
    f.open();
    for (size_t i = 0; i < gGame->songLibrary.size(); ++i) gGame->songLibrary.entry(i)->removed = 1;
    gGame->music.currentTrack = nullptr;
    f.press("QuickPlay");
    EXPECT_EQ(f.g.mode(), GM_MUSIC_TYPE_LIST);
}

TEST(MainMenu, StatsPanelTextsAndTheXpBoard) {
    CmenuFixture f;
    ASSERT_TRUE(f.g.initOk());
    EXPECT_EQ(statsTimeText(3599.9f), "Time played: 59:59");
    EXPECT_EQ(statsTimeText(3600.0f), "Time played: 01h 00m 00s");
    CplayerShipDef* ship = gGame->playerShips.currentShip();
    ship->xp = 25000;
    ship->timePlayed = 4000;
    ship->statsPending = true;
    f.menu.updateStatsPanel();
    Cscreen* s = f.menu.screen();
    EXPECT_EQ(s->findWidget("ShipName")->getText(), ship->name());
    EXPECT_EQ(s->findWidget("ShipScore")->getText(), "XP: 25,000");
    EXPECT_EQ(s->findWidget("TimePlayed")->getText(), "Time played: 01h 06m 40s");

    // A new design goes by the name the hangar gives it, not its identifier.
    ship = gGame->playerShips.createCustomShip();
    ASSERT_NE(ship->data.displayName, ship->name());
    f.menu.updateStatsPanel();
    EXPECT_EQ(s->findWidget("ShipName")->getText(), shipTitle(*ship));
    // The current ship is gone (a deleted ship still named by the save).
    gGame->playerShips.currentIdx = 100000;
    f.menu.updateStatsPanel();
    EXPECT_EQ(s->findWidget("ShipName")->getText(), "Standard");
    ASSERT_NE(f.menu.showcaseShip(), nullptr);

    // XP goes to its board once per new value; the run is reported once.
    gGame->progress.xp = 500;
    f.open();
    f.open();
    int reports = 0;
    for (const auto& l : gEngine->log.recentLines()) reports += l.text.find(" TP=") != std::string::npos;
    EXPECT_EQ(reports, 1);
    gGame->progress.xp = 900;
    f.open();
    EXPECT_EQ(f.submitted, (std::vector<std::pair<int, uint64_t>>{{0, 500}, {0, 900}}));
}

// A warning that comes up while a first-visit help box is open is read
// first: the box waits unseen behind it and takes the keys once it is gone.
// Two notices with one id are one warning.
TEST(MainMenu, AWarningIsReadOnceBeforeTheHelpBoxes) {
    CmenuFixture f;
    ASSERT_TRUE(f.g.initOk());
    gUi->tutorials.find("Tut_Intro1")->seen = false;
    f.open();
    ASSERT_EQ(gUi->tutorials.current(), "Tut_Intro1");
    gGame->saveLoad.settings.notices.add(5, 99);
    gGame->saveLoad.settings.notices.add(5, 99);
    f.g.steps(120);   // past the first delay
    ASSERT_TRUE(gGame->warningOverlay.visible);
    EXPECT_TRUE(gUi->tutorials.waiting());
    EXPECT_FALSE(gUi->inputHeld());
    f.g.tapAction(ACTION_SELECT);
    f.g.steps(5);
    EXPECT_FALSE(gGame->warningOverlay.visible);
    EXPECT_FALSE(gUi->tutorials.waiting());
    EXPECT_EQ(gUi->tutorials.current(), "Tut_Intro1");   // the same press did not also put the box away
    f.g.steps(20);
    f.g.tapAction(ACTION_SELECT);
    EXPECT_FALSE(gUi->tutorials.isShowing());
    f.g.steps(20);
    EXPECT_FALSE(gGame->warningOverlay.visible);
}
