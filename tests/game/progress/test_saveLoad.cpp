#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include <sys/stat.h>
#include <unistd.h>

#include "engine/resourceFile.h"
#include "engine/webMessage.h"
#include "game/progress/saveLoad.h"
#include "support/testEngine.h"

namespace {

// One run's worth of progress objects over the engine's save folder.
struct Cworld {
    CplayerProgress progress;
    CplayerShipMgr ships;
    CachievementDefs ach;
    CtrackStats tracks;
    CsaveLoad save{progress, ships, ach, tracks};
    Cworld() {
        EXPECT_TRUE(ships.loadBuiltIn());
        EXPECT_TRUE(ach.load());
    }
};

bool fileThere(const std::string& name) { return fileExistsW(gEngine->savePath(name)); }

Cbytes rawFile(const std::string& name) {
    Cbytes b;
    CresourceFile::readWholeFile(gEngine->savePath(name), b);
    return b;
}

// A profile with something in every record.
void fillProfile(Cworld& w) {
    w.progress.createNewProfile();
    w.progress.setXP(6299572);
    w.progress.addCash(1234);
    w.progress.ves5 = w.progress.vuz2 = true;
    w.progress.survivalBest = 999;
    w.progress.playerName = "Pilot";
    CplayerShipDef* mine = w.ships.createCustomShip();
    mine->data.topSpeed = 21.5f;
    mine->hullImage = {0x89, 'P', 'N', 'G', 1, 2, 3};
    CtrackInfoView seed;
    seed.title = "Night Drive";
    seed.artist = "Vessik";
    CplayerShipDef* gen = w.ships.createProcShip("!feedface", seed);
    gen->xp = 4242;
    CplayerShipDef* vessik = w.ships.findShip("Vessik");
    vessik->xp = 777;
    vessik->missionComplete[1] = 1;
    vessik->favourite = true;
    CshipModule* m = w.progress.modules.addModule("Vessik");
    w.ships.fitModule(*mine, *m);
    w.progress.modules.addModule("Standard");
    w.ach.addProgress(w.ach.findAchievement("AchShadow"), 6);
    w.ships.setCurrentShip("!feedface");
}

void saveFilledProfile() {
    Cworld w;
    fillProfile(w);
    ASSERT_TRUE(w.save.saveGame(true));
}

}  // namespace

// Saved, then loaded by the load task of a new run: every record comes back,
// and the ships the task added reach the main thread on its update.
TEST(SaveLoad, GameSaveRoundTrip) {
    CtestEngine eng;
    Cbytes stream;
    {
        Cworld w;
        fillProfile(w);
        ASSERT_TRUE(w.save.saveGame(true));
        stream = w.save.gameFile().serialise();
    }
    Cworld w;
    std::vector<std::string> added;
    SDL_threadID mainId = SDL_ThreadID();
    bool offThread = false;
    w.ships.onShipAdded = [&](CplayerShipDef& s) {
        offThread = offThread || SDL_ThreadID() != mainId;
        added.push_back(s.name());
    };
    ASSERT_TRUE(w.save.loadGame());
    w.save.loadTask().join();
    ASSERT_TRUE(w.save.loadTask().success());
    EXPECT_TRUE(added.empty());
    w.ships.update();
    EXPECT_FALSE(offThread);
    EXPECT_EQ(added, (std::vector<std::string>{"Ship_0", "!feedface"}));
    // Written again, every record comes out as it went in.
    EXPECT_EQ(w.save.gameFile().serialise(), stream);
    EXPECT_EQ(w.progress.rank(), 10);
    EXPECT_TRUE(w.progress.ves5 && w.progress.vuz2 && !w.progress.vor5);
    ASSERT_EQ(w.ships.numShips(), 6);
    EXPECT_EQ(w.ships.currentShip()->name(), "!feedface");
    CplayerShipDef* mine = nullptr;
    for (auto& s : w.ships.ships)
        if (s->isCustom()) mine = s.get();
    ASSERT_TRUE(mine);
    EXPECT_EQ(mine->hullImage, (std::vector<uint8_t>{0x89, 'P', 'N', 'G', 1, 2, 3}));
    EXPECT_TRUE(mine->hasModule("Vessik"));
    EXPECT_EQ(w.ach.findAchievement("AchShadow")->milestonesReached, 2);
    EXPECT_EQ(w.progress.waitingAchievements.size(), 1u);
}

TEST(SaveLoad, GameSaveIsNotWrittenBeforeAProfileIsLoadedOrMade) {
    CtestEngine eng;
    saveFilledProfile();
    Cbytes before = rawFile("gamesave3");
    {
        // A new run quits from the press-start screen: progress is empty.
        Cworld w;
        w.progress.saveDirty = true;
        w.save.requestSave();
        w.save.update();
        EXPECT_FALSE(w.save.saveGame(true));
        EXPECT_TRUE(w.save.saveSettings());
    }
    EXPECT_EQ(rawFile("gamesave3"), before);
    {
        // Loaded, then reset for another load: the guard closes again until a new profile.
        Cworld w;
        ASSERT_TRUE(w.save.loadGameNow());
        w.progress.reset();
        EXPECT_FALSE(w.save.saveGame(true));
        w.progress.createNewProfile();
        EXPECT_TRUE(w.save.saveGame(true));
        EXPECT_NE(rawFile("gamesave3"), before);
    }
}

// What stands where the game save should be -> what a new run must do. A
// save that is there and cannot be used is never taken as missing: nothing
// of it is applied, it is moved aside unread and kept through the next save.
TEST(SaveLoad, SaveFilesThatCannotBeUsedAreKeptAsideNotTakenAsMissing) {
    using Cmake = std::function<bool(const std::string& path, Cbytes good)>;
    auto bytes = [](std::function<void(Cbytes&)> change) -> Cmake {
        return [change](const std::string& p, Cbytes b) {
            change(b);
            return CresourceFile::writeFileAtomic(p, b.data(), b.size());
        };
    };
    auto replaced = [](std::function<bool(const std::string&)> make) -> Cmake {
        return [make](const std::string& p, Cbytes) { return std::filesystem::remove(p) && make(p); };
    };
    struct Crow {
        const char* what;
        Cmake make;
        EsaveLoadResult result;
        const char* keptAs;
        const char* logPart;
        bool settingsToo = false;   // made the same way for the settings file
    };
    const Crow rows[] = {
        {"missing", replaced([](const std::string&) { return true; }), SAVE_MISSING, "", ""},
        {"bits flipped", bytes([](Cbytes& b) { for (size_t i = 20; i < b.size(); i += 7) b[i] ^= 0x5A; }),
         SAVE_CORRUPT, "gamesave3.bad", "Save file gamesave3 could not be read; kept as gamesave3.bad"},
        {"cut in half, an older one already kept aside",
         [](const std::string& p, Cbytes b) {
             b.resize(b.size() / 2);
             return CresourceFile::writeFileAtomic(p + ".bad", "old", 3) &&
                    CresourceFile::writeFileAtomic(p, b.data(), b.size());
         },
         SAVE_CORRUPT, "gamesave3.bad2", "kept as gamesave3.bad2"},
        {"a record of a newer layout",
         [](const std::string&, Cbytes) {
             Cworld w;
             fillProfile(w);
             Cbytes b = w.save.gameFile().serialise();
             // The layout version follows the record's name and length.
             const std::string name = "playerShips";
             auto it = std::search(b.begin(), b.end(), name.begin(), name.end());
             return it != b.end() && (putU32(&*(it + (long)name.size() + 4), 99), true) &&
                    CresourceFile::save(CsaveLoad::kGameFile, b.data(), b.size());
         },
         SAVE_CORRUPT, "gamesave3.bad", "Player ships record refused (layout 99"},
        {"folder", replaced([](const std::string& p) { return std::filesystem::create_directory(p); }),
         SAVE_UNREADABLE, "gamesave3.bad", "", true},
        {"pipe", replaced([](const std::string& p) { return mkfifo(p.c_str(), 0600) == 0; }),
         SAVE_UNREADABLE, "gamesave3.bad", "", true},
        // Root reads it anyway: the row proves nothing there.
        {"no read permission", [](const std::string& p, Cbytes) { return geteuid() != 0 && chmod(p.c_str(), 0) == 0; },
         SAVE_UNREADABLE, "gamesave3.bad", "", true},
    };
    for (const Crow& row : rows) {
        SCOPED_TRACE(row.what);
        CtestEngine eng;
        saveFilledProfile();
        {
            Cworld w;
            ASSERT_TRUE(w.save.saveSettings());
        }
        bool made = row.make(gEngine->savePath(CsaveLoad::kGameFile), rawFile(CsaveLoad::kGameFile));
        if (row.settingsToo) made = made && row.make(gEngine->savePath(CsaveLoad::kSettingsFile), {});
        if (!made) continue;
        const std::string kept = row.keptAs;
        const auto kind = std::filesystem::symlink_status(gEngine->savePath(CsaveLoad::kGameFile)).type();
        const bool regular = kind == std::filesystem::file_type::regular;
        const Cbytes before = regular ? rawFile(CsaveLoad::kGameFile) : Cbytes{};
        Cworld w;
        w.progress.xp = 5;
        EXPECT_FALSE(w.save.loadGameNow());
        EXPECT_EQ(w.save.gameFile().lastResult(), row.result);
        EXPECT_EQ(w.progress.xp, 5);   // nothing of it applied
        EXPECT_TRUE(gEngine->log.containsPart(row.logPart));
        EXPECT_EQ(w.save.takeKeptAside(), kept);
        EXPECT_EQ(w.save.loadSettings(), !row.settingsToo);
        EXPECT_EQ(w.save.takeKeptAside(CsaveLoad::kSettingsFile), row.settingsToo ? "settings2.bad" : "");
        // The new profile and settings go in their own files.
        w.progress.createNewProfile();
        ASSERT_TRUE(w.save.saveGame(true));
        ASSERT_TRUE(w.save.saveSettings());
        EXPECT_EQ(fileState(gEngine->savePath("gamesave3")), FILE_READABLE);
        if (kept.empty()) {
            EXPECT_FALSE(fileThere("gamesave3.bad"));
            continue;
        }
        EXPECT_EQ(std::filesystem::symlink_status(gEngine->savePath(kept)).type(), kind);
        EXPECT_TRUE(!regular || rawFile(kept) == before);
        EXPECT_TRUE(kept != "gamesave3.bad2" || rawFile("gamesave3.bad") == (Cbytes{'o', 'l', 'd'}));
        EXPECT_TRUE(!row.settingsToo ||
                    std::filesystem::symlink_status(gEngine->savePath("settings2.bad")).type() == kind);
    }
}

TEST(SaveLoad, TheCloudCopyIsPreferredAndABrokenOneFallsBackToTheLocalFile) {
    CtestEngine eng;
    Cworld w;
    fillProfile(w);
    // The cloud copy is preferred when it loads; a broken one falls back to the local file.
    Cbytes cloudStream;
    gEngine->cloudSave = [&](const std::string&, const Cbytes& b) {
        cloudStream = b;
        return true;
    };
    w.progress.setXP(50);
    ASSERT_TRUE(w.save.saveGame(true));
    w.progress.setXP(60);
    gEngine->cloudSave = nullptr;
    ASSERT_TRUE(w.save.saveGame(true));   // local now holds 60, the cloud 50
    gEngine->cloudLoad = [&](const std::string&, Cbytes& out) {
        out = cloudStream;
        return CLOUD_READ;
    };
    Cworld a;
    ASSERT_TRUE(a.save.loadGameNow());
    EXPECT_EQ(a.progress.xp, 50);
    cloudStream.assign(10, 0xFF);
    Cworld c;
    ASSERT_TRUE(c.save.loadGameNow());
    EXPECT_EQ(c.progress.xp, 60);
    gEngine->cloudLoad = nullptr;
}

// A cloud copy that is there but cannot be read is never written over, and
// the player hears when the cloud copy is not kept up, and when it is again.
TEST(SaveLoad, AnUnreadableCloudCopyIsHeldAndCloudFailuresAreTold) {
    CtestEngine eng;
    int cloudWrites = 0;
    bool cloudWorks = true;
    gEngine->cloudSave = [&](const std::string&, const Cbytes&) { return ++cloudWrites, cloudWorks; };
    gEngine->cloudLoad = [](const std::string&, Cbytes&) { return CLOUD_UNREADABLE; };
    Cworld w;
    std::vector<bool> told;
    w.save.onCloudSaveFailing = [&](bool failing) { told.push_back(failing); };
    EXPECT_FALSE(w.save.loadGameNow());
    EXPECT_TRUE(w.save.gameFile().cloudHeld());
    fillProfile(w);
    ASSERT_TRUE(w.save.saveGame(true));   // the local file is written
    EXPECT_EQ(cloudWrites, 0);
    EXPECT_TRUE(fileThere("gamesave3"));

    // A cloud that reads but refuses writes is told once, and its return too.
    gEngine->cloudLoad = [](const std::string&, Cbytes&) { return CLOUD_NONE; };
    Cworld v;
    v.save.onCloudSaveFailing = [&](bool failing) { told.push_back(failing); };
    ASSERT_TRUE(v.save.loadGameNow());
    cloudWorks = false;
    ASSERT_TRUE(v.save.saveGame(true));
    ASSERT_TRUE(v.save.saveGame(true));
    cloudWorks = true;
    ASSERT_TRUE(v.save.saveGame(true));
    EXPECT_EQ(cloudWrites, 3);
    EXPECT_EQ(told, (std::vector<bool>{true, true, false}));
    gEngine->cloudLoad = nullptr;
    gEngine->cloudSave = nullptr;
}

// Saves asked for while one is writing, and progress made dirty, are all written by the update.
TEST(SaveLoad, ProgressMadeWhileSavesAreWritingIsNotLost) {
    CtestEngine eng;
    Cworld w;
    fillProfile(w);
    for (int i = 0; i < 5; ++i) {
        w.progress.setXP(1000 + i);
        EXPECT_TRUE(w.save.saveGame());
        w.save.update();
    }
    w.save.waitIdle();
    w.progress.addCash(5);
    w.save.update();
    w.save.waitIdle();
    EXPECT_FALSE(w.progress.saveDirty);
    Cworld back;
    ASSERT_TRUE(back.save.loadGameNow());
    EXPECT_EQ(back.progress.xp, 1004);
    EXPECT_EQ(back.progress.cash, 1239);
}

// A folder where the temporary file goes makes every write of that save fail,
// for root as well as for a user.
TEST(SaveLoad, FailingGameSaveIsRetriedWarnedOnceAndClearedBySuccess) {
    CtestEngine eng;
    Cworld w;
    double now = 0;
    w.save.clockMs = [&now] { return now; };
    std::vector<bool> told;
    w.save.onSaveFailing = [&told](bool failing) { told.push_back(failing); };
    std::vector<double> attempts;
    gEngine->cloudSave = [&](const std::string&, const Cbytes&) {
        attempts.push_back(now);
        return false;
    };
    fillProfile(w);
    const std::string blocker = gEngine->savePath("gamesave3.tmp");
    ASSERT_TRUE(std::filesystem::create_directory(blocker));

    EXPECT_FALSE(w.save.saveGame(true));
    EXPECT_TRUE(w.save.gameSaveFailing());

    auto runTo = [&](double end) {
        for (; now < end; now += 100) {
            w.save.update();
            w.save.waitIdle();
        }
    };
    runTo(260100);   // the waits between attempts grow from 1 s to a 60 s ceiling
    std::vector<double> gaps;
    for (size_t i = 1; i < attempts.size(); ++i) gaps.push_back(attempts[i] - attempts[i - 1]);
    EXPECT_EQ(gaps, (std::vector<double>{1000, 2000, 4000, 8000, 16000, 32000, 60000, 60000, 60000}));
    EXPECT_EQ(told, std::vector<bool>{true});
    int failedLines = 0;
    for (const auto& l : gEngine->log.recentLines()) failedLines += l.text.rfind("Game save failed: ", 0) == 0;
    EXPECT_EQ(failedLines, 1);
    EXPECT_FALSE(fileThere("gamesave3"));

    // The player goes on; once the folder is writable the latest progress is saved.
    w.progress.setXP(4321);
    w.progress.addCash(9);
    std::filesystem::remove(blocker);
    runTo(attempts.back() + 60200);
    EXPECT_EQ(told, (std::vector<bool>{true, false}));
    EXPECT_FALSE(w.save.gameSaveFailing());
    gEngine->cloudSave = nullptr;
    Cworld back;
    ASSERT_TRUE(back.save.loadGameNow());
    EXPECT_EQ(back.progress.xp, 4321);
    EXPECT_EQ(back.progress.cash, 1243);
}

// The login file holds the password: saves are the owner's alone to read.
TEST(SaveLoad, SaveFilesAreOwnerReadWriteOnly) {
    CtestEngine eng;
    Cworld w;
    fillProfile(w);
    ASSERT_TRUE(w.save.saveGame(true));
    w.save.login = {"pilot", "hunter2", "p@example.org"};
    // A temporary file left by a crash, with wider rights, is narrowed by the next write.
    ASSERT_TRUE(CresourceFile::writeFileAtomic(gEngine->savePath("loginA1.tmp"), "x", 1));
    std::filesystem::permissions(gEngine->savePath("loginA1.tmp"), std::filesystem::perms::all);
    ASSERT_TRUE(w.save.saveLoginData());
    ASSERT_TRUE(w.save.saveSettings());
    for (const char* name : {"gamesave3", "loginA1", "settings2"}) {
        auto perms = std::filesystem::status(gEngine->savePath(name)).permissions();
        EXPECT_EQ(perms, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write) << name;
    }
}
