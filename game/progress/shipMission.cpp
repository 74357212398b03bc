#include "game/progress/shipMission.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/bString.h"
#include "engine/engine.h"
#include "engine/webMessage.h"
#include "game/progress/recordIO.h"
#include "game/progress/xpCurve.h"

namespace {

const char* const kMissionTypeTags[kNumMissionTypes] = {
    "MissionType_None", "MissionType_CompleteTrack", "MissionType_ObtainShipRank", "MissionType_PlayBossRush",
    "MissionType_PlaySurvival"};

const char* const kTrackConditionTags[kNumTrackConditions] = {
    "TrackCondition_None", "TrackCondition_SpecificTrack", "TrackCondition_AlbumTitle", "TrackCondition_Artist",
    "TrackCondition_TitleContains"};

const char* const kWeaponRestrictionTags[kNumWeaponRestrictions] = {
    "WeaponRestriction_None",         "WeaponRestriction_NoPerkWeapons", "WeaponRestriction_NoSuperBomb",
    "WeaponRestriction_NoMicroMissiles", "WeaponRestriction_NoReflectShield", "WeaponRestriction_NoUltraBeam",
    "WeaponRestriction_NoEMP",        "WeaponRestriction_NoTurret",      "WeaponRestriction_NoDecoy",
    "WeaponRestriction_NoWingman"};

// The perk weapon (and its boost perk) that each single restriction bars.
const int kRestrictedPerks[kNumWeaponRestrictions][2] = {
    {-1, -1}, {-1, -1}, {14, 15}, {16, 17}, {18, 19}, {20, 21}, {26, 27}, {28, 29}, {30, 31}, {32, 33}};

const char* tagText(const char* const* tags, int count, int index) {
    if (index < 0 || index >= count) return "";
    return gEngine->text(tags[index]);
}

bool restrictionKept(uint32_t restriction, uint32_t weaponsUsed) {
    if (restriction == WeaponRestriction_None) return true;
    if (restriction == WeaponRestriction_NoPerkWeapons) return (weaponsUsed & 0x3FCu) == 0;
    return (weaponsUsed & (1u << restriction)) == 0;
}

}  // namespace

void CshipMission::write(uint8_t* p) const {
    Cbytes out;
    CrecordWriter w(out);
    w.u32(type);
    w.text(name, kNameBytes);
    w.u32(condition);
    w.text(conditionText, kConditionBytes);
    w.u16(bossRushWave);
    w.f32(survivalTime);
    w.u16(rank);
    w.u32(difficulty);
    w.u32(score);
    w.f32(minTrackLength);
    w.u8(noExtraLives ? 1 : 0);
    w.u32(weaponRestriction[0]);
    w.u32(weaponRestriction[1]);
    w.padTo(kRecordSize);
    memcpy(p, out.data(), kRecordSize);
}

bool CshipMission::read(const uint8_t* p, size_t size) {
    if (!p || size < kRecordSize) return false;
    CrecordReader r(p, kRecordSize);
    CshipMission m;
    m.type = (uint32_t)checkedInt("mission type", (int)std::min<uint32_t>(r.u32(), 0x7fffffff), 0,
                                  kNumMissionTypes - 1, MissionType_None);
    m.name = r.text(kNameBytes);
    m.condition = (uint32_t)checkedInt("track condition", (int)std::min<uint32_t>(r.u32(), 0x7fffffff), 0,
                                       kNumTrackConditions - 1, TrackCondition_None);
    m.conditionText = r.text(kConditionBytes);
    m.bossRushWave = r.u16();
    m.survivalTime = checkedFloat("survival time", r.f32(), 0.0f, 360000.0f, 0.0f);
    m.rank = r.u16();
    m.difficulty = (uint32_t)checkedInt("mission difficulty", (int)std::min<uint32_t>(r.u32(), 0x7fffffff), 0, 6, 0);
    m.score = r.u32();
    m.minTrackLength = checkedFloat("minimum track length", r.f32(), 0.0f, 360000.0f, 0.0f);
    m.noExtraLives = r.u8() != 0;
    for (auto& w : m.weaponRestriction)
        w = (uint32_t)checkedInt("weapon restriction", (int)std::min<uint32_t>(r.u32(), 0x7fffffff), 0,
                                 kNumWeaponRestrictions - 1, WeaponRestriction_None);
    if (r.failed()) return false;
    *this = std::move(m);
    return true;
}

bool CshipMission::isCompletedBy(const CmissionResult& res, uint64_t shipXP) const {
    if (type == MissionType_ObtainShipRank) return rank > 0 && rankFromXP(shipXP) >= (int)rank;
    switch (type) {
        case MissionType_CompleteTrack:
            if (res.gameType != MISSION_GAME_STANDARD || res.progress < 1.0f) return false;
            if (!trackMeetsCondition(res.track, *this)) return false;
            break;
        case MissionType_PlayBossRush:
            if (res.gameType != MISSION_GAME_BOSSRUSH || res.bossRushWave < (int)bossRushWave) return false;
            break;
        case MissionType_PlaySurvival:
            if (res.gameType != MISSION_GAME_SURVIVAL || res.sessionTime < survivalTime) return false;
            break;
        default:
            return false;
    }
    if (difficulty > 0 && res.difficulty < (int)difficulty) return false;
    if (score > 0 && res.score < score) return false;
    if (noExtraLives && res.extraLivesUsed > 0) return false;
    return restrictionKept(weaponRestriction[0], res.weaponsUsed) &&
           restrictionKept(weaponRestriction[1], res.weaponsUsed);
}

CmissionRules CshipMission::rules() const {
    CmissionRules r;
    r.gameType = type == MissionType_PlayBossRush   ? MISSION_GAME_BOSSRUSH
                 : type == MissionType_PlaySurvival ? MISSION_GAME_SURVIVAL
                                                    : MISSION_GAME_STANDARD;
    r.minDifficulty = (int)difficulty;
    r.noExtraLives = noExtraLives;
    if (noExtraLives) r.disabledPerks = {3, 4, 5};
    for (uint32_t w : weaponRestriction) {
        if (w == WeaponRestriction_NoPerkWeapons) {
            for (int k = 2; k < (int)kNumWeaponRestrictions; ++k)
                r.disabledPerks.insert(r.disabledPerks.end(), {kRestrictedPerks[k][0], kRestrictedPerks[k][1]});
        } else if (w >= 2 && w < kNumWeaponRestrictions) {
            r.disabledPerks.insert(r.disabledPerks.end(), {kRestrictedPerks[w][0], kRestrictedPerks[w][1]});
        }
    }
    return r;
}

const char* getStringFromMissionType(int index) { return tagText(kMissionTypeTags, kNumMissionTypes, index); }
const char* getStringFromTrackCondition(int index) {
    return tagText(kTrackConditionTags, kNumTrackConditions, index);
}
const char* getStringFromWeaponRestriction(int index) {
    return tagText(kWeaponRestrictionTags, kNumWeaponRestrictions, index);
}

bool containsIgnoreCase(std::string_view text, std::string_view part) {
    if (part.empty()) return true;
    if (part.size() > text.size()) return false;
    for (size_t i = 0; i + part.size() <= text.size(); ++i)
        if (equalsIgnoreCase(text.substr(i, part.size()), part)) return true;
    return false;
}

bool trackMeetsCondition(const CtrackInfoView& track, const CshipMission& m) {
    if (m.minTrackLength > 0 && track.lengthSeconds < m.minTrackLength) return false;
    const std::string& want = m.conditionText;
    if (want.empty()) return m.condition < kNumTrackConditions;
    switch (m.condition) {
        case TrackCondition_None: return true;
        case TrackCondition_SpecificTrack:
            return equalsIgnoreCase(track.title, want) || equalsIgnoreCase(track.key, want);
        case TrackCondition_AlbumTitle: return containsIgnoreCase(track.album, want);
        case TrackCondition_Artist: return containsIgnoreCase(track.artist, want);
        case TrackCondition_TitleContains: return containsIgnoreCase(track.title, want);
        default: return false;
    }
}

bool checkMissionProgress(const std::vector<CshipMission>& missions, const uint8_t complete[4],
                          const CmissionResult& result, uint64_t shipXP) {
    for (size_t i = 0; i < missions.size() && i < 4; ++i)
        if (!complete[i] && missions[i].isCompletedBy(result, shipXP)) return true;
    return false;
}
