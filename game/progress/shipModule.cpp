#include "game/progress/shipModule.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/bString.h"
#include "engine/engine.h"
#include "engine/md5.h"
#include "engine/resourceFile.h"
#include "game/progress/recordIO.h"

namespace {

const char* const kStatTags[kNumShipModStats] = {
    "shipMod_TopSpeed",    "shipMod_Accel",     "shipMod_BulletDamage",       "shipMod_BulletSpeed",
    "shipMod_PickupForce", "shipMod_Decel",     "shipMod_StartMultiplier",    "shipMod_IncreasedPickupLife",
    "shipMod_AutoAim",     "shipMod_AsteroidDeflect", "shipMod_All"};

const char* const kRarityTags[kNumRarities] = {"rarityCommon", "rarityUncommon", "rarityRare", "rarityLegendary"};

const char* const kKindNames[ShipMod_All] = {"TopSpeed",    "Accel", "BulletDamage",        "BulletSpeed",
                                             "PickupForce", "Decel", "StartMultiplier",     "IncreasedPickupLife",
                                             "AutoAim",     "AsteroidDeflect"};

// Stats that can pay for another's bonus (the flags cannot).
constexpr int kNumPenaltyStats = 8;

}  // namespace

CshipModuleTable& CshipModuleTable::get() {
    static CshipModuleTable table;
    if (!table.loaded_) table.load();
    return table;
}

bool CshipModuleTable::load(const std::string& fileName) {
    CresourceFile file;
    if (!file.open("textFiles/" + fileName, RF_DATA)) {
        gEngine->log.print(LOG_E, "Can't find module table %s", fileName.c_str());
        return false;
    }
    return loadFromText(file.text());
}

bool CshipModuleTable::loadFromText(const char* text) {
    const char* c = text;
    std::string tok;
    int kind = -1;
    while (Cengine::readToken(tok, c)) {
        if (tok == "EndFile") {
            loaded_ = true;
            return true;
        }
        if (tok == "Rarity") {
            for (int& w : rarityWeight) w = std::max(0, Cengine::readInt(c));
        } else if (tok == "Module") {
            Cengine::readToken(tok, c);
            kind = -1;
            for (int k = 0; k < ShipMod_All; ++k)
                if (equalsIgnoreCase(tok, kKindNames[k])) kind = k;
            if (kind < 0) {
                gEngine->log.print(LOG_L, "shipModules: unknown module kind '%s'", tok.c_str());
                return false;
            }
        } else if (tok == "EndModule") {
            kind = -1;
        } else if (kind >= 0 && tok == "Prop") {
            Cengine::readToken(kinds[kind].prop, c);
        } else if (kind >= 0 && tok == "Bonus") {
            for (float& b : kinds[kind].bonus) b = Cengine::readFloat(c);
        } else if (kind >= 0 && tok == "Spread") {
            kinds[kind].spread = Cengine::readFloat(c);
        } else if (kind >= 0 && tok == "Penalty") {
            kinds[kind].penalty = Cengine::readFloat(c);
        } else {
            gEngine->log.print(LOG_L, "shipModules: unexpected token '%s'", tok.c_str());
            return false;
        }
    }
    gEngine->log.print(LOG_L, "shipModules: no EndFile");
    return false;
}

void CshipModule::initFromKey(const std::string& k) {
    const CshipModuleTable& table = CshipModuleTable::get();
    uint8_t d[16];
    Cmd5 md5;
    md5.update(k.data(), k.size());
    md5.finish(d);

    key = k.substr(0, utf8CutPoint(k, kKeyBytes - 1));
    int total = 0;
    for (int w : table.rarityWeight) total += w;
    int roll = total > 0 ? (int)(getU16(d) % (uint32_t)total) : 0;
    rarity = 0;
    for (int r = 0; r < kNumRarities; ++r) {
        if (roll < table.rarityWeight[r]) {
            rarity = r;
            break;
        }
        roll -= table.rarityWeight[r];
    }
    posKind = d[2] % ShipMod_All;
    // The stat that pays is never the one improved.
    if (posKind < kNumPenaltyStats) {
        negKind = d[3] % (kNumPenaltyStats - 1);
        if (negKind >= posKind) ++negKind;
    } else {
        negKind = d[3] % kNumPenaltyStats;
    }

    const auto& pos = table.kinds[posKind];
    float spread = pos.spread * (float)d[4] / 255.0f;
    posFactor = pos.bonus[rarity] + (pos.bonus[rarity] < 0 ? -spread : spread);
    if (posKind == ShipMod_StartMultiplier) posFactor = std::floor(posFactor);
    else posFactor = std::round(posFactor * 100.0f) / 100.0f;
    // Rarer modules pay less for their bonus.
    negFactor = table.kinds[negKind].penalty * (1.0f - 0.2f * (float)rarity);
    if (negKind == ShipMod_StartMultiplier) negFactor = std::trunc(negFactor);
    else negFactor = std::round(negFactor * 100.0f) / 100.0f;
    prop = pos.prop;
    fittedShip.clear();
    fittedSlot = kModuleNotFitted;
}

void CshipModule::write(uint8_t* p) const {
    Cbytes out;
    CrecordWriter w(out);
    w.text(key, kKeyBytes);
    w.u8((uint8_t)rarity);
    w.u8((uint8_t)posKind);
    w.u8((uint8_t)negKind);
    w.u8(fittedSlot);
    w.f32(posFactor);
    w.f32(negFactor);
    w.text(fittedShip, kKeyBytes);
    w.text(prop, kPropBytes);
    w.padTo(kRecordSize);
    memcpy(p, out.data(), kRecordSize);
}

bool CshipModule::read(const uint8_t* p, size_t size) {
    if (!p || size < kRecordSize) return false;
    CrecordReader r(p, kRecordSize);
    CshipModule m;
    m.key = r.text(kKeyBytes);
    m.rarity = r.u8();
    m.posKind = r.u8();
    m.negKind = r.u8();
    m.fittedSlot = r.u8();
    m.posFactor = r.f32();
    m.negFactor = r.f32();
    m.fittedShip = r.text(kKeyBytes);
    m.prop = r.text(kPropBytes);
    if (r.failed() || m.key.empty() || m.rarity >= kNumRarities || m.posKind >= ShipMod_All ||
        m.negKind >= kNumPenaltyStats || !std::isfinite(m.posFactor) || !std::isfinite(m.negFactor)) {
        gEngine->log.print(LOG_L, "Module record refused: '%s'", m.key.c_str());
        return false;
    }
    if (m.fittedSlot >= 5 && m.fittedSlot != kModuleNotFitted) m.fittedSlot = kModuleNotFitted;
    if (m.fittedShip.empty()) m.fittedSlot = kModuleNotFitted;
    *this = std::move(m);
    return true;
}

CshipModule* CshipModuleMgr::findModule(const std::string& key) {
    int i = findModuleIdx(key);
    return i < 0 ? nullptr : &modules[(size_t)i];
}

int CshipModuleMgr::findModuleIdx(const std::string& key) const {
    for (size_t i = 0; i < modules.size(); ++i)
        if (equalsIgnoreCase(modules[i].key, key)) return (int)i;
    return -1;
}

CshipModule* CshipModuleMgr::addModule(const std::string& key) {
    if (key.empty()) return nullptr;
    if (CshipModule* held = findModule(key)) return held;
    CshipModule m;
    m.initFromKey(key);
    modules.push_back(std::move(m));
    markDirty();
    return &modules.back();
}

bool CshipModuleMgr::removeModule(int index) {
    if (index < 0 || (size_t)index >= modules.size()) return false;
    modules.erase(modules.begin() + index);
    markDirty();
    return true;
}

bool CshipModuleMgr::removeModule(const std::string& key) { return removeModule(findModuleIdx(key)); }

void CshipModuleMgr::write(std::vector<uint8_t>& out) const {
    CrecordWriter w(out);
    w.u32((uint32_t)modules.size());
    size_t at = out.size();
    out.resize(at + modules.size() * CshipModule::kRecordSize);
    for (const auto& m : modules) {
        m.write(&out[at]);
        at += CshipModule::kRecordSize;
    }
}

bool CshipModuleMgr::read(const uint8_t* p, size_t size, std::vector<CshipModule>& staged) const {
    CrecordReader r(p, size);
    uint32_t count = r.u32();
    if (r.failed() || count > r.remaining() / CshipModule::kRecordSize ||
        r.remaining() != (size_t)count * CshipModule::kRecordSize)
        return false;
    staged.clear();
    for (uint32_t i = 0; i < count; ++i) {
        CshipModule m;
        const uint8_t* rec = r.span(CshipModule::kRecordSize);
        // A bad record is dropped; the rest of the collection stands.
        if (!rec || !m.read(rec, CshipModule::kRecordSize)) continue;
        bool dup = false;
        for (const auto& s : staged) dup = dup || equalsIgnoreCase(s.key, m.key);
        if (!dup) staged.push_back(std::move(m));
    }
    return true;
}

const char* getShipModString(int kind) {
    if (kind < 0 || kind >= kNumShipModStats) return "";
    return gEngine->text(kStatTags[kind]);
}

const char* getRarityString(int rarity) {
    if (rarity < 0 || rarity >= kNumRarities) return "";
    return gEngine->text(kRarityTags[rarity]);
}
