#include <gtest/gtest.h>

#include <cstring>

#include "engine/webMessage.h"
#include "game/progress/shipMission.h"
#include "game/progress/xpCurve.h"
#include "support/testEngine.h"

namespace {

CtrackInfoView track(const char* title, const char* artist, const char* album, float length, const char* key = "k") {
    CtrackInfoView t;
    t.title = title;
    t.artist = artist;
    t.album = album;
    t.key = key;
    t.lengthSeconds = length;
    return t;
}

CshipMission mission(uint32_t type, uint32_t condition = TrackCondition_None, const char* text = "") {
    CshipMission m;
    m.type = type;
    m.condition = condition;
    m.conditionText = text;
    return m;
}

}  // namespace

TEST(Missions, StoredRecordIsRangeCheckedAndTerminated) {
    CtestEngine eng;
    uint8_t rec[CshipMission::kRecordSize];
    memset(rec, 'A', sizeof rec);   // no terminators anywhere
    putU32(rec + 0, 77);
    putU32(rec + 54, 5);
    putU32(rec + 166, 9);
    putU32(rec + 179, 10);
    putU32(rec + 183, 0xFFFFFFFF);
    float nan = std::numeric_limits<float>::quiet_NaN();
    memcpy(rec + 160, &nan, 4);
    CshipMission m;
    ASSERT_TRUE(m.read(rec, sizeof rec));
    EXPECT_EQ(m.type, (uint32_t)MissionType_None);
    EXPECT_EQ(m.condition, (uint32_t)TrackCondition_None);
    EXPECT_EQ(m.difficulty, 0u);
    EXPECT_EQ(m.weaponRestriction[1], 0u);
    EXPECT_FLOAT_EQ(m.survivalTime, 0.0f);
    EXPECT_EQ(m.conditionText.size(), 100u);
    EXPECT_FALSE(m.read(rec, sizeof rec - 1));
}

TEST(Missions, TrackConditions) {
    CtestEngine eng;
    auto t = track("Night Drive", "The Vessik Band", "Neon Roads", 200.0f, "abc123");
    struct Crow {
        uint32_t condition;
        const char* text;
        bool meets;
    };
    const Crow rows[] = {
        {TrackCondition_None, "", true},
        {TrackCondition_SpecificTrack, "night drive", true},   // the title, any case
        {TrackCondition_SpecificTrack, "ABC123", true},        // or the key
        {TrackCondition_SpecificTrack, "Night", false},
        {TrackCondition_AlbumTitle, "neon", true},
        {TrackCondition_Artist, "vessik", true},
        {TrackCondition_Artist, "Vornak", false},
        {TrackCondition_TitleContains, "DRIVE", true},
        {9, "x", false},   // no such condition
    };
    for (const Crow& row : rows)
        EXPECT_EQ(trackMeetsCondition(t, mission(1, row.condition, row.text)), row.meets) << row.condition << row.text;

    auto longOnly = mission(1);
    longOnly.minTrackLength = 200.0f;
    EXPECT_TRUE(trackMeetsCondition(t, longOnly));

    std::vector<CtrackInfoView> library = {t, track("Other", "Someone", "", 90.0f),
                                           track("Drive Home", "X", "", 300.0f)};
    EXPECT_EQ(countTracksMeetingCondition(library, mission(1, TrackCondition_TitleContains, "drive")), 2);
}

TEST(Missions, CompletionByType) {
    CtestEngine eng;
    CmissionResult r;
    r.track = track("Night Drive", "Vessik", "", 200.0f);
    r.gameType = MISSION_GAME_STANDARD;
    r.progress = 1.0f;
    r.difficulty = 2;
    r.score = 500000;

    auto complete = mission(MissionType_CompleteTrack, TrackCondition_Artist, "Vessik");
    EXPECT_TRUE(complete.isCompletedBy(r, 0));
    r.progress = 0.99f;
    EXPECT_FALSE(complete.isCompletedBy(r, 0));
    r.progress = 1.0f;
    complete.score = 500001;
    EXPECT_FALSE(complete.isCompletedBy(r, 0));
    complete.score = 500000;
    complete.noExtraLives = true;
    r.extraLivesUsed = 1;
    EXPECT_FALSE(complete.isCompletedBy(r, 0));
    r.extraLivesUsed = 0;
    complete.weaponRestriction[0] = WeaponRestriction_NoEMP;
    r.weaponsUsed = 1u << WeaponRestriction_NoDecoy;
    EXPECT_TRUE(complete.isCompletedBy(r, 0));
    r.weaponsUsed |= 1u << WeaponRestriction_NoEMP;
    EXPECT_FALSE(complete.isCompletedBy(r, 0));
    complete.weaponRestriction[0] = WeaponRestriction_NoPerkWeapons;
    r.weaponsUsed = 1u << WeaponRestriction_NoDecoy;
    EXPECT_FALSE(complete.isCompletedBy(r, 0));
    r.weaponsUsed = 0;
    EXPECT_TRUE(complete.isCompletedBy(r, 0));
    r.gameType = MISSION_GAME_SURVIVAL;
    EXPECT_FALSE(complete.isCompletedBy(r, 0));

    auto rank = mission(MissionType_ObtainShipRank);
    rank.rank = 10;
    EXPECT_FALSE(rank.isCompletedBy(r, xpAtRankStart(10) - 1));
    auto boss = mission(MissionType_PlayBossRush);
    boss.bossRushWave = 20;
    r.gameType = MISSION_GAME_BOSSRUSH;
    r.bossRushWave = 19;
    EXPECT_FALSE(boss.isCompletedBy(r, 0));

    auto survive = mission(MissionType_PlaySurvival);
    survive.survivalTime = 300.0f;
    r.gameType = MISSION_GAME_SURVIVAL;
    r.sessionTime = 300.0f;
    EXPECT_TRUE(survive.isCompletedBy(r, 0));
    EXPECT_FALSE(mission(MissionType_None).isCompletedBy(r, UINT64_MAX));

    std::vector<CshipMission> missions = {boss, survive};
    uint8_t done[4] = {0, 1, 0, 0};
    EXPECT_FALSE(checkMissionProgress(missions, done, r, 0));   // only the finished one passes
    done[1] = 0;
    EXPECT_TRUE(checkMissionProgress(missions, done, r, 0));
}

