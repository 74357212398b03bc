#include "game/perkMgr.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "engine/engine.h"

namespace {
constexpr int S = PERKCLASS_SCORING, F = PERKCLASS_FIREPOWER, B = PERKCLASS_FIREPOWER_BOOST,
              V = PERKCLASS_SURVIVABILITY, O = PERKCLASS_OTHER, D = PERKCLASS_DIFFICULTY;

#define PERK(tag, cls, step, ...) CperkDef{tag, cls, {__VA_ARGS__}, 0, step, 1, 0}

std::array<CperkDef, kNumPerkDefs> makeTable() {
    std::array<CperkDef, kNumPerkDefs> t = {{
        PERK("perk_GoodieBag", O, 1.0f, 5, 10, 15, 35, 50, 100, 150, 200, 250, 500),
        PERK("perk_StartWithNumCol", O, 1.0f, 5, 25, 100, 500, 1000),
        PERK("perk_StartWithNumPow", O, 1.0f, 5, 25, 100, 500, 1000),
        PERK("perk_ExtraLife", V, 2.0f, 10),
        PERK("perk_ExtraLife", V, 2.0f, 500),
        PERK("perk_ExtraLife", V, 2.0f, 1000),
        PERK("perk_PerkSlot", O, 1.0f, 75, 100, 150, 200, 250, 300, 400, 500, 600),
        PERK("perk_ExtraMultiplier", S, 2.0f, 20, 80, 150, 350, 500, 600, 700, 800, 1000, 1200),
        PERK("perk_ExtraDareDevil", S, 1.0f, 20, 30, 40, 50, 100, 150, 200, 250, 300),
        PERK("perk_ExtraSurvivor", S, 2.0f, 10, 20, 30, 50, 100, 150, 200, 500, 1000, 1500),
        PERK("perk_MultiplierRain_Enable", S, 1.0f, 5, 50, 75, 100, 150, 200, 250, 500, 1000, 1500),
        PERK("perk_CashRain_Enable", O, 1.0f, 5, 25, 50, 75, 100, 125, 150, 175, 200, 225),
        PERK("perk_MoreScore_Enable", S, 0.02f, 10, 20, 50, 100, 200, 300, 400, 500, 600, 750),
        PERK("perk_MoreMultiplier_Enable", S, 0.04f, 10, 50, 100, 150, 200, 250, 300, 350, 400, 500),
        PERK("perk_SuperBomb_Enable", F, 0.1f, 10, 50, 150, 500, 1000),
        PERK("perk_ExtraSuperBomb", B, 1.0f, 10, 20, 50),
        PERK("perk_MicroMissiles_Enable", F, 2.0f, 10, 20, 50, 100, 150, 200, 250, 300, 400, 500),
        PERK("perk_ExtraMicroMissile", B, 1.0f, 10, 20, 50, 100, 125, 150, 175, 200, 300),
        PERK("perk_ReflectShield_Enable", F, 0.1f, 10, 50, 50, 100, 150, 200, 250, 300, 400, 500),
        PERK("perk_ExtraReflectShield", B, 1.0f, 10, 20, 50, 100, 125, 150, 175, 200, 300),
        PERK("perk_UltraBeam_Enable", F, 0.1f, 10, 50, 50, 100, 150, 200, 250, 300, 400, 500),
        PERK("perk_ExtraUltraBeam", B, 1.0f, 10, 20, 50, 100, 125, 150, 175, 200, 300),
        PERK("perk_InsaneMode", D, 0.0f, 100),
        PERK("perk_SuicidalMode", D, 0.0f, 200),
        PERK("perk_ApocalypticMode", D, 0.0f, 500),
        PERK("perk_HigherMulCap_Enable", S, 5.0f, 200, 400, 600, 800, 1000, 1200, 1400, 1600, 1800, 2000),
        PERK("perk_EMP_Enable", F, 0.1f, 10, 50, 50, 100, 150, 200, 250, 300, 400, 500),
        PERK("perk_ExtraEMP", B, 1.0f, 100, 200, 500, 1000),
        PERK("perk_Turret_Enable", F, 0.1f, 10, 50, 50, 100, 150, 200, 250, 300, 400, 500),
        PERK("perk_ExtraTurret", B, 1.0f, 100, 200, 500, 1000),
        PERK("perk_Decoy_Enable", F, 0.1f, 10, 50, 50, 100, 150, 200, 250, 300, 400, 500),
        PERK("perk_ExtraDecoy", B, 1.0f, 10, 20, 50, 100, 125, 150, 175, 200, 300),
        PERK("perk_Wingman_Enable", F, 0.1f, 10, 50, 50, 100, 150, 200, 250, 300, 400, 500),
        PERK("perk_ExtraWingman", B, 1.0f, 100, 200, 500, 1000),
        PERK("perk_ZenMode", D, 0.0f, 1000),
        PERK("perk_MoreMul5", S, 0.2f, 20, 80, 150, 200, 300, 400, 500, 600, 700, 800),
        PERK("perk_MoreMul10", S, 0.1f, 50, 100, 250, 400, 500, 600, 700, 800, 900, 1000),
    }};
    // The maximum level index: the positive costs counted from the first, minus one.
    for (auto& d : t) {
        int n = 0;
        while (n < kPerkMaxLevels && d.costs[n] > 0) ++n;
        d.maxLevel = n - 1;
    }
    return t;
}
#undef PERK

const std::array<CperkDef, kNumPerkDefs> kPerkTable = makeTable();

const char* kClassTags[PERKCLASS_COUNT] = {"perkClass_Scoring",       "perkClass_FirePower",
                                           "perkClass_FirePowerBoost", "perkClass_Survivability",
                                           "perkClass_Other",          "perkClass_Difficulty"};

std::string lookUp(const std::string& tag) { return gEngine ? gEngine->text(tag) : tag; }

// Fills a value text's one number conversion (%d, %i, %f, %g with flags and
// precision); a text with none, or with anything else after a '%', stays as it is.
std::string formatValueText(const std::string& text, float value) {
    size_t pct = std::string::npos;
    int conversions = 0;
    char conv = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') continue;
        if (i + 1 < text.size() && text[i + 1] == '%') {
            ++i;
            continue;
        }
        size_t j = i + 1;
        while (j < text.size() && strchr("0123456789.+- #", text[j])) ++j;
        if (j >= text.size() || !strchr("difg", text[j])) return text;
        conv = text[j];
        pct = i;
        ++conversions;
        i = j;
    }
    if (conversions != 1 || pct == std::string::npos) return text;
    char buf[256];
    if (conv == 'd' || conv == 'i')
        snprintf(buf, sizeof buf, text.c_str(), (int)std::lround(value));
    else
        snprintf(buf, sizeof buf, text.c_str(), (double)value);
    return buf;
}
}  // namespace

const CperkDef& perkDef(int id) { return kPerkTable[id < 0 ? 0 : (id >= kNumPerkDefs ? kNumPerkDefs - 1 : id)]; }
const std::array<CperkDef, kNumPerkDefs>& perkDefs() { return kPerkTable; }
const char* perkClassTag(int perkClass) {
    return perkClass >= 0 && perkClass < PERKCLASS_COUNT ? kClassTags[perkClass] : "perkClass_Other";
}

int perkBaseOf(int id) {
    switch (id) {
        case 15: case 17: case 19: case 21: case 27: case 29: case 31: case 33: return id - 1;
        default: return -1;
    }
}

void CperkMgr::reset() {
    for (int i = 0; i < kNumPerkDefs; ++i) {
        states_[i] = CperkState{i, 0, 0, -1};
        bindings_[i] = CperkBinding{i, -1};
        partyEnabled_[i] = 0;
        savedEnabled_[i] = 0;
    }
    for (int id : {PERK_EXTRA_LIFE_1, PERK_SUPER_BOMB}) {
        states_[id].unlocked = 1;
        states_[id].enabled = 1;
        states_[id].level = 0;
    }
    partyOverride_ = false;
    restorePending_ = false;
}

bool CperkMgr::isEnabled(int id) const {
    if (!isValid(id)) return false;
    if (partyOverride_ && states_[id].unlocked) return partyEnabled_[id] != 0;
    return normalEnabled(id);
}

bool CperkMgr::canEnable(int id) const {
    if (!isValid(id)) return false;
    const CperkDef& d = perkDef(id);
    if (d.blocked) return false;
    if (d.perkClass == PERKCLASS_FIREPOWER && !isEnabled(id) && numFirePowerEnabled() >= kMaxFirePowerEnabled)
        return false;
    int base = perkBaseOf(id);
    if (base >= 0 && !isEnabled(base)) return false;
    return true;
}

void CperkMgr::setEnabled(int id, bool on) {
    if (!isValid(id)) return;
    if (partyOverride_) {
        partyEnabled_[id] = on ? 1 : 0;
        return;
    }
    states_[id].enabled = on ? 1 : 0;
    validateEnabled();
    saveRequested = true;
}

void CperkMgr::setPartyEnabled(int id, bool on) {
    if (isValid(id)) partyEnabled_[id] = on ? 1 : 0;
}

bool CperkMgr::isUnlockable(int id) const {
    if (!isValid(id)) return false;
    int need = -1;
    if (perkBaseOf(id) >= 0) need = id - 1;
    else if (id == PERK_SUICIDAL_MODE) need = PERK_INSANE_MODE;
    else if (id == PERK_APOCALYPTIC_MODE) need = PERK_SUICIDAL_MODE;
    else if (id == PERK_ZEN_MODE) need = PERK_APOCALYPTIC_MODE;
    return need < 0 || states_[need].unlocked;
}

void CperkMgr::setUnlocked(int id, bool on) {
    if (!isValid(id)) return;
    states_[id].unlocked = on ? 1 : 0;
    saveRequested = true;
}

int CperkMgr::getPrice(int id) const {
    if (!isValid(id)) return 0;
    int next = states_[id].level + 1;
    if (next > maxLevel(id)) return 0;
    return 3 * perkDef(id).costs[next];
}

bool CperkMgr::buyLevel(int id) {
    if (!isValid(id) || states_[id].level >= maxLevel(id)) return false;
    ++states_[id].level;
    saveRequested = true;
    return true;
}

int CperkMgr::numSlots() const { return 6 + states_[PERK_PERK_SLOT].level; }

int CperkMgr::numEnabled() const {
    int n = 0;
    for (int i = 0; i < kNumPerkDefs; ++i) n += isEnabled(i) ? 1 : 0;
    return n;
}

int CperkMgr::numFirePowerEnabled() const {
    int n = 0;
    for (int i = 0; i < kNumPerkDefs; ++i)
        if (perkDef(i).perkClass == PERKCLASS_FIREPOWER && isEnabled(i)) ++n;
    return n;
}

bool CperkMgr::validateEnabled() {
    bool changed = false;
    int slots = numSlots(), used = 0, firePower = 0;
    for (int i = 0; i < kNumPerkDefs; ++i) {
        if (!states_[i].enabled) continue;
        const CperkDef& d = perkDef(i);
        int base = perkBaseOf(i);
        bool ok = !d.blocked && states_[i].unlocked && states_[i].level >= 0 && used < slots;
        if (ok && d.perkClass == PERKCLASS_FIREPOWER && firePower >= kMaxFirePowerEnabled) ok = false;
        if (ok && base >= 0 && !states_[base].enabled) ok = false;
        if (!ok) {
            states_[i].enabled = 0;
            changed = true;
            continue;
        }
        ++used;
        if (d.perkClass == PERKCLASS_FIREPOWER) ++firePower;
    }
    if (changed) saveRequested = true;
    return changed;
}

float CperkMgr::getPerkValue(int id) const {
    if (!isValid(id) || !isEnabled(id) || states_[id].level < 0) return 0;
    return (states_[id].level + 1) * perkDef(id).step;
}

void CperkMgr::setButton(int id, int button) {
    if (!isValid(id)) return;
    bindings_[id].button = (int8_t)(button >= 0 && button < kNumPerkButtons ? button : -1);
    saveRequested = true;
}

int CperkMgr::perkOnButton(int button) const {
    for (int i = 0; i < kNumPerkDefs; ++i)
        if (perkDef(i).perkClass == PERKCLASS_FIREPOWER && isEnabled(i) && bindings_[i].button == button) return i;
    return -1;
}

bool CperkMgr::bindFreeButtons() {
    bool taken[kNumPerkButtons] = {false, false, false, false};
    for (int i = 0; i < kNumPerkDefs; ++i)
        if (perkDef(i).perkClass == PERKCLASS_FIREPOWER && isEnabled(i) && bindings_[i].button >= 0)
            taken[bindings_[i].button] = true;
    bool changed = false;
    for (int i = 0; i < kNumPerkDefs; ++i) {
        if (perkDef(i).perkClass != PERKCLASS_FIREPOWER || !isEnabled(i) || bindings_[i].button >= 0) continue;
        for (int b = 0; b < kNumPerkButtons; ++b) {
            if (taken[b]) continue;
            taken[b] = true;
            bindings_[i].button = (int8_t)b;
            changed = true;
            break;
        }
    }
    return changed;
}

std::string CperkMgr::getPerkName(int id) const { return lookUp(perkDef(id).nameTag); }
std::string CperkMgr::getPerkDesc(int id) const { return lookUp(std::string(perkDef(id).nameTag) + "Desc2"); }
std::string CperkMgr::getPerkSubText(int id) const {
    std::string text = lookUp(std::string(perkDef(id).nameTag) + "_SubTxt");
    float value = isValid(id) && states_[id].level >= 0 ? (states_[id].level + 1) * perkDef(id).step : 0;
    return formatValueText(text, value);
}
std::string CperkMgr::getPerkClassName(int perkClass) const { return lookUp(perkClassTag(perkClass)); }

void CperkMgr::saveEnabledStates() {
    // A set switched off for a game that never came is the player's again
    // first: what is kept is always the player's own choice.
    restoreEnabledStates();
    for (int i = 0; i < kNumPerkDefs; ++i) savedEnabled_[i] = states_[i].enabled;
    restorePending_ = true;
}

void CperkMgr::switchOffForGame(int id) {
    if (!isValid(id)) return;
    if (partyOverride_) {
        savedEnabled_[id] = 0;
        return;
    }
    states_[id].enabled = 0;
    validateEnabled();
    saveRequested = true;
}

void CperkMgr::restoreEnabledStates() {
    if (!restorePending_) return;
    for (int i = 0; i < kNumPerkDefs; ++i) states_[i].enabled = savedEnabled_[i];
    restorePending_ = false;
}

void CperkMgr::writeRecord(std::vector<uint8_t>& out) const {
    out.assign(kRecordSize, 0);
    out[0] = 1;
    for (int i = 0; i < kNumPerkDefs; ++i) {
        uint8_t* p = out.data() + 4 + i * 4;
        p[0] = states_[i].unlocked;
        p[1] = restorePending_ ? savedEnabled_[i] : states_[i].enabled;
        p[2] = (uint8_t)states_[i].level;
        p[3] = (uint8_t)bindings_[i].button;
    }
}

bool CperkMgr::readRecord(const uint8_t* p, size_t size) {
    if (!p || size < kRecordSize || p[0] != 1 || p[1] || p[2] || p[3]) {
        if (gEngine) gEngine->log.print(LOG_L, "Perk record refused (size %d)", (int)size);
        return false;
    }
    for (int i = 0; i < kNumPerkDefs; ++i) {
        const uint8_t* r = p + 4 + i * 4;
        states_[i].unlocked = r[0] ? 1 : 0;
        states_[i].enabled = r[1] ? 1 : 0;
        int level = (int8_t)r[2];
        states_[i].level = (int8_t)(level < -1 ? -1 : (level > maxLevel(i) ? maxLevel(i) : level));
        int button = (int8_t)r[3];
        bindings_[i].button = (int8_t)(button >= 0 && button < kNumPerkButtons ? button : -1);
    }
    restorePending_ = false;
    validateEnabled();
    return true;
}
