#pragma once
// CachievementDefs: the game's own achievements, read from "achievements.txt".
// Each achievement counts progress towards a row of milestones; a milestone
// reached is mirrored to Steam under its API name and waits in the progress
// record to be claimed. Category 0 is that waiting group.
//
// Stored "achievements" record: u32 count, then per achievement
//   char[32] name, u32 progress count, u8 milestones reached
// (the milestones are worked out again from the count on loading).
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

class CplayerProgress;
class CplayerShipMgr;

struct CachievementMilestone {
    uint32_t points = 0;      // the count that reaches it
    std::string steamName;    // API name of its Steam achievement
};

struct CachievementDef {
    std::string name;
    std::string title;        // string-table tags
    std::string desc;
    std::string sprite;
    int category = 1;
    std::string source;       // the record it follows (updateFromRecords); empty: events only
    std::vector<CachievementMilestone> milestones;
    uint32_t count = 0;
    int milestonesReached = 0;

    int getNumMilestones() const { return (int)milestones.size(); }
    bool isComplete() const { return !milestones.empty() && milestonesReached >= getNumMilestones(); }
    // Progress towards the next milestone, 0..1 (1 when complete).
    float progressValue() const;
};

class CachievementDefs {
public:
    static constexpr size_t kNameBytes = 32;

    std::vector<CachievementDef> defs;
    std::vector<std::string> categoryTitles;   // by category number; 0 is the waiting group

    // A newly reached milestone's Steam API name goes out through this.
    std::function<void(const std::string& steamName)> award;
    // The player is told: one or more milestones newly reached; or the count
    // moved on towards the next milestone without reaching it.
    std::function<void(const CachievementDef&)> onAwarded;
    std::function<void(const CachievementDef&)> onProgress;

    bool load(const std::string& fileName = "achievements.txt");
    bool loadFromText(const char* text);
    void attach(CplayerProgress* progress) { progress_ = progress; }

    int getNumCategories() const { return (int)categoryTitles.size(); }
    const char* getCategoryTitle(int category) const;
    int getNumInCategory(int category) const;
    CachievementDef* getAchievementInCategory(int category, int index);
    // For category 0: the milestones the waiting entry had reached.
    int getWaitingMilestones(int index) const;
    bool claimWaiting(int index);

    int getNumMilestonesReached(const CachievementDef& a) const { return a.milestonesReached; }
    // The count of milestone m (held to the last one); 0 without milestones.
    uint32_t getMilestonePoints(const CachievementDef& a, int m) const;

    CachievementDef* findAchievement(const std::string& name);
    // Adds to the count; each milestone newly reached is awarded and waits.
    void addProgress(CachievementDef* a, uint32_t amount = 1);
    // Works the milestones out again from the counts, awarding nothing
    // (after a save has been loaded).
    void refreshMilestones();
    // Brings every achievement that follows a record up to that record.
    void updateFromRecords(const CplayerProgress& progress, const CplayerShipMgr& ships);
    // At game over: the ship-tracks achievements follow the ships' counts.
    void checkShipTracks(const CplayerShipMgr& ships);
    // Every Steam name whose milestone is reached (the menu's catch-up).
    std::vector<std::string> reachedSteamNames() const;
    void resetProgress();

    void write(std::vector<uint8_t>& out) const;
    bool read(const uint8_t* p, size_t size, std::map<std::string, uint32_t>& staged) const;
    void applyCounts(const std::map<std::string, uint32_t>& counts);

private:
    void setCount(CachievementDef& a, uint32_t count);
    int reachedFor(const CachievementDef& a, uint32_t count) const;
    CplayerProgress* progress_ = nullptr;
};

// The progress a list row shows for an achievement with `reached` milestones:
// "count/next" while the next milestone needs at most 1000, else a
// percentage. A waiting entry (category 0) shows its milestone as full.
std::string achievementProgressText(const CachievementDefs& defs, const CachievementDef& a, int category, int reached);
