#pragma once
// CplayerProgress: the player's progress record (XP, cash, counters, bests,
// unlocks) and the modules collected.
//
// Stored "progress" record, 512 bytes, little-endian:
//     0 u32 layout version (1)
//     4 u64 XP                   12 i64 cash (never below 0)
//    20 f64 time played (seconds)
//    28 char[33] current ship    61 u8 current ship's flag byte
//    62 3 zero bytes (the special-ship unlocks are records of their own)
//    65 37 zero bytes (the perks are the perk manager's "perks" record)
//   102 char[40] client id (UUID text)
//   142 i32 day number of the last start
//   146 char[64] player name     210 u64 Steam id
//   218 u64 boss-rush best       226 u64 boss-rush best, custom ship
//   234 u64 survival best        242 u64 survival best, custom ship
//   250 u32 tracks completed     254 u32 missions completed
//   258 u32 built-in tracks finished (one bit each)
//   262 u32 hard tracks finished 266 u32 daily challenges won
//   270 u32 challenge runner-up places
//   274 u64 boss tonnage         282 u32 best boss-rush wave
//   286 f32 biggest boss mass    290 u32 ships with every mission complete
//   294 u32 missions completed with an own design
//   298 zero to the end
// The waiting achievements, the modules and the three special-ship unlocks
// ("Ves5", "Vor5", "Vuz2": one byte each) are records of their own.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "game/progress/shipModule.h"

struct CplayerStatsRecord;

constexpr int kNumPerks = 37;

// Web boards of the bests (the default ship and its custom-ship twin).
enum EprogressBoard {
    BOARD_BOSSRUSH = 8,
    BOARD_SURVIVAL = 9,
    BOARD_BOSSRUSH_CUSTOM = 18,
    BOARD_SURVIVAL_CUSTOM = 19
};

struct CwaitingAchievement {
    std::string name;           // the achievement's name
    uint8_t milestones = 0;     // milestones it had reached
};

// The fixed part, a plain copyable record.
struct CprogressRecord {
    static constexpr size_t kRecordSize = 512;
    static constexpr uint32_t kLayoutVersion = 1;

    int64_t xp = 0;
    int64_t cash = 0;
    double timePlayed = 0;
    std::string currentShip;
    uint8_t currentShipFlag = 0;
    bool ves5 = false, vor5 = false, vuz2 = false;
    std::string clientId;
    int32_t dayNumber = 0;
    std::string playerName;
    uint64_t steamId = 0;
    uint64_t bossRushBest = 0, bossRushBestCustom = 0;
    uint64_t survivalBest = 0, survivalBestCustom = 0;
    uint32_t tracksCompleted = 0;
    uint32_t missionsCompleted = 0;
    uint32_t builtInTracksMask = 0;
    uint32_t hardTracks = 0;
    uint32_t dailyChallengeWins = 0;
    uint32_t challengeRunnerUp = 0;
    uint64_t bossTonnage = 0;
    uint32_t bestBossWave = 0;
    float biggestBossMass = 0;
    uint32_t shipsCompleted = 0;
    uint32_t customShipMissions = 0;

    void write(std::vector<uint8_t>& out) const;
    // Checks and mends; false for a short record or an unknown layout.
    bool read(const uint8_t* p, size_t size);
};

class CplayerProgress : public CprogressRecord {
public:
    CplayerProgress() = default;
    CplayerProgress(const CplayerProgress&) = delete;
    CplayerProgress& operator=(const CplayerProgress&) = delete;

    std::vector<CwaitingAchievement> waitingAchievements;
    CshipModuleMgr modules{&saveDirty};

    bool saveDirty = false;     // the game save should be written
    bool statsDirty = false;    // the player statistics changed

    // Best submissions go to the web boards through this (board, score, text).
    std::function<void(int board, uint64_t score, const std::string& text)> submitBoard;

    // Empties the record. The game save may not be written again until a
    // profile is loaded or created (profileReady).
    void reset();
    // A new player: XP 1 and a new client id.
    void createNewProfile();
    bool profileReady() const { return profileReady_; }
    void markProfileLoaded() { profileReady_ = true; }

    void setXP(int64_t value);
    void addXP(uint64_t amount);
    // Cash never drops below 0; sets the save flag.
    void addCash(int64_t amount);
    void addTimePlayed(double seconds);
    int rank() const;


    // The local player's statistics record takes the Steam id, XP and counters.
    void syncLocalStats(CplayerStatsRecord& local) const;

    // Stores a better best and submits the stored best to its board
    // (8 or 18, 9 or 19 for a custom ship). False when nothing was submitted.
    bool submitBossRushScore(uint64_t score, const std::string& comment, bool defaultShip);
    bool submitSurvivalScore(uint64_t score, const std::string& comment, bool defaultShip);

    // The "achWaiting" record.
    void writeWaiting(std::vector<uint8_t>& out) const;
    static bool readWaiting(const uint8_t* p, size_t size, std::vector<CwaitingAchievement>& staged);

private:
    bool profileReady_ = false;
};

// A new version-4 UUID as text (36 characters, lower case).
std::string makeUuidText();
