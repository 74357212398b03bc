#pragma once
// Perks: upgrades bought with the player's cash. CperkDef is the constant
// definition table (37 rows); CperkMgr keeps which perks are unlocked,
// enabled, at which level and bound to which perk button.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

constexpr int kNumPerkDefs = 37;
constexpr int kPerkMaxLevels = 10;

enum EperkClass {
    PERKCLASS_SCORING = 0,
    PERKCLASS_FIREPOWER = 1,
    PERKCLASS_FIREPOWER_BOOST = 2,
    PERKCLASS_SURVIVABILITY = 3,
    PERKCLASS_OTHER = 4,
    PERKCLASS_DIFFICULTY = 5,
    PERKCLASS_COUNT = 6
};

enum EperkId {
    PERK_GOODIE_BAG = 0,
    PERK_START_WITH_COL = 1,
    PERK_START_WITH_POW = 2,
    PERK_EXTRA_LIFE_1 = 3,
    PERK_EXTRA_LIFE_2 = 4,
    PERK_EXTRA_LIFE_3 = 5,
    PERK_PERK_SLOT = 6,
    PERK_EXTRA_MULTIPLIER = 7,
    PERK_EXTRA_DAREDEVIL = 8,
    PERK_EXTRA_SURVIVOR = 9,
    PERK_MULTIPLIER_RAIN = 10,
    PERK_CASH_RAIN = 11,
    PERK_MORE_SCORE = 12,
    PERK_MORE_MULTIPLIER = 13,
    PERK_SUPER_BOMB = 14,
    PERK_EXTRA_SUPER_BOMB = 15,
    PERK_MICRO_MISSILES = 16,
    PERK_EXTRA_MICRO_MISSILE = 17,
    PERK_REFLECT_SHIELD = 18,
    PERK_EXTRA_REFLECT_SHIELD = 19,
    PERK_ULTRA_BEAM = 20,
    PERK_EXTRA_ULTRA_BEAM = 21,
    PERK_INSANE_MODE = 22,
    PERK_SUICIDAL_MODE = 23,
    PERK_APOCALYPTIC_MODE = 24,
    PERK_HIGHER_MUL_CAP = 25,
    PERK_EMP = 26,
    PERK_EXTRA_EMP = 27,
    PERK_TURRET = 28,
    PERK_EXTRA_TURRET = 29,
    PERK_DECOY = 30,
    PERK_EXTRA_DECOY = 31,
    PERK_WINGMAN = 32,
    PERK_EXTRA_WINGMAN = 33,
    PERK_ZEN_MODE = 34,
    PERK_MORE_MUL5 = 35,
    PERK_MORE_MUL10 = 36
};

struct CperkDef {
    const char* nameTag;
    int perkClass;
    int costs[kPerkMaxLevels];   // one per level, 0 after the last
    int blocked;                 // 0 in every row
    float step;                  // value gained per level
    uint8_t shown;               // set in every row
    int maxLevel;                // the number of positive costs from the first, minus one
};

// The definition table, indexed by perk id.
const CperkDef& perkDef(int id);
const std::array<CperkDef, kNumPerkDefs>& perkDefs();
const char* perkClassTag(int perkClass);   // "perkClass_Scoring" ...

struct CperkState {
    int id = 0;
    uint8_t unlocked = 0;
    uint8_t enabled = 0;
    int8_t level = -1;   // -1: not bought
};

struct CperkBinding {
    int id = 0;
    int8_t button = -1;   // -1 none, else perk button 0..3
};

class CperkMgr {
public:
    static constexpr int kMaxFirePowerEnabled = 4;
    static constexpr int kNumPerkButtons = 4;
    static constexpr size_t kRecordSize = 4 + kNumPerkDefs * 4;

    CperkMgr() { reset(); }

    // Every perk locked, disabled, not bought and unbound, except perks 3 and
    // 14: unlocked, enabled, level 0.
    void reset();

    bool isValid(int id) const { return id >= 0 && id < kNumPerkDefs; }
    const CperkState& state(int id) const { return states_[clampId(id)]; }
    const CperkBinding& binding(int id) const { return bindings_[clampId(id)]; }

    bool isUnlocked(int id) const { return isValid(id) && states_[id].unlocked; }
    bool isBought(int id) const { return isValid(id) && states_[id].level >= 0; }
    int level(int id) const { return isValid(id) ? states_[id].level : -1; }
    int maxLevel(int id) const { return isValid(id) ? perkDef(id).maxLevel : 0; }
    int numLevels(int id) const { return maxLevel(id) + 1; }

    // The enabled byte, or the party byte while the party override is on and
    // the perk is unlocked.
    bool isEnabled(int id) const;
    // The rules for switching a perk on (the blocked flag, four FirePower
    // perks at most, the Extra perks need their base perk).
    bool canEnable(int id) const;
    // Outside party mode it also switches off every perk that now breaks the
    // rules and marks the save; in party mode it sets the party byte.
    void setEnabled(int id, bool on);
    // The prerequisite for unlocking.
    bool isUnlockable(int id) const;
    void setUnlocked(int id, bool on);
    // 3 x the cost of the next level, 0 at the top.
    int getPrice(int id) const;
    // Raises the level by one (buying a perk sets level 0). False at the top.
    bool buyLevel(int id);

    // Perk slots: 6 + the level of perk 6 (5 when not bought).
    int numSlots() const;
    int numEnabled() const;
    int numFirePowerEnabled() const;
    bool hasFreeSlot() const { return numEnabled() < numSlots(); }
    // Switches off enabled perks that break the slot and class rules (the
    // latest ids go first). True when something changed.
    bool validateEnabled();

    // The perk's value at its level: (level + 1) x step while bought and
    // enabled, else 0.
    float getPerkValue(int id) const;

    // Perk buttons.
    void setButton(int id, int button);
    int getButton(int id) const { return isValid(id) ? bindings_[id].button : -1; }
    // The enabled FirePower perk bound to a button, or -1.
    int perkOnButton(int button) const;
    // Every enabled FirePower perk without a button takes the first free one
    // (in id order). True when a binding changed.
    bool bindFreeButtons();

    // Texts.
    std::string getPerkName(int id) const;
    std::string getPerkDesc(int id) const;
    std::string getPerkSubText(int id) const;
    std::string getPerkClassName(int perkClass) const;

    // Party games use their own enabled bytes.
    void setPartyOverride(bool on) { partyOverride_ = on; }
    bool partyOverride() const { return partyOverride_; }
    void setPartyEnabled(int id, bool on);

    // A mission or challenge may switch perks off for one game; the enabled
    // states are kept and restored afterwards.
    void saveEnabledStates();
    void restoreEnabledStates();
    // Switches a perk off for the coming game only: outside party mode the
    // enabled byte (the set is checked again and saved), in party mode the
    // kept copy.
    void switchOffForGame(int id);
    bool restorePending() const { return restorePending_; }

    // The stored record: u32 version, then per perk u8 unlocked, u8 enabled,
    // i8 level, i8 button.
    void writeRecord(std::vector<uint8_t>& out) const;
    bool readRecord(const uint8_t* p, size_t size);

    bool saveRequested = false;

private:
    static int clampId(int id) { return id < 0 ? 0 : (id >= kNumPerkDefs ? kNumPerkDefs - 1 : id); }
    bool normalEnabled(int id) const { return states_[id].enabled != 0; }

    std::array<CperkState, kNumPerkDefs> states_;
    std::array<CperkBinding, kNumPerkDefs> bindings_;
    std::array<uint8_t, kNumPerkDefs> partyEnabled_{};
    std::array<uint8_t, kNumPerkDefs> savedEnabled_{};
    bool partyOverride_ = false;
    bool restorePending_ = false;
};

// The Extra perk's base perk (15 -> 14 ...), or -1 for any other perk.
int perkBaseOf(int id);
