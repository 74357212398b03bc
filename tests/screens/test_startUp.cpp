// The start-up sequence: from the title to the main menu with the web
// service off, with the local one, and with the saves in every state.
#include <unistd.h>

#include <filesystem>

#include "engine/resourceFile.h"

#include "roadFixture.h"
#include "screens/confirm.h"
#include "screens/startUp.h"
#include "screens/screenRegistry.h"

using Lines = std::vector<std::string>;

// Switched off by the command line, or found unreachable at the title: the
// online phases are skipped and the local save is played.
TEST_F(RoadTest, WithoutTheServiceTheOnlinePhasesAreSkipped) {
    for (bool unreachable : {false, true}) {
        SCOPED_TRACE(unreachable ? "unreachable" : "switched off");
        g.reset();
        makeGame(unreachable ? "" : "-SteamBoards", unreachable);
        writeSave(500, true);
        storedAccount();
        toTitle();
        pressReturn();
        ASSERT_TRUE(reachMode(GM_MAIN_MENU));
        EXPECT_EQ(lines("- StartUp - "),
                  (Lines{"- StartUp - load login", "- StartUp - load save game local",
                         "- StartUp - Load Save Successful mode=4", "- StartUp - load save games - success",
                         "- StartUp - finished"}));
        EXPECT_EQ(gGame->progress.xp, 500);
        EXPECT_TRUE(gEngine->webServiceOff);
        EXPECT_EQ(g->logHas("Running without soap!"), unreachable);
        EXPECT_EQ(gEngine->analytics.clientId(), "client-500");
    }
    EXPECT_EQ(service.requestCount(), 0);
}

TEST_F(RoadTest, StoredLoginRunsEveryOnlinePhase) {
    makeGame();
    service.setUnixTime(1700000000);
    uint64_t id = storedAccount();
    service.addMessage(id, 1, 0, "Quillmarsh", Cbytes{1, 2, 3});
    writeSave(700, false);   // local only: the cloud load falls back to it
    // The player's statistics on the service, filed under the Steam id.
    CplayerStatsRecord stats;
    stats.steamId = gEngine->steamId;
    stats.challengeWins = 9;
    stats.sessions = 4;
    Cbytes statsBytes(CplayerStatsRecord::kRecordSize, 0);
    stats.write(statsBytes.data());
    service.setStats(gEngine->steamId, statsBytes);
    toTitle();
    pressReturn();
    ASSERT_TRUE(reachMode(GM_MAIN_MENU));
    EXPECT_TRUE(g->logHas("Challenge Init"));
    EXPECT_EQ(gGame->statsCache.local.challengeWins, 9u);
    EXPECT_EQ(gGame->statsCache.local.sessions, 4u);
    EXPECT_EQ(lines("- StartUp - "),
              (Lines{"- StartUp - load login", "- StartUp - load login - success", "- StartUp - get Token",
                     "- StartUp - get token - success", "- StartUp - getting game config",
                     "- StartUp - game config - success", "- StartUp - load save game local",
                     "- StartUp - Load Save Successful mode=4", "- StartUp - Now trying cloud save",
                     "- StartUp - load save game cloud", "- StartUp - Load Save Successful mode=5",
                     "- StartUp - Cloud save more recent, so sticking with that",
                     "- StartUp - load save games - success", "- StartUp - getting player stats",
                     "- StartUp - check messages", "- StartUp - finished"}));
    EXPECT_FALSE(g->logHas("GameMode = SignIn"));
    EXPECT_EQ(gGame->online.soap.playerId(), id);
    EXPECT_EQ(gGame->progress.xp, 700);
    EXPECT_EQ(service.numMessages(id), 0u);   // fetched, and so taken off the service
    EXPECT_EQ(gGame->progress.dayNumber, 1700000000 / 86400);
    EXPECT_EQ(gGame->world.party.slot(0).name, kPersona);
}

// A cloud save and a local one: the newer is played, unless the local one
// says it never went to the cloud. With neither, a new profile is made and written.
TEST_F(RoadTest, TheNewerOfTheCloudAndLocalSavesIsPlayed) {
    const struct {
        int64_t cloudXp, localXp;
        bool localInCloud;
        int64_t played;
        const char* line;   // said on the way, or nothing when the cloud is not read
    } rows[] = {
        {100, 500, true, 500, "- StartUp - Local save more recent, so loading that back in"},
        {500, 100, true, 500, "- StartUp - Cloud save more recent, so sticking with that"},
        {900, 200, false, 200, nullptr},
        {0, 0, true, 1, "- StartUp - failed to load local and cloud save, must be new player"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.played);
        g.reset();
        makeGame();
        storedAccount();
        if (r.cloudXp) writeSave(r.cloudXp, true);
        if (r.localXp) writeSave(r.localXp, false);
        gGame->saveLoad.gameFile().setCloud(r.localInCloud);
        toTitle();
        pressReturn();
        ASSERT_TRUE(reachMode(GM_MAIN_MENU));
        EXPECT_EQ(gGame->progress.xp, r.played);
        EXPECT_EQ(gGame->saveLoad.gameFile().cloud(), r.localInCloud);   // the flag is put back
        if (r.line) EXPECT_TRUE(g->logHas(r.line));
        else EXPECT_FALSE(g->logHas("- StartUp - load save game cloud"));
        EXPECT_TRUE(g->logHas("- StartUp - getting player stats"));
        EXPECT_EQ(gEngine->analytics.clientId(), gGame->progress.clientId);
        ASSERT_TRUE(runUntil([this] { return fileExistsW(savePath("gamesave3")) && !gGame->saveLoad.saveTaskRunning(); }));
    }
}

TEST_F(RoadTest, AFailedCloudLoadKeepsTheLocalSave) {
    makeGame();
    storedAccount();
    writeSave(500, false);
    toTitle();
    pressReturn();
    // Between the two loads the cloud becomes unreadable and the local file
    // with it: the local save already loaded must not give way to a new profile.
    ASSERT_TRUE(waitLog("- StartUp - Now trying cloud save"));
    steamLocal::faults().readFails = true;
    {
        FILE* f = fopen(savePath("gamesave3").c_str(), "wb");
        ASSERT_NE(f, nullptr);
        fputs("not a save", f);
        fclose(f);
    }
    ASSERT_TRUE(reachMode(GM_MAIN_MENU));
    EXPECT_TRUE(g->logHas("- StartUp - failed to load cloud save, keeping the local save"));
    EXPECT_FALSE(g->logHas("- StartUp - failed to load local and cloud save, must be new player"));
    EXPECT_EQ(gGame->progress.xp, 500);
    EXPECT_EQ(gGame->progress.clientId, "client-500");
    // What is written next is the player's own progress.
    ASSERT_TRUE(runUntil([] { return !gGame->progress.saveDirty && !gGame->saveLoad.saveTaskRunning(); }));
    gGame->progress.reset();
    ASSERT_TRUE(gGame->saveLoad.reloadLocal());
    EXPECT_EQ(gGame->progress.xp, 500);
}

// A save, its cloud copy and the settings that cannot be read: each is kept
// (none written over) and the player is told of every one.
TEST_F(RoadTest, UnreadableSavesAreKeptAndThePlayerIsToldOfEach) {
    makeGame();
    storedAccount();
    writeSave(74337, true);
    const std::string cloudCopy = gEngine->savePath("steam/remote/gamesave3");
    Cbytes cloudBefore;
    ASSERT_TRUE(CresourceFile::readWholeFile(cloudCopy, cloudBefore));
    ASSERT_TRUE(removeFile(savePath("gamesave3")));
    ASSERT_EQ(symlink(savePath("gamesave3").c_str(), savePath("gamesave3").c_str()), 0);   // never opens
    ASSERT_TRUE(CresourceFile::writeFileAtomic(savePath("settings2"), "damaged", 7));
    ASSERT_FALSE(gGame->saveLoad.loadSettings());
    steamLocal::faults().readFails = true;
    toTitle();
    pressReturn();
    ASSERT_TRUE(reachMode(GM_MAIN_MENU));
    ASSERT_TRUE(runUntil([] { return !gGame->progress.saveDirty && !gGame->saveLoad.saveTaskRunning(); }));
    Cwidget* shown = gGame->warningOverlay.screen()->findWidget("Message");
    ASSERT_TRUE(shown);
    const std::string message = shown->getText("TextName");
    EXPECT_TRUE(gGame->warningOverlay.visible);
    for (const std::string& part : {std::string("settings2.bad"), std::string("gamesave3.bad"),
                                   std::string(gEngine->text("CloudSaveFailed"))})
        EXPECT_NE(message.find(part), std::string::npos) << part << " not in: " << message;
    Cbytes cloudAfter;
    ASSERT_TRUE(CresourceFile::readWholeFile(cloudCopy, cloudAfter));
    EXPECT_EQ(cloudAfter, cloudBefore);
    EXPECT_TRUE(std::filesystem::is_symlink(savePath("gamesave3.bad")));
    steamLocal::faults().readFails = false;
}

// The service refuses every token from the start, or once the first was
// given (the configuration then fails): it is switched off and the player's
// save is played.
TEST_F(RoadTest, RefusedTokensSwitchTheServiceOffAndGoOn) {
    for (bool afterFirst : {false, true}) {
        SCOPED_TRACE(afterFirst ? "after the first token" : "from the start");
        g.reset();
        makeGame();
        storedAccount();
        writeSave(400, true);
        service.refuseTokens = !afterFirst;
        toTitle();
        pressReturn();
        if (afterFirst) {
            ASSERT_TRUE(waitLog("- StartUp - get token - success"));
            service.expireTokens();
            service.refuseTokens = true;
        }
        ASSERT_TRUE(reachMode(GM_MAIN_MENU));
        EXPECT_TRUE(gEngine->webServiceOff);
        EXPECT_FALSE(g->logHas("- StartUp - getting player stats"));
        EXPECT_EQ(gGame->progress.xp, 400);
        EXPECT_EQ(g->logHas("- StartUp - game config - failed"), afterFirst);
        if (afterFirst) continue;
        // Three failures, between which the sign-in made the Steam account and signed in.
        EXPECT_EQ(g->logCount("- StartUp - get token - failed"), 3);
        EXPECT_EQ(g->logCount("GameMode = SignIn"), 2);
        EXPECT_TRUE(g->logHas("Steam Sign In: Success!"));
    }
}

TEST_F(RoadTest, ANewerVersionOnTheServiceEndsTheGameWithoutSaving) {
    makeGame();
    storedAccount();
    writeSave(600, true);
    Cbytes before;
    ASSERT_TRUE(readFile(savePath("gamesave3"), before));
    service.setGameConfig(60.0f, "v9.99");
    toTitle();
    pressReturn();
    ASSERT_TRUE(waitLog("- StartUp - game config - success"));
    ASSERT_TRUE(reachMode(GM_CONFIRM));
    Cscreen* notice = screens::get<CconfirmStateScreen>()->screen();
    EXPECT_EQ(notice->findWidget("Message")->getText("TextName"), gEngine->text("NotLastestVersion"));
    g->steps(30);   // the notice waits for the player
    EXPECT_FALSE(g->logHas("- StartUp - load save game local"));
    EXPECT_EQ(gGame->mode(), GM_CONFIRM);
    pressReturn();
    ASSERT_TRUE(runUntil([] { return gGame->quit; }));
    EXPECT_TRUE(g->logHas("GameMode = ReallyExit"));
    Cbytes after;
    ASSERT_TRUE(readFile(savePath("gamesave3"), after));
    EXPECT_EQ(after, before);
}

TEST_F(RoadTest, VersionTexts) {
    int n = -1;
    EXPECT_TRUE(CstartUpScreen::readVersionNumber("v1.23", n));
    EXPECT_EQ(n, 123);
    for (const char* bad : {"", "v1.2", "vX.YZ", "1.23"}) {
        EXPECT_FALSE(CstartUpScreen::readVersionNumber(bad, n)) << bad;
        EXPECT_EQ(n, 0);
    }

    makeGame();
    toTitle();
    CstartUpScreen& s = *screens::get<CstartUpScreen>();
    CgameConfigRecord& config = gGame->online.gameConfig.record;
    gEngine->versionText = "v1.05";
    for (const char* current : {"v1.05", "v0.99", "", "garbage!"}) {
        config.versionText = current;
        EXPECT_TRUE(s.checkConfigVersion()) << current;
    }
    EXPECT_FALSE(g->logHas("GameMode = Confirm"));
    // A readable version 0 counts as newer, like any newer version.
    for (const char* newer : {"v1.06", "v0.00"}) {
        config.versionText = newer;
        gGame->progress.saveDirty = true;
        EXPECT_FALSE(s.checkConfigVersion()) << newer;
        EXPECT_FALSE(gGame->progress.saveDirty);
        EXPECT_EQ(screens::get<CconfirmStateScreen>()->menu()->itemCount(), 1u);   // emptied each time
        gGame->setGameMode(GM_CREDITS);
    }
}
