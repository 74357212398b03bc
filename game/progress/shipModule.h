#pragma once
// Ship modules: bonuses a player collects (one per ship whose missions are
// half done, keyed by the ship's name) and fits into a ship's five slots.
//
// Stored module record, 172 bytes, little-endian:
//     0 char[36] key            the name of the ship it came from (32 bytes + terminator)
//    36 u8  rarity              0 common, 1 uncommon, 2 rare, 3 legendary
//    37 u8  positive stat kind  0..9 (EshipModStat)
//    38 u8  negative stat kind  0..7
//    39 u8  fitted slot         0..4, 255 when not fitted
//    40 f32 positive factor
//    44 f32 negative factor
//    48 char[36] fitted ship    identifier of the ship holding it, empty when none
//    84 char[64] prop           the prop shown on the module card
//   148 24 zero bytes
#include <cstdint>
#include <string>
#include <vector>

enum EshipModStat {
    ShipMod_TopSpeed = 0,
    ShipMod_Accel = 1,
    ShipMod_BulletDamage = 2,
    ShipMod_BulletSpeed = 3,
    ShipMod_PickupForce = 4,
    ShipMod_Decel = 5,
    ShipMod_StartMultiplier = 6,
    ShipMod_IncreasedPickupLife = 7,
    ShipMod_AutoAim = 8,
    ShipMod_AsteroidDeflect = 9,
    ShipMod_All = 10,
    kNumShipModStats = 11
};

constexpr int kNumRarities = 4;
constexpr uint8_t kModuleNotFitted = 255;

// What each stat kind gives, read from "shipModules.txt".
class CshipModuleTable {
public:
    struct Ckind {
        std::string prop;
        float bonus[kNumRarities] = {0, 0, 0, 0};   // lowest bonus by rarity
        float spread = 0;                           // a roll adds up to this
        float penalty = 0;                          // when this stat pays for another
    };
    // Loaded from the data folder on first use.
    static CshipModuleTable& get();
    bool load(const std::string& fileName = "shipModules.txt");
    bool loadFromText(const char* text);
    bool loaded() const { return loaded_; }

    int rarityWeight[kNumRarities] = {60, 25, 12, 3};
    Ckind kinds[ShipMod_All];

private:
    bool loaded_ = false;
};

class CshipModule {
public:
    static constexpr size_t kRecordSize = 172;
    static constexpr size_t kKeyBytes = 36;
    static constexpr size_t kPropBytes = 64;

    std::string key;
    int rarity = 0;
    int posKind = 0;
    float posFactor = 0;
    int negKind = 0;
    float negFactor = 0;
    std::string prop;
    std::string fittedShip;
    uint8_t fittedSlot = kModuleNotFitted;

    // The module a key gives: the same key always gives the same module.
    void initFromKey(const std::string& key);
    bool isFitted() const { return !fittedShip.empty(); }

    void write(uint8_t* p) const;
    // False for a short buffer; bad kinds or rarities refuse the record.
    bool read(const uint8_t* p, size_t size);
};

// The player's collection of modules.
class CshipModuleMgr {
public:
    explicit CshipModuleMgr(bool* saveFlag = nullptr) : saveFlag_(saveFlag) {}

    std::vector<CshipModule> modules;

    CshipModule* findModule(const std::string& key);
    int findModuleIdx(const std::string& key) const;
    // Adds the module of a key unless it is held already; sets the save flag.
    CshipModule* addModule(const std::string& key);
    // Removes from the collection; the caller takes it off its ship first.
    bool removeModule(int index);
    bool removeModule(const std::string& key);
    void clear() { modules.clear(); }
    size_t size() const { return modules.size(); }

    void write(std::vector<uint8_t>& out) const;
    bool read(const uint8_t* p, size_t size, std::vector<CshipModule>& staged) const;

private:
    void markDirty() { if (saveFlag_) *saveFlag_ = true; }
    bool* saveFlag_;
};

// Translated texts of the module cards; empty out of range.
const char* getShipModString(int kind);
const char* getRarityString(int rarity);
