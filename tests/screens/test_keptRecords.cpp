// What the player keeps across runs: the game is played, quit and started
// again over the same save folder, as a player would.
#include <csignal>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "engine/platform.h"
#include "game/musicLink.h"
#include "online/scoreRecord.h"
#include "roadFixture.h"
#include "screens/confirm.h"
#include "screens/dailyChallenge.h"
#include "screens/gameOver.h"
#include "screens/mainMenu.h"
#include "screens/unlockChallengeShip.h"
#include "screens/unlockProcShip.h"
#include "screensFixture.h"
#include "support/audioTestFiles.h"

namespace {

class KeptRecordsTest : public RoadTest {
protected:
    void TearDown() override {
        RoadTest::TearDown();
        removeFolderTree(folder);
    }
    // Start-up to the main menu over the folder.
    void startOver() { restartOver(folder, "-SteamBoards"); }
    // The way out a player takes: the window closed (the final save).
    void quit() {
        gGame->endGame();
        ASSERT_TRUE(gGame->quit);
    }
    std::string folder = makeTempFolder("kept");
};

// The ways a game ends, and whether its results must be found at the next start.
enum EgameEnd {
    END_OK,
    END_RETRY,
    END_WINDOW_CLOSED,
    END_CLOSED_AS_IT_ENDS,
    END_SIGTERM_AT_GAME_OVER,
    END_SIGTERM_IN_PLAY,
    END_CLOSED_IN_PAUSE
};
struct CgameEndRow {
    const char* name;
    EgameEnd end;
    bool kept;
};
const CgameEndRow kGameEnds[] = {
    {"OK", END_OK, true},
    {"RetryTrack", END_RETRY, true},
    {"window closed at the game over", END_WINDOW_CLOSED, true},
    {"window closed as the game over fades in", END_CLOSED_AS_IT_ENDS, true},
    {"SIGTERM at the game over", END_SIGTERM_AT_GAME_OVER, true},
    {"SIGTERM during play", END_SIGTERM_IN_PLAY, false},
    {"window closed in the pause", END_CLOSED_IN_PAUSE, false},
};

}  // namespace

// Whichever way a game is left, the next start finds what its game over
// showed: the XP, the track's record, the time played, the statistics and
// the missions. A game left before its end keeps nothing of its score.
TEST_F(KeptRecordsTest, EveryWayAGameEndsKeepsItsResults) {
    struct sigaction oldTerm;
    sigaction(SIGTERM, nullptr, &oldTerm);
    Cplatform::installSignalHandlers();
    for (const CgameEndRow& row : kGameEnds) {
        SCOPED_TRACE(row.name);
        removeFolderTree(folder);
        folder = makeTempFolder("kept");
        steamLocal::reset();
        ASSERT_NO_FATAL_FAILURE(startOver());
        dismissTutorials();
        const CsongPackInfo* song = nullptr;
        for (size_t i = 0; i < gGame->songLibrary.size() && !song; ++i)
            if (gGame->songLibrary.entry(i)->kind == SONG_BUILT_IN) song = gGame->songLibrary.entry(i);
        ASSERT_NE(song, nullptr);
        const std::string key = song->key;
        const int64_t xp = gGame->progress.xp;
        const uint64_t shipXp = gGame->playerShips.currentShip()->xp;
        const std::string shipName = gGame->playerShips.currentShip()->name();
        // A mission the run completes: finish a track.
        CshipMission finish;
        finish.type = MissionType_CompleteTrack;
        gGame->playerShips.currentShip()->data.missions.assign(1, finish);

        CgameSession& s = gGame->world.session;
        s.gameType = GAMETYPE_STANDARD;
        s.track = trackInfoFromSong(*song);
        s.track.length = 200.0;   // long enough to count as a cleared track
        s.startGame();
        ASSERT_TRUE(reachMode(GM_PLAYING));
        // A stream: the game ends on its clock, not on the track's end.
        s.musicSource = MUSIC_RADIO_LIST;
        s.endTime = 1e6;
        g->steps(90);
        s.addScore(0, 43210);
        const int64_t score = s.teamScores[0], award = s.sessionXp;
        ASSERT_GT(s.playTime, 1.0);
        if (row.end != END_SIGTERM_IN_PLAY && row.end != END_CLOSED_IN_PAUSE) {
            s.endTime = s.clock;   // the whole run played
            if (row.end == END_CLOSED_AS_IT_ENDS) ASSERT_TRUE(runUntil([&s] { return s.gameOver; }));
            else ASSERT_TRUE(reachMode(GM_GAME_OVER));
        }
        CgameOverTrackScreen* over = screens::get<CgameOverTrackScreen>();
        switch (row.end) {
            case END_OK:
            case END_RETRY:
                ASSERT_TRUE(runUntil([over] { return over->buttonTimer() >= CgameOverTrackScreen::kButtonTime; }));
                g->steps(2);
                tapAction(row.end == END_OK ? ACTION_SELECT : ACTION_OPTION_X);
                ASSERT_TRUE(reachMode(row.end == END_OK ? GM_RANK_UP : GM_321_GO));
                ASSERT_NO_FATAL_FAILURE(quit());
                break;
            case END_CLOSED_IN_PAUSE:
                tapKey(SDL_SCANCODE_ESCAPE);
                g->steps(30);
                [[fallthrough]];
            case END_WINDOW_CLOSED:
            case END_CLOSED_AS_IT_ENDS: {
                SDL_Event e{};
                e.type = SDL_QUIT;
                SDL_PushEvent(&e);
                ASSERT_TRUE(runUntil([] { return gGame->quit; }));
                break;
            }
            case END_SIGTERM_AT_GAME_OVER:
            case END_SIGTERM_IN_PLAY:
                raise(SIGTERM);
                ASSERT_TRUE(runUntil([] { return gGame->quit; }));
                break;
        }

        ASSERT_NO_FATAL_FAILURE(startOver());
        const CplayerProgress& p = gGame->progress;
        const CplayerShipDef* ship = gGame->playerShips.findShip(shipName);
        ASSERT_NE(ship, nullptr);
        const CtrackRecord* rec = gGame->trackStats.findTrack(key);
        EXPECT_EQ(p.xp, xp + (row.kept ? award : 0));
        EXPECT_EQ(ship->xp, shipXp + (row.kept ? (uint64_t)award : 0));
        EXPECT_EQ(ship->missionComplete[0], row.kept ? 1 : 0);
        ASSERT_EQ(rec != nullptr, row.kept);
        if (!row.kept) continue;
        EXPECT_EQ(rec->bestScore, (uint64_t)score);
        EXPECT_FLOAT_EQ(rec->completion, 1.0f);
        EXPECT_GT(p.timePlayed, 1.0);
        EXPECT_EQ(p.tracksCompleted, 1u);
        EXPECT_EQ(ship->tracksCompleted, 1);
        // The player's own statistics, as the friends screens show them.
        EXPECT_EQ(gGame->statsCache.local.xp, (uint64_t)(xp + award));
        EXPECT_GT(gGame->statsCache.local.timePlayed, 1.0f);
    }
    sigaction(SIGTERM, &oldTerm, nullptr);
}

TEST_F(KeptRecordsTest, FriendsChallengesNewsAndShipsComeBackAfterARestart) {
    ASSERT_NO_FATAL_FAILURE(startOver());
    Conline& o = gGame->online;
    ASSERT_TRUE(o.friends.addOrUpdate(0, 987654321, "Added By Id"));
    o.dailyChallenge.lastAttempt.periodNumber = 20100;
    o.dailyChallenge.lastAttempt.trackTitle = "Daily Track";
    o.dailyChallenge.rewardPending = true;
    o.dailyChallenge.reward.placing = 2;
    o.dailyChallenge.reward.trackTitle = "Won Track";
    o.dailyChallenge.reward.artist = "Band";
    o.dailyChallenge.reward.duration = 200;
    o.lightningChallenge.lastAttempt.periodNumber = 120600;
    o.lightningChallenge.lastAttempt.artist = "Storm";
    CasyncChallenge c;
    c.guid = 4711;
    o.challengeList.playerId = 5;
    ASSERT_TRUE(o.challengeList.cacheChallenge(c));
    // News arriving during play is written at once.
    CinboxEntry news;
    news.type = INBOX_DETHRONED;
    news.day = (uint32_t)o.soap.dayNumber();
    news.messageId = 31;
    news.otherName = "Rival";
    ASSERT_TRUE(o.inbox.add(news));
    g->steps(2);
    EXPECT_TRUE(std::filesystem::exists(savePath("newsfeed4")));
    EXPECT_FALSE(o.inbox.changed);
    // The daily challenge's prize and an unbought ship offer are only looked
    // at: the save never holds them.
    CtrackInfoView seed;
    seed.title = "Prize Track";
    CplayerShipDef* prize = gGame->playerShips.createProcShip("!prizekey", seed);
    ASSERT_NE(prize, nullptr);
    prize->preview = true;
    ASSERT_NE(gGame->playerShips.createProcShip("!boughtkey", seed), nullptr);
    // The window is closed before the menu shows the reward.
    ASSERT_NO_FATAL_FAILURE(quit());

    ASSERT_NO_FATAL_FAILURE(startOver());
    Conline& back = gGame->online;
    ASSERT_NE(back.friends.findById(987654321), nullptr);
    EXPECT_EQ(back.friends.findById(987654321)->name, "Added By Id");
    EXPECT_EQ(back.dailyChallenge.lastAttempt.periodNumber, 20100);
    EXPECT_EQ(back.dailyChallenge.lastAttempt.trackTitle, "Daily Track");
    // The reward won before the quit is shown once the main menu runs.
    EXPECT_TRUE(runUntil([this] { return g->logHas("Challenge reward: Won Track, place 2"); }, 5.0));
    EXPECT_EQ(back.lightningChallenge.lastAttempt.periodNumber, 120600);
    EXPECT_EQ(back.lightningChallenge.lastAttempt.artist, "Storm");
    EXPECT_FALSE(back.lightningChallenge.hasPendingReward());
    EXPECT_EQ(back.challengeList.guids(), (std::vector<int64_t>{4711}));
    ASSERT_EQ(back.inbox.entries().size(), 1u);
    EXPECT_EQ(back.inbox.entries()[0].messageId, 31u);
    EXPECT_EQ(back.inbox.entries()[0].otherName, "Rival");
    EXPECT_EQ(gGame->playerShips.findShip("!prizekey"), nullptr);
    EXPECT_NE(gGame->playerShips.findShip("!boughtkey"), nullptr);
}

// A save folder written before the built-in ships had their makers and the
// perks their one record loads with nothing lost.
TEST_F(KeptRecordsTest, AnEarlierSaveFolderLoadsWhole) {
    for (const auto& e : std::filesystem::directory_iterator(std::string(ZX_TEST_SAVES) + "legacySave"))
        std::filesystem::copy_file(e.path(), folder + "/" + e.path().filename().string());
    ASSERT_NO_FATAL_FAILURE(startOver());
    const CplayerProgress& p = gGame->progress;
    EXPECT_EQ(std::make_tuple(p.xp, p.cash, p.tracksCompleted, p.bossRushBest, p.survivalBestCustom, p.vor5, p.ves5),
              std::make_tuple((int64_t)1234567, (int64_t)4321, 7u, 88000u, 99000u, true, false));
    EXPECT_EQ(p.clientId, "11111111-2222-4333-8444-555555555555");
    CplayerShipMgr& ships = gGame->playerShips;
    CplayerShipDef* own = ships.findShip("Ship_1e6313283");
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(std::make_tuple(own->data.displayName, own->data.description, own->xp, own->totalScore, own->timePlayed,
                              own->getNumModulesFitted()),
              std::make_tuple(std::string("Space Ace"), std::string("made before"), (uint64_t)50000, (uint64_t)60000,
                              120.0f, 1));
    EXPECT_EQ(ships.currentShip(), own);
    EXPECT_NE(ships.findShip("ProcLegacy"), nullptr);
    CplayerShipDef* standard = ships.findShip("Standard");
    ASSERT_NE(standard, nullptr);
    EXPECT_EQ(standard->xp, 7000u);
    EXPECT_EQ(standard->data.manufacturer, 7);   // the maker comes from the data file now
    ASSERT_EQ(p.modules.modules.size(), 1u);
    EXPECT_EQ(p.modules.modules[0].key, "Standard");
    const CperkMgr& perks = gGame->world.perks;
    for (int perk : {0, 1, 6}) EXPECT_TRUE(perks.isUnlocked(perk)) << perk;
    EXPECT_EQ(perks.level(6), 1);
    EXPECT_TRUE(perks.isEnabled(6));
    const CtrackRecord* rec = gGame->trackStats.findTrack("legacykey");
    ASSERT_NE(rec, nullptr);
    EXPECT_EQ(rec->bestScore, 555000u);
    EXPECT_EQ(rec->comment, "old comment");
    EXPECT_FLOAT_EQ(gGame->saveLoad.settings.musicVolume, 0.3f);

    // Written again by this version and read back: still whole.
    ASSERT_NO_FATAL_FAILURE(quit());
    ASSERT_NO_FATAL_FAILURE(startOver());
    EXPECT_EQ(gGame->progress.xp, 1234567);
    ASSERT_NE(gGame->playerShips.findShip("Ship_1e6313283"), nullptr);
    EXPECT_EQ(gGame->playerShips.findShip("Ship_1e6313283")->xp, 50000u);
    EXPECT_EQ(gGame->world.perks.level(6), 1);
}

// A save nobody can read leaves a fresh profile, and the player is told
// where the old one was kept; the unreadable cloud copy is kept as well.
TEST_F(KeptRecordsTest, AnUnreadableSaveIsNamedToThePlayer) {
    ASSERT_NO_FATAL_FAILURE(startOver());
    ASSERT_NO_FATAL_FAILURE(quit());
    g.reset();   // the files are let go before they are spoilt
    std::ofstream(folder + "/gamesave3", std::ios::binary | std::ios::trunc) << "not a save";
    int cloudCopies = 0;   // the Steam client's copy, in its own folder
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder + "/steam"))
        if (e.is_regular_file() && e.path().filename().string().find("gamesave3") != std::string::npos) {
            std::ofstream(e.path(), std::ios::binary | std::ios::trunc) << "no save either";
            ++cloudCopies;
        }
    ASSERT_GT(cloudCopies, 0);
    ASSERT_NO_FATAL_FAILURE(startOver());
    EXPECT_TRUE(std::filesystem::exists(folder + "/gamesave3.bad"));
    EXPECT_TRUE(std::filesystem::exists(folder + "/gamesave3.cloud.bad"));
    EXPECT_TRUE(gGame->warningOverlay.visible);
    Cwidget* message = gGame->warningOverlay.screen() ? gGame->warningOverlay.screen()->findWidget("Message") : nullptr;
    ASSERT_NE(message, nullptr);
    EXPECT_NE(message->getText("TextName").find("gamesave3.bad"), std::string::npos);
    EXPECT_TRUE(g->logHas("- StartUp - unreadable save kept as gamesave3.bad; new profile made"));
}

// A timed challenge played as a player plays it, heard through the test
// capture source: from the main menu to game over, onto the challenge's board;
// a period later the finished board's place brings its reward once.
namespace {

struct CchallengeRun {
    const char* name;
    int periodHours;
    int rivalsAhead;   // rows above the player's on the board
    int placing;       // the reward's place, 0 for none
    bool tone;         // the capture source plays a tone, else a decoded file
};

class TimedChallengeTest : public KeptRecordsTest, public ::testing::WithParamInterface<CchallengeRun> {
protected:
    static constexpr const char* kTitle = "Test Run";
    static constexpr const char* kArtist = "Capture";
    static constexpr int kDuration = 5;

    void SetUp() override {
        KeptRecordsTest::SetUp();
        std::string source = "tone";
        if (!GetParam().tone) {
            CfileTags tags;
            tags.title = kTitle;
            source = writeTestAudio(audioFolder, "heard.ogg", synth::makeKickLoop(120, 4.0), &tags);
        }
        setenv(CtestCaptureSource::kEnv, source.c_str(), 1);
        // Ten minutes into a day (and so into a four-hour period).
        service.setUnixTime(1800000000 / 86400 * 86400 + 600);
    }
    void TearDown() override {
        unsetenv(CtestCaptureSource::kEnv);
        KeptRecordsTest::TearDown();
        removeFolderTree(audioFolder);
    }
    // Start-up over the folder with the web service on, to the main menu.
    void startOnline(bool firstRun) {
        if (firstRun) reachMainMenu(folder);
        else ASSERT_NO_FATAL_FAILURE(restartOver(folder));
        dismissTutorials();
    }
    CchallengeMgr& challenge() {
        return GetParam().periodHours == 24 ? gGame->online.dailyChallenge : gGame->online.lightningChallenge;
    }
    // Presses the action on each screen on the way until the state is reached.
    bool pressUntil(int mode, int action = ACTION_SELECT) {
        for (int i = 0; i < 60; ++i) {
            if (gGame->mode() == mode) return reachMode(mode);
            if (gUi->tutorials.isShowingOrQueued()) dismissTutorials();
            else tapAction(action);
            g->steps(40);
        }
        return false;
    }
    std::string prizeKey() const { return challengeShipKey(kTitle, kArtist, kDuration); }

    std::string audioFolder = makeTempFolder("heard");
};

const CchallengeRun kChallengeRuns[] = {
    {"DailyWinner", 24, 0, 1, false},
    {"LightningWinner", 4, 0, 1, true},
    {"DailyRunnerUp", 24, 2, 3, true},
    {"DailyNoPlace", 24, 10, 0, true},
};

}  // namespace

TEST_P(TimedChallengeTest, IsPlayedScoredAndWonOnce) {
    const CchallengeRun& run = GetParam();
    ClocalChallenge c;
    c.trackTitle = kTitle;
    c.artist = kArtist;
    c.duration = kDuration;
    service.setChallenge(run.periodHours, c);
    ASSERT_NO_FATAL_FAILURE(startOnline(true));
    ASSERT_TRUE(runUntil([this] { return challenge().state == CHALL_READY; }));
    const std::string board = challenge().boardName(0);
    for (int i = 0; i < run.rivalsAhead; ++i) {
        CperSongScore rival;
        rival.name = "Rival" + std::to_string(i);
        service.addRow(board, 9000 + (uint64_t)i, 1000000000000ull - (uint64_t)i, rival.write());
    }

    // Main menu, the challenge, Attempt, the game settings, the countdown
    // that hears the track, the game to its end, OK on.
    click(screens::get<CmainMenuScreen>()->button(run.periodHours == 24 ? "DailyChallenge" : "LightningChallenge"));
    ASSERT_TRUE(pressUntil(GM_GAME_SETTINGS));
    ASSERT_TRUE(pressUntil(GM_321_GO));
    ASSERT_TRUE(reachMode(GM_PLAYING));
    EXPECT_TRUE(g->logHas("Open mic started: " + std::string(CtestCaptureSource::kDeviceName)));
    ASSERT_TRUE(reachMode(GM_GAME_OVER));
    ASSERT_TRUE(pressUntil(GM_DAILY_CHALLENGE_L));

    // Back on the challenge, its board lists the player.
    ASSERT_TRUE(runUntil([&] {
        const Cboard* b = gGame->online.leaderboards.findBoard(board);
        return b && b->downloaded && b->entries.size() == (size_t)run.rivalsAhead + 1;
    }));
    g->steps(5);
    bool listed = false;
    Cmenu* rows = screens::get<CdailyChallengeScreen>()->screen()->findMenu("menu");
    for (size_t i = 0; i < rows->itemCount(); ++i) listed |= rows->item(i)->getText("Name") == kPersona;
    EXPECT_TRUE(listed);
    EXPECT_EQ(challenge().lastAttempt.periodNumber, challenge().periodNumber(0));
    ASSERT_NO_FATAL_FAILURE(quit());

    // A period on, the finished board is looked at once.
    service.moveClock((int64_t)run.periodHours * 3600);
    ASSERT_NO_FATAL_FAILURE(startOnline(false));
    if (run.placing) {
        ASSERT_TRUE(reachMode(GM_UNLOCK_CHALLENGE_SHIP));
        // Closed on the reward screen, the game shows the reward again.
        ASSERT_NO_FATAL_FAILURE(quit());
        ASSERT_NO_FATAL_FAILURE(startOnline(false));
        ASSERT_TRUE(reachMode(GM_UNLOCK_CHALLENGE_SHIP));
        auto* unlock = screens::get<CunlockChallengeShipScreen>();
        EXPECT_EQ(unlock->screen()->findWidget("Title")->getText(), challengePlacingText(run.placing));
        ASSERT_TRUE(pressUntil(GM_UNLOCK_PROC_SHIP));
        EXPECT_TRUE(screens::get<CunlockProcShipScreen>()->rewardMode());
        dismissTutorials();
        tapAction(ACTION_SELECT);   // taken free of charge; kept in the hangar whatever the swap's answer
        CconfirmScreen* confirm = screens::get<CconfirmScreen>();
        ASSERT_TRUE(runUntil([confirm] { return confirm->showing() || gGame->mode() == GM_MAIN_MENU; }, 10.0));
        if (confirm->showing()) {
            g->steps(30);   // the question's buttons have come in
            click(itemWithValue(confirm->menu(), 1));
        }
        ASSERT_TRUE(reachMode(GM_MAIN_MENU));
    } else {
        ASSERT_TRUE(runUntil([this] { return challenge().lastAttempt.periodNumber < 0; }));
        g->steps(60);
        EXPECT_EQ(gGame->mode(), GM_MAIN_MENU);
    }
    EXPECT_EQ(gGame->playerShips.findShip(prizeKey()) != nullptr, run.placing != 0);
    EXPECT_EQ(gGame->progress.dailyChallengeWins, run.placing == 1 ? 1u : 0u);
    EXPECT_EQ(gGame->progress.challengeRunnerUp, run.placing > 1 ? 1u : 0u);
    ASSERT_NO_FATAL_FAILURE(quit());

    // Started again: the prize and the count are kept, and nothing is shown twice.
    ASSERT_NO_FATAL_FAILURE(startOnline(false));
    g->steps(120);
    EXPECT_EQ(gGame->mode(), GM_MAIN_MENU);
    EXPECT_FALSE(gEngine->log.containsPart("Challenge reward:"));
    EXPECT_EQ(gGame->playerShips.findShip(prizeKey()) != nullptr, run.placing != 0);
    EXPECT_EQ(gGame->progress.dailyChallengeWins + gGame->progress.challengeRunnerUp, run.placing ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Runs, TimedChallengeTest, ::testing::ValuesIn(kChallengeRuns),
                         [](const ::testing::TestParamInfo<CchallengeRun>& info) { return std::string(info.param.name); });
