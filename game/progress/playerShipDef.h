#pragma once
// CplayerShipDef: one ship of the player's hangar.
//
// The data block (2668 bytes, little-endian) is the part the workshop
// publishes and the ship editor backs up; everything else about the ship
// (its source, progress, flags and fitted modules) lies outside it.
//
//      0 u8  custom flag          player-designed ship (module editing is off for it)
//      1 u8  published as final
//      2 u8  built-in flag        a ship of our data file; cleared on import
//      3 u8  manufacturer         0..8, 9 none
//      4 char[33] identifier      the name the ship and sprite managers know it by
//     37 char[31] display name    30 bytes of text and a terminator
//     68 f32 scale, 72 acceleration, 76 deceleration, 80 top speed,
//     84 bullet speed factor, 88 bullet damage factor, 92 pickup force
//     96 24 turret slots of 12 bytes: u8 leading flag, 3 zero,
//        f32 firing angle (radians), u8 enabled flag, 3 zero
//    384 f32 turret sweep size, 388 f32 turret sweep rate
//    392 4 gun mounts: f32 x, f32 y
//    424 2 flare sets of 12 bytes: i8 count, 3 zero, f32 size, f32 hue
//    448 i32 engine thrust count
//    452 4 engines of 20 bytes: f32 x, y, hue, rotation (radians), scale
//    532 u32 hull image size      the image itself travels beside the block
//    536 u64 hull image handle    always 0 when stored
//    544 u32 mission count        0..4
//    548 4 missions of 188 bytes (CshipMission)
//   1300 char[1000] description
//   2300 u32 layout version (1)
//   2304 zero to the end
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "game/progress/shipMission.h"
#include "game/progress/shipModule.h"

constexpr int kNumTurretSlots = 24;
constexpr int kNumGunMounts = 4;
constexpr int kNumFlareSets = 2;
constexpr int kNumShipEngines = 4;
constexpr int kMaxShipMissions = 4;
constexpr int kNumModuleSlots = 5;
constexpr int kNoManufacturer = 9;

enum EshipSource { SHIP_BUILTIN = 0, SHIP_PROCEDURAL = 1, SHIP_CUSTOM = 2 };

struct CturretSlot {
    uint8_t leading = 0;
    float angle = 0;
    uint8_t enabled = 0;
    bool active() const { return leading && enabled; }
};
struct CgunMount { float x = 0, y = 0; };
struct CflareSet { int8_t count = 0; float size = 0, hue = 0; };
struct CshipEngine { float x = 0, y = 0, hue = 0, rotation = 0, scale = 1; };

// The typed form of the data block.
struct CplayerShipData {
    static constexpr size_t kBlockSize = 2668;
    static constexpr size_t kIdentifierBytes = 33;
    static constexpr size_t kDisplayNameBytes = 31;
    static constexpr size_t kDescriptionBytes = 1000;
    static constexpr uint32_t kLayoutVersion = 1;

    uint8_t customFlag = 0;
    uint8_t publishedFinal = 0;
    uint8_t builtIn = 0;
    uint8_t manufacturer = kNoManufacturer;
    std::string identifier;
    std::string displayName;
    float scale = 0.5f;
    float acceleration = 2.5f;
    float deceleration = 0.9f;
    float topSpeed = 16.0f;
    float bulletSpeed = 1.0f;
    float bulletDamage = 1.0f;
    float pickupForce = 0.0f;
    CturretSlot turrets[kNumTurretSlots];
    float sweepSize = 0;
    float sweepRate = 0;
    CgunMount mounts[kNumGunMounts];
    CflareSet flares[kNumFlareSets];
    int32_t engineThrusts = 0;
    CshipEngine engines[kNumShipEngines];
    std::vector<CshipMission> missions;   // at most four
    std::string description;

    // Writes the block; hullSize goes into the hull image field.
    void write(uint8_t* block, uint32_t hullSize) const;
    // Reads a block. Values out of their ranges are mended (logged), texts are
    // terminated. False (nothing changed) for a short block or no identifier.
    bool read(const uint8_t* block, size_t size, uint32_t* hullSize = nullptr);
    // Holds every value inside the ranges the ship editor offers.
    void clampToRanges();
    int numActiveTurrets() const;
};

// Summed bonuses of the fitted modules.
struct CmoduleBonuses {
    float acceleration = 0, deceleration = 0, topSpeed = 0, bulletSpeed = 0, bulletDamage = 0, pickupForce = 0;
    int startMultiplier = 0;
    float pickupLife = 0;
    bool autoAim = false, asteroidDeflect = false;
};

// How a hull image sits on its ship: hull-local units, before the ship's scale.
struct ChullFit {
    struct Ccircle { float x = 0, y = 0, r = 0; };
    float scale = 1;          // sprite scale: 2 / (longer side / 175)
    float width = 0, height = 0;
    Ccircle circles[3];
    int numCircles = 0;
};

class CplayerShipDef {
public:
    static constexpr size_t kOutsideSize = 160;

    CplayerShipData data;
    std::vector<uint8_t> hullImage;   // PNG bytes of a custom hull (empty: use hullSprite)
    std::string hullSprite;           // sprite of a built-in or generated hull

    // Outside the data block.
    int source = SHIP_BUILTIN;
    bool hidden = false, favourite = false, finished = true, excluded = false, skipEvaluation = false;
    bool published = false, publicFlag = false;
    uint64_t publishedId = 0, ownerId = 0;
    uint64_t xp = 0, totalScore = 0;
    float timePlayed = 0;
    uint16_t tracksCompleted = 0;
    bool firstFlight = false;        // not flown yet
    bool preview = false;            // shown before it is won or bought: never saved
    bool changed = false;            // worldwide statistics arrived; screens refresh
    bool statsPending = false;       // worldwide statistics still to be fetched
    bool discoveryPending = false;   // the discovery statistic still to be sent
    uint8_t missionComplete[kMaxShipMissions] = {0, 0, 0, 0};
    uint8_t procFlag = 0;            // the flag a generated ship was made with
    uint32_t globalDiscoveries = 0;
    float globalTimePlayed = 0;
    uint32_t globalTracksCleared = 0;
    float hullScale = 1;

    std::optional<CshipModule> slots[kNumModuleSlots];
    CmoduleBonuses bonus;

    // Worldwide statistics go out through this (name, amount); the Steam layer fills it.
    static std::function<void(const std::string& stat, double amount)> statHook;

    const std::string& name() const { return data.identifier; }
    bool isCustom() const { return data.customFlag != 0; }
    bool keepsRecords() const { return finished; }
    int rank() const;
    int numMissions() const { return (int)data.missions.size(); }
    int numMissionsComplete() const;

    // Play time in seconds; sends "%s_TimPlayed".
    void addTimePlayed(float seconds);
    // A finished track of over two minutes; sends "%s_TracksCleared".
    void addTrackCleared();
    // Sends "%s_ShipDiscover" once a new generated ship has been seen.
    void sendDiscovery();

    // The five module slots. fitModule refuses a module already in a slot here
    // and a sixth module; the registry's record learns where it sits.
    bool fitModule(CshipModule& module);
    bool removeModule(CshipModule& module);
    bool removeModule(const std::string& key);
    bool hasModule(const std::string& key) const;
    int getNumModulesFitted() const;
    void clearModuleSlots();
    void recomputeBonuses();

    // Import: the flag byte an imported ship must not carry, and the final tidy.
    void clearImportFlag() { data.builtIn = 0; }
    void finishDef();

    void writeDataBlock(uint8_t* block) const { data.write(block, (uint32_t)hullImage.size()); }
    bool readDataBlock(const uint8_t* block, size_t size) { return data.read(block, size); }
    void writeOutside(uint8_t* p) const;
    bool readOutside(const uint8_t* p, size_t size);
    // Copies the progress kept outside the block (not the look).
    void copyProgressFrom(const CplayerShipDef& other);
};

// The one mission check after a game: the ship's missions that this game
// completes for the first time are marked complete, and the player's record
// counts them (missions completed, those of an own design, ships with every
// mission complete). Nothing else marks a mission complete.
struct CmissionsCompleted {
    std::vector<int> newly;       // indices of the missions completed by this game
    bool allComplete = false;     // every mission of the ship is complete now
};
struct CprogressRecord;
CmissionsCompleted completeShipMissions(CplayerShipDef& ship, CprogressRecord& progress, const CmissionResult& result);

// Fits a hull image of the given size to a ship: the sprite scale makes the
// longer side 350 units, and the collision circles follow the hull's shape.
ChullFit fitHullSprite(CplayerShipDef& ship, int imageWidth, int imageHeight);
