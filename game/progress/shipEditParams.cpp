#include "game/progress/shipEditParams.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "game/progress/playerShipDef.h"

namespace {

// row, basic, min, max, step, decimals, points low, points high, label, scale, group, time
const std::array<CshipEditParam, CshipEditParams::kNumRows> kTable = {{
    {0, 1, 0, 0, 0, 0, 0, 0, "EditPublishToSteam", 1, 0, 0},
    {1, 1, 0, 0, 0, 0, 0, 0, "EditPublishToSteam", 1, 0, 0},
    {2, 1, 0, 0, 0, 0, 0, 0, "EditLoadImage", 1, 0, 0},
    {3, 1, 0, 0, 0, 0, 0, 0, "EditShipName", 1, 0, 0},
    {4, 1, 0.2f, 1.05f, 0.05f, 2, -100, 80, "EditShipScale", 1, 0, 0},
    {5, 1, 0.5f, 5, 0.5f, 1, 150, -100, "EditAcceleration", 1, 0, 0},
    {6, 1, 0.8f, 1, 0.02f, 2, -50, 100, "EditDeceleration", 1, 0, 0},
    {7, 1, 12, 25, 0.5f, 1, 120, -130, "EditTopSpeed", 1, 0, 0},
    {8, 1, 0.5f, 2.5f, 0.1f, 1, 100, -200, "EditBulletSpeed", 1, 0, 0},
    {9, 1, 0.5f, 2.5f, 0.1f, 1, 100, -320, "EditBulletDamage", 1, 0, 0},
    {10, 1, -2, 2, 0.1f, 1, 400, -400, "EditPickupForce", 1, 0, 0},
    {11, 1, 2, 4, 2, 0, 0, -60, "EditNumBeams", 1, 0, 0},
    {12, 1, -3, 3, 0.02f, 2, 0, 0, "EditTurretAngleBeam", 1, 1, 0},
    {13, 1, -3, 3, 0.02f, 2, 0, 0, "EditTurretAngle", 1, 1, 0},
    {14, 1, -3, 3, 0.02f, 2, 0, 0, "EditTurretAngle", 1, 1, 0},
    {15, 1, -3, 3, 0.02f, 2, 0, 0, "EditTurretAngle", 1, 1, 0},
    {16, 1, -3, 3, 0.02f, 2, 0, 0, "EditTurretAngleBeam", 1, 1, 0},
    {17, 1, -3, 3, 0.02f, 2, 0, 0, "EditTurretAngle", 1, 1, 0},
    {18, 1, -3, 3, 0.02f, 2, 0, 0, "EditTurretAngle", 1, 1, 0},
    {19, 1, -3, 3, 0.02f, 2, 0, 0, "EditTurretAngle", 1, 1, 0},
    {20, 1, 0, 0.5f, 0.05f, 2, 0, 0, "TurretSweepSize", 1, 1, 0},
    {21, 1, 0, 0.5f, 0.05f, 2, 0, 0, "TurretSweepRate", 1, 1, 0},
    {22, 1, -150, 150, 5, 0, 0, 0, "EditTurretPosX", 1, 2, 0},
    {23, 1, -150, 150, 5, 0, 0, 0, "EditTurretPosY", 1, 2, 0},
    {24, 0, -150, 150, 5, 0, 0, 0, "EditTurretPosX", 1, 2, 0},
    {25, 0, -150, 150, 5, 0, 0, 0, "EditTurretPosY", 1, 2, 0},
    {26, 1, -150, 150, 5, 0, 0, 0, "EditTurretPosX", 1, 2, 0},
    {27, 1, -150, 150, 5, 0, 0, 0, "EditTurretPosY", 1, 2, 0},
    {28, 0, -150, 150, 5, 0, 0, 0, "EditTurretPosX", 1, 2, 0},
    {29, 0, -150, 150, 5, 0, 0, 0, "EditTurretPosY", 1, 2, 0},
    {30, 1, 0, 8, 1, 0, 0, 0, "EditNumFlares1", 1, 3, 0},
    {31, 1, 0, 10, 1, 0, 0, 0, "EditFlareSize1", 10, 3, 0},
    {32, 1, 0, 100, 5, 0, 0, 0, "EditFlare1Hue1", 100, 3, 0},
    {33, 1, 0, 8, 1, 0, 0, 0, "EditNumFlares2", 1, 3, 0},
    {34, 1, 0, 10, 1, 0, 0, 0, "EditFlareSize2", 10, 3, 0},
    {35, 1, 0, 100, 5, 0, 0, 0, "EditFlare1Hue2", 100, 3, 0},
    {36, 1, 0, 4, 1, 0, 0, 0, "EditNumEngineThrust", 1, 4, 0},
    {37, 1, -200, 200, 5, 0, 0, 0, "EditEngineOffsetX", 1, 4, 0},
    {38, 1, -200, 200, 5, 0, 0, 0, "EditEngineOffsetY", 1, 4, 0},
    {39, 0, -200, 200, 5, 0, 0, 0, "EditEngineOffsetX", 1, 4, 0},
    {40, 0, -200, 200, 5, 0, 0, 0, "EditEngineOffsetY", 1, 4, 0},
    {41, 1, -200, 200, 5, 0, 0, 0, "EditEngineOffsetX", 1, 4, 0},
    {42, 1, -200, 200, 5, 0, 0, 0, "EditEngineOffsetY", 1, 4, 0},
    {43, 0, -200, 200, 5, 0, 0, 0, "EditEngineOffsetX", 1, 4, 0},
    {44, 0, -200, 200, 5, 0, 0, 0, "EditEngineOffsetY", 1, 4, 0},
    {45, 1, 0, 100, 5, 0, 0, 0, "EditEngineHue", 100, 5, 0},
    {46, 0, 0, 100, 5, 0, 0, 0, "EditEngineHue", 100, 5, 0},
    {47, 1, 0, 100, 5, 0, 0, 0, "EditEngineHue", 100, 5, 0},
    {48, 0, 0, 100, 5, 0, 0, 0, "EditEngineHue", 100, 5, 0},
    {49, 1, -180, 180, 5, 0, 0, 0, "EditEngineRotation", 57.29f, 6, 0},
    {50, 0, -180, 180, 5, 0, 0, 0, "EditEngineRotation", 57.29f, 6, 0},
    {51, 1, -180, 180, 5, 0, 0, 0, "EditEngineRotation", 57.29f, 6, 0},
    {52, 0, -180, 180, 5, 0, 0, 0, "EditEngineRotation", 57.29f, 6, 0},
    {53, 1, 0.5f, 2, 0.1f, 1, 0, 0, "EditEngineScale", 1, 6, 0},
    {54, 0, 0.5f, 2, 0.1f, 1, 0, 0, "EditEngineScale", 1, 6, 0},
    {55, 1, 0.5f, 2, 0.1f, 1, 0, 0, "EditEngineScale", 1, 6, 0},
    {56, 0, 0.5f, 2, 0.1f, 1, 0, 0, "EditEngineScale", 1, 6, 0},
    {57, 1, 1, 4, 1, 0, 0, 0, "shipEditMode_Number", 1, 7, 0},
    {58, 1, 0, 0, 0, 0, 0, 0, "shipEditMode_Type", 1, 7, 0},
    {59, 1, 0, 0, 0, 0, 0, 0, "shipEditMode_Description", 1, 7, 0},
    {60, 1, 0, 0, 0, 0, 0, 0, "shipEditMode_TrackCondition", 1, 7, 0},
    {61, 1, 0, 0, 0, 0, 0, 0, "shipEditMode_TrackConditionData", 1, 7, 0},
    {62, 1, 0, 0, 0, 0, 0, 0, "shipEditMode_Difficulty", 1, 7, 0},
    {63, 1, 2, 10, 0.5f, 1, 0, 0, "shipEditMode_MinTrackLength", 1, 7, 1},
    {64, 1, 1, 20, 1, 0, 0, 0, "shipEditMode_RequiredRank", 1, 7, 0},
    {65, 1, 5, 100, 5, 0, 0, 0, "shipEditMode_BossRushWave", 1, 7, 0},
    {66, 1, 5, 60, 5, 0, 0, 0, "shipEditMode_SurvivalTime", 1, 7, 1},
    {67, 1, 0, 0, 0, 0, 0, 0, "shipEditMode_Score", 1, 7, 0},
    {68, 1, 0, 0, 0, 0, 0, 0, "shipEditMode_NoExtraLives", 1, 7, 0},
    {69, 1, 0, 0, 0, 0, 0, 0, "shipEditMode_WeaponRestriction1", 1, 7, 0},
    {70, 1, 0, 0, 0, 0, 0, 0, "shipEditMode_WeaponRestriction2", 1, 7, 0},
}};

// Item counts of the list rows (mission types, track conditions, difficulties,
// scores, yes/no, weapon restrictions); actions have one item.
int listItemCount(int row) {
    switch (row) {
    case 58: case 60: return 5;
    case 62: return 6;
    case 67: return 10;
    case 68: return 2;
    case 69: case 70: return 10;
    default: return 1;
    }
}

std::vector<float> buildItems(const CshipEditParam& p) {
    std::vector<float> items;
    if (!p.isNumeric()) return items;
    for (float v = p.minimum; v <= p.maximum; v += p.step) items.push_back(v);
    return items;
}

// The ship value a row edits (nullptr for the rows read another way).
float* shipField(CplayerShipData& s, int row) {
    switch (row) {
    case 4: return &s.scale;
    case 5: return &s.acceleration;
    case 6: return &s.deceleration;
    case 7: return &s.topSpeed;
    case 8: return &s.bulletSpeed;
    case 9: return &s.bulletDamage;
    case 10: return &s.pickupForce;
    case 20: return &s.sweepSize;
    case 21: return &s.sweepRate;
    case 31: return &s.flares[0].size;
    case 32: return &s.flares[0].hue;
    case 34: return &s.flares[1].size;
    case 35: return &s.flares[1].hue;
    default: break;
    }
    if (row >= 22 && row <= 29) {
        CgunMount& m = s.mounts[(row - 22) / 2];
        return (row - 22) % 2 ? &m.y : &m.x;
    }
    if (row >= 37 && row <= 44) {
        CshipEngine& e = s.engines[(row - 37) / 2];
        return (row - 37) % 2 ? &e.y : &e.x;
    }
    if (row >= 45 && row <= 48) return &s.engines[row - 45].hue;
    if (row >= 49 && row <= 52) return &s.engines[row - 49].rotation;
    if (row >= 53 && row <= 56) return &s.engines[row - 53].scale;
    return nullptr;
}

// The first turret slot of the pair that an angle row edits.
int angleRowSlot(int row) {
    static const int kSlots[8] = {0, 4, 6, 8, 2, 10, 12, 14};
    return kSlots[row - 12];
}

float shipValue(const CplayerShipData& s, int row) {
    if (row == CshipEditParams::kBeamRow) return (float)s.numActiveTurrets();
    if (row >= 12 && row <= 19) return s.turrets[angleRowSlot(row)].angle;
    if (row == 30) return s.flares[0].count;
    if (row == 33) return s.flares[1].count;
    if (row == 36) return (float)s.engineThrusts;
    return *shipField(const_cast<CplayerShipData&>(s), row);
}

}  // namespace

const std::array<CshipEditParam, CshipEditParams::kNumRows>& CshipEditParams::table() { return kTable; }

const std::vector<float>& CshipEditParams::itemValues(int row) {
    static const std::array<std::vector<float>, kNumRows> items = [] {
        std::array<std::vector<float>, kNumRows> all;
        for (int r = 0; r < kNumRows; ++r) all[r] = buildItems(kTable[r]);
        return all;
    }();
    return items[std::clamp(row, 0, kNumRows - 1)];
}

int CshipEditParams::itemCount(int row) {
    if (row < 0 || row >= kNumRows) return 0;
    return kTable[row].isNumeric() ? (int)itemValues(row).size() : listItemCount(row);
}

std::string CshipEditParams::formatValue(const CshipEditParam& p, float value) {
    if (std::fabs(value) < 0.001f) value = 0;   // never a negative zero
    char text[48];
    if (p.timeFlag) {
        int seconds = (int)std::floor(value * 60.0f);
        if (seconds < 3600) std::snprintf(text, sizeof text, "%02d:%02d", seconds / 60, seconds % 60);
        else std::snprintf(text, sizeof text, "%02dh %02dm %02ds", seconds / 3600, seconds / 60 % 60, seconds % 60);
        return text;
    }
    switch (p.decimals) {
    case 0: std::snprintf(text, sizeof text, "%d", (int)value); break;
    case 1: std::snprintf(text, sizeof text, "%.1f", value); break;
    case 2: std::snprintf(text, sizeof text, "%.2f", value); break;
    default: std::snprintf(text, sizeof text, "%.3f", value); break;
    }
    return text;
}

CshipEditMenus::CshipEditMenus() = default;

void CshipEditMenus::setSelection(int row, int index) {
    if (row < 0 || row >= CshipEditParams::kNumRows) return;
    selections_[row] = index;
}

int CshipEditMenus::clampedSelection(int row) const {
    int count = CshipEditParams::itemCount(row);
    return std::clamp(selections_[row], 0, std::max(count - 1, 0));
}

float CshipEditMenus::selectedShipValue(int row) const {
    const CshipEditParam& p = kTable[row];
    return ((float)clampedSelection(row) * p.step + p.minimum) / p.scale;
}

void CshipEditMenus::syncFromShip(const CplayerShipData& ship) {
    for (int row = 0; row < CshipEditParams::kNumRows; ++row) {
        int index = 0;
        if (row >= CshipEditParams::kFirstShipRow && row <= CshipEditParams::kLastShipRow) {
            const CshipEditParam& p = kTable[row];
            float at = (shipValue(ship, row) * p.scale - p.minimum) / p.step + 0.5f;
            // Values outside the range take the first or the last item.
            int last = CshipEditParams::itemCount(row) - 1;
            index = std::isfinite(at) && at > 0 ? (int)std::min(at, (float)last) : 0;
        }
        selections_[row] = index;
        lastSet_[row] = index;
    }
}

int CshipEditMenus::points() const {
    // Whole points, summed exactly: balance * n + low * n + (high - low) * (i + 1)
    // over n, truncated toward zero as each row is added.
    int64_t balance = CshipEditParams::kStartBalance;
    for (const CshipEditParam& p : kTable) {
        if (!p.costsPoints()) continue;
        int64_t n = CshipEditParams::itemCount(p.row);
        if (n <= 0) continue;
        int64_t low = (int64_t)p.pointsLow, high = (int64_t)p.pointsHigh;
        int64_t sum = balance * n + low * n + (high - low) * (clampedSelection(p.row) + 1);
        balance = sum / n;
    }
    return (int)balance;
}

void CshipEditMenus::applyToShip(CplayerShipData& s, bool basicMode) const {
    for (int row = CshipEditParams::kFirstShipRow; row <= CshipEditParams::kLastShipRow; ++row) {
        float v = selectedShipValue(row);
        if (row == CshipEditParams::kBeamRow) {
            // Two beams switch the second pair off, so the ship never keeps
            // more beams than it pays for.
            bool four = clampedSelection(row) > 0;
            s.turrets[0].enabled = s.turrets[1].enabled = 1;
            s.turrets[2].enabled = s.turrets[3].enabled = four ? 1 : 0;
        } else if (row >= 12 && row <= 19) {
            int slot = angleRowSlot(row);
            s.turrets[slot].angle = s.turrets[slot + 1].angle = v;
        } else if (row == 30 || row == 33) {
            s.flares[row == 30 ? 0 : 1].count = (int8_t)v;
        } else if (row == 36) {
            s.engineThrusts = (int32_t)v;
        } else if (row >= 22 && row <= 29) {
            int mount = (row - 22) / 2;
            bool isY = (row - 22) % 2;
            if (!isY && v == 0) v = 1;   // a mount never sits on the centre line
            if (basicMode && mount % 2) continue;
            (isY ? s.mounts[mount].y : s.mounts[mount].x) = v;
            if (basicMode) (isY ? s.mounts[mount + 1].y : s.mounts[mount + 1].x) = isY ? v : -v;
        } else if (row >= 37 && row <= 44) {
            int engine = (row - 37) / 2;
            bool isY = (row - 37) % 2;
            if (basicMode && engine % 2) continue;
            (isY ? s.engines[engine].y : s.engines[engine].x) = v;
            if (basicMode) (isY ? s.engines[engine + 1].y : s.engines[engine + 1].x) = isY ? v : -v;
        } else if (row >= 45) {
            int engine = (row - 45) % 4;
            if (basicMode && engine % 2) continue;
            *shipField(s, row) = v;
            if (basicMode) *shipField(s, row + 1) = (row >= 49 && row <= 52) ? -v : v;
        } else {
            *shipField(s, row) = v;
        }
    }
}

bool CshipEditMenus::isSymmetric(const CplayerShipData& s) {
    for (int a = 0; a < 4; a += 2) {
        const CgunMount &m0 = s.mounts[a], &m1 = s.mounts[a + 1];
        if (m0.x != -m1.x || m0.y != m1.y) return false;
        const CshipEngine &e0 = s.engines[a], &e1 = s.engines[a + 1];
        if (e0.x != -e1.x || e0.y != e1.y) return false;
        if (e0.hue != e1.hue || e0.scale != e1.scale || e0.rotation != -e1.rotation) return false;
    }
    return true;
}

bool CshipEditMenus::changedSinceSync() const {
    for (int row = 0; row < CshipEditParams::kNumRows; ++row)
        if (CshipEditParams::itemCount(row) > 1 && clampedSelection(row) != lastSet_[row]) return true;
    return false;
}

int shipPointBalance(const CplayerShipData& ship) {
    CshipEditMenus menus;
    menus.syncFromShip(ship);
    return menus.points();
}

int shipPointBalance(const CplayerShipDef& ship) { return shipPointBalance(ship.data); }
