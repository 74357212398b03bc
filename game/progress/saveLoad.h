#pragma once
// CsaveLoad: the save files and their records.
//
//   "gamesave3"   (cloud flag set: written to the cloud and always locally)
//                 "progress", "Ves5", "Vor5", "Vuz2", "playerShips", "modules",
//                 "achievements", "achWaiting"; the game registers "perks",
//                 "friends", "challGuids", "24HourChall", "4HourChall"
//   "settings2"   the settings records (settings.h)
//   "loginA1"     "login": char[64] login name, char[64] password, char[128] e-mail
//   "highScores4" "trackRecords" (trackStats.h)
//   "newsfeed4"   "inbox" (the game registers it)
//
// Loading a file is all or nothing: every record is checked before any is
// applied. A local file that is there but cannot be read (damaged, no
// permission, not a file) is kept aside under a new name ("gamesave3.bad", "gamesave3.bad2", ...) so nothing overwrites it.
// The game save is written only once this run has loaded a profile or made a
// new one (a reset in between takes that back).
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "engine/retryBackoff.h"
#include "engine/saveFile.h"
#include "engine/threadTask.h"
#include "game/progress/achievementDefs.h"
#include "game/progress/playerProgress.h"
#include "game/progress/playerShipMgr.h"
#include "game/progress/settings.h"
#include "game/progress/trackStats.h"

struct CloginData {
    static constexpr size_t kNameBytes = 64;
    static constexpr size_t kPasswordBytes = 64;
    static constexpr size_t kEmailBytes = 128;
    std::string name, password, email;
    bool present() const { return !name.empty(); }
};

// Read or write the login file.
bool loadLoginData(CloginData& out);
bool saveLoginData(const CloginData& in);

class CsaveLoad {
public:
    static constexpr const char* kGameFile = "gamesave3";
    static constexpr const char* kSettingsFile = "settings2";
    static constexpr const char* kLoginFile = "loginA1";
    static constexpr const char* kHighScoresFile = "highScores4";
    static constexpr const char* kNewsFeedFile = "newsfeed4";

    CsaveLoad(CplayerProgress& progress, CplayerShipMgr& ships, CachievementDefs& achievements, CtrackStats& tracks);
    ~CsaveLoad();
    CsaveLoad(const CsaveLoad&) = delete;
    CsaveLoad& operator=(const CsaveLoad&) = delete;

    Csettings settings;
    CloginData login;
    // The game save is wanted (the game's save-requested flag).
    bool saveRequested = false;

    // The record streams; other parts register their own records in them.
    CsaveFile& gameFile() { return gameFile_; }
    CsaveFile& settingsFile() { return settingsFile_; }
    CsaveFile& highScoresFile() { return highScoresFile_; }
    CsaveFile& newsFeedFile() { return newsFeedFile_; }

    // The game save. loadGame starts the "Load Game Data" task (its flags are
    // polled); loadGameNow is its body. reloadLocal reads the local file alone.
    bool loadGame();
    CthreadTask& loadTask() { return loadTask_; }
    bool loadGameNow();
    bool reloadLocal();
    // Writes the game save on the "Save Game Data" task (at once with wait).
    // Refused, with a log line, while no profile is loaded or made. A write
    // that fails puts the save-requested flag back, and update() tries again
    // after a growing wait (1 s doubling to 60 s).
    bool saveGame(bool wait = false);
    // The last save of a run: written at once, and a failure is logged
    // however many came before it.
    bool saveAtQuit();
    bool saveTaskRunning() const { return saveTask_.running() || havePending_; }
    void requestSave() { saveRequested = true; }
    // Each update: writes a requested or dirty game save and a settings file
    // that records changed, when no task of ours is busy.
    void update();
    // Waits for our tasks (shutdown and tests).
    void waitIdle();

    // The clock the retry waits are measured on, in ms (SDL's ticks unless set).
    std::function<double()> clockMs;
    // Called with true when game saves start failing and false once one
    // succeeds again: the game tells the player.
    std::function<void(bool failing)> onSaveFailing;
    // The same for the game save's cloud copy (held or refused).
    std::function<void(bool failing)> onCloudSaveFailing;
    bool gameSaveFailing() const { return gameRetry_.failing(); }
    bool settingsSaveFailing() const { return settingsRetry_.failing(); }

    bool loadSettings();
    bool saveSettings();
    bool loadLoginData();
    bool saveLoginData();
    // Keeps a login and writes it.
    bool saveLoginData(const CloginData& data);
    bool loadHighScores();
    bool saveHighScores();
    bool loadNewsFeed();
    bool saveNewsFeed();

    // Stored controller mappings (the engine's input mappings), by device name.
    bool isInputMappingKnown(const std::string& device) const;
    // Gives a player the device's stored bindings.
    bool applyInputMapping(const std::string& device, int player = 0);
    // Every stored mapping, the keyboard's too: all devices back to their defaults.
    void clearInputMappings();

    // Renames an unreadable save file out of the way; returns the new name
    // (empty when nothing was renamed).
    static std::string keepAside(const std::string& fileName);
    // Writes the bytes of an unreadable cloud copy beside the local files
    // ("gamesave3.cloud.bad", ...); returns the name (empty on failure).
    static std::string keepCloudCopyAside(const std::string& fileName, const Cbytes& bytes);
    // The name an unreadable save file (the game save unless named) was
    // last kept as (taken once; empty when none), for telling the player.
    std::string takeKeptAside(const std::string& fileName = kGameFile);

private:
    bool loadFile(CsaveFile& file);
    void registerGameRecords();
    void registerSettingsRecords();
    void startSave(Cbytes stream);
    // Looks at a finished save task's result once; true when it succeeded.
    bool collectSaveResult();
    bool noteSaveResult(bool ok);
    double nowMs() const;

    CplayerProgress& progress_;
    CplayerShipMgr& ships_;
    CachievementDefs& achievements_;
    CtrackStats& tracks_;

    CsaveFile gameFile_{kGameFile, true};
    CsaveFile settingsFile_{kSettingsFile};
    CsaveFile highScoresFile_{kHighScoresFile};
    CsaveFile newsFeedFile_{kNewsFeedFile};

    std::mutex keptMutex_;   // the load task writes it
    std::map<std::string, std::string> keptAside_;   // file name -> kept as
    CthreadTask loadTask_{"Load Game Data"};
    CthreadTask saveTask_{"Save Game Data"};
    Cbytes pendingStream_;
    bool havePending_ = false;
    bool awaitingResult_ = false;
    bool quitting_ = false;
    std::shared_ptr<std::string> saveError_ = std::make_shared<std::string>();
    std::shared_ptr<bool> cloudFailed_ = std::make_shared<bool>(false);
    bool cloudFailing_ = false;
    CretryBackoff gameRetry_;
    CretryBackoff settingsRetry_;

    // What a load has read, applied only once every record has passed.
    CprogressRecord stagedProgress_;
    bool stagedUnlocks_[3] = {false, false, false};
    std::vector<CplayerShipMgr::CshipPtr> stagedShips_;
    std::vector<CshipModule> stagedModules_;
    std::map<std::string, uint32_t> stagedAchievements_;
    std::vector<CwaitingAchievement> stagedWaiting_;
    Csettings stagedSettings_;
    std::vector<CinputMapping> stagedMappings_;
    std::vector<CtrackRecord> stagedTracks_;
};
