#pragma once
// CshipMission: one of a player ship's (up to four) missions, and the checks
// that decide when a game completes one.
//
// Stored record, 188 bytes, little-endian (the mission editor's offsets):
//     0 u32 type                 0 none, 1 complete a track, 2 ship rank,
//                                3 boss rush, 4 survival
//     4 char[50] name            (49 bytes of text and a terminator)
//    54 u32 track condition      0 none, 1 specific track, 2 album title,
//                                3 artist, 4 title contains
//    58 char[100] condition text
//   158 u16 boss-rush wave
//   160 f32 survival time        seconds
//   164 u16 ship rank
//   166 u32 minimum difficulty   an Edifficulty index; 0 sets no minimum
//   170 u32 score                0 sets no minimum
//   174 f32 minimum track length seconds
//   178 u8  no extra lives
//   179 u32 weapon restriction A 0..9
//   183 u32 weapon restriction B 0..9
//   187 u8  zero
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum EmissionType : uint32_t {
    MissionType_None = 0,
    MissionType_CompleteTrack = 1,
    MissionType_ObtainShipRank = 2,
    MissionType_PlayBossRush = 3,
    MissionType_PlaySurvival = 4,
    kNumMissionTypes = 5
};

enum EtrackCondition : uint32_t {
    TrackCondition_None = 0,
    TrackCondition_SpecificTrack = 1,
    TrackCondition_AlbumTitle = 2,
    TrackCondition_Artist = 3,
    TrackCondition_TitleContains = 4,
    kNumTrackConditions = 5
};

// Weapon restrictions: 1 bars every perk weapon, 2..9 one weapon each.
enum EweaponRestriction : uint32_t {
    WeaponRestriction_None = 0,
    WeaponRestriction_NoPerkWeapons = 1,
    WeaponRestriction_NoSuperBomb = 2,
    WeaponRestriction_NoMicroMissiles = 3,
    WeaponRestriction_NoReflectShield = 4,
    WeaponRestriction_NoUltraBeam = 5,
    WeaponRestriction_NoEMP = 6,
    WeaponRestriction_NoTurret = 7,
    WeaponRestriction_NoDecoy = 8,
    WeaponRestriction_NoWingman = 9,
    kNumWeaponRestrictions = 10
};

// Game types as the play session numbers them.
enum EmissionGameType { MISSION_GAME_STANDARD = 0, MISSION_GAME_SURVIVAL = 1, MISSION_GAME_BOSSRUSH = 2 };

// What the mission code needs of a library track entry. The song library's
// entry is turned into this by a trackView(const T&) function next to it.
struct CtrackInfoView {
    std::string_view title;
    std::string_view artist;
    std::string_view album;
    std::string_view key;
    float lengthSeconds = 0;
};

// What the mission check needs of a finished game.
struct CmissionResult {
    int gameType = MISSION_GAME_STANDARD;
    int difficulty = 0;
    float progress = 0;          // 0..1 through the track; 1 = finished
    uint64_t score = 0;
    int bossRushWave = 0;
    float sessionTime = 0;       // seconds played (survived)
    int extraLivesUsed = 0;
    uint32_t weaponsUsed = 0;    // bit k: the weapon of restriction k was used (k 2..9)
    CtrackInfoView track;
};

// What applying a mission does to the play session.
struct CmissionRules {
    int gameType = MISSION_GAME_STANDARD;
    int minDifficulty = 0;
    bool noExtraLives = false;
    std::vector<int> disabledPerks;   // perk ids switched off for the game
};

class CshipMission {
public:
    static constexpr size_t kRecordSize = 188;
    static constexpr size_t kNameBytes = 50;
    static constexpr size_t kConditionBytes = 100;

    uint32_t type = MissionType_None;
    std::string name;
    uint32_t condition = TrackCondition_None;
    std::string conditionText;
    uint16_t bossRushWave = 0;
    float survivalTime = 0;
    uint16_t rank = 0;
    uint32_t difficulty = 0;
    uint32_t score = 0;
    float minTrackLength = 0;
    bool noExtraLives = false;
    uint32_t weaponRestriction[2] = {0, 0};

    void clear() { *this = CshipMission(); }
    // Writes the 188-byte record at p.
    void write(uint8_t* p) const;
    // Reads a record; out-of-range indices are mended (logged), texts are
    // terminated and made valid UTF-8. False only for a short buffer.
    bool read(const uint8_t* p, size_t size);

    // Whether this game completes the mission. shipXP is the ship's XP after
    // the game (for the rank missions).
    bool isCompletedBy(const CmissionResult& result, uint64_t shipXP) const;
    CmissionRules rules() const;
};

// Translated names for the menus and cards; empty for an index out of range.
const char* getStringFromMissionType(int index);
const char* getStringFromTrackCondition(int index);
const char* getStringFromWeaponRestriction(int index);

// True when the library track meets the mission's track condition and its
// minimum length (a track too short can never complete the mission).
bool trackMeetsCondition(const CtrackInfoView& track, const CshipMission& mission);

template <class Ttrack>
bool trackMeetsCondition(const Ttrack& track, const CshipMission& mission) {
    return trackMeetsCondition(trackView(track), mission);
}

// The number of tracks of a library that meet the mission's condition.
template <class Tcontainer>
int countTracksMeetingCondition(const Tcontainer& tracks, const CshipMission& mission) {
    int n = 0;
    for (const auto& t : tracks)
        if (trackMeetsCondition(t, mission)) ++n;
    return n;
}

// True when a mission not yet complete (complete[i] clear) is completed by
// this game. Nothing is marked: the mission update screen does that.
bool checkMissionProgress(const std::vector<CshipMission>& missions, const uint8_t complete[4],
                          const CmissionResult& result, uint64_t shipXP);

// Case-insensitive (ASCII) search used by the track conditions.
bool containsIgnoreCase(std::string_view text, std::string_view part);
