#include "services/steamAchievements.h"

#include "engine/bString.h"
#include "engine/engine.h"
#include "services/achievementsMgr.h"

namespace {
const char* const kApiNames[CsteamAchievements::kNumRows] = {
    "AchCompTracks1",      "AchCompTracks5",      "AchCompTracks20",     "AchCompTracks50",    "AchCompTracks75",
    "AchCompTracks100",    "AchCompOST1",         "AchCompOST2",         "AchCompOST3",        "AchCompOST4",
    "AchCompOST5",         "AchCompOST6",         "AchCompOST7",         "AchRank1",           "AchRank2",
    "AchRank3",            "AchRank4",            "AchHours1",           "AchHours2",          "AchHours3",
    "AchHours4",           "AchHours5",           "AchHardTrack1",       "AchDailyChallenges1", "AchDailyChallenges2",
    "AchDailyChallenges3", "AchDailyChallenges4", "AchShip1",            "AchShip2",           "AchShip3",
    "AchShip4",            "AchShip5",            "AchShip6",            "AchShip7",           "AchShipTracks1",
    "AchShipTracks2",      "AchShipTracks3",      "AchShipTracks4",      "AchShipTracks5",     "AchShipTracks6",
    "AchShipTracks7",      "AchBossWave1",        "AchBossWave2",        "AchBossWave3",       "AchBossMass1",
    "AchBossMass2",        "AchBossMass3",        "AchBossMass4",        "AchBossTonnage1",    "AchBossTonnage2",
    "AchBossTonnage3",     "AchBossTonnage4",     "AchShadow1",          "AchShadow2",         "AchShadow3",
    "AchShadow4",          "AchShadow5",          "AchBuiltCompShadow1", "AchCompShadow1",     "AchCompShadow2",
    "AchCompShadow3",      "AchCompShadow4",
};
}  // namespace

CsteamAchievements::CsteamAchievements() {
    for (int i = 0; i < kNumRows; ++i) {
        copyToField(rows[i].apiName, sizeof rows[i].apiName, kApiNames[i]);
        rows[i].awarded = 0;
    }
}

void CsteamAchievements::registerWithSteam(CachievementsMgr& mgr) {
    mgr_ = &mgr;
    for (int i = 0; i < kNumRows; ++i) mgr.addEntry(i, rows[i].apiName, &rows[i].awarded);
    mgr.init();
}

void CsteamAchievements::award(const char* apiName) {
    const char* name = apiName ? apiName : "";
    for (int i = 0; i < kNumRows; ++i) {
        if (!equalsIgnoreCase(rows[i].apiName, name)) continue;
        if (rows[i].awarded) return;
        // Marked whatever Steam answers, so it is not sent again this run.
        if (mgr_) mgr_->setAchievement(i);
        rows[i].awarded = 1;
        return;
    }
    gEngine->raiseFatal("Steam achievement not found: %s", name);
}
