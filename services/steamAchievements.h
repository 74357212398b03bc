#pragma once
// CsteamAchievements: the fixed table of Steam achievement API names, one
// awarded byte each. The row index is the achievement's index everywhere.
#include <cstdint>

class CachievementsMgr;

struct CsteamAchievementRow {
    char apiName[50];
    uint8_t awarded;
};

class CsteamAchievements {
public:
    static constexpr int kNumRows = 62;

    CsteamAchievements();

    // Hands every row to the Steam side, in row order, and starts it.
    void registerWithSteam(CachievementsMgr& mgr);
    // Unlocks the named achievement once; an unknown name is a fatal error.
    void award(const char* apiName);

    CsteamAchievementRow rows[kNumRows];

private:
    CachievementsMgr* mgr_ = nullptr;
};
