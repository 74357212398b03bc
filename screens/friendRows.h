#pragma once
// What the friend comparison shows: the rows comparing two players'
// statistics, and which added friend is compared (kept valid as friends
// are added and deleted).
#include <cstdint>
#include <string>
#include <vector>

struct CplayerStatsRecord;
class CfriendList;

struct CcompareRow {
    enum Ekind { SECTION, COMPARED, PLAIN };
    Ekind kind = COMPARED;
    std::string title;   // a string-table tag
    std::string left, right;
    // 1 the left is greater, -1 the right, 0 equal or not compared.
    int greater = 0;
    bool differs = false;
};

// The comparison rows of two records, in order.
std::vector<CcompareRow> compareRows(const CplayerStatsRecord& left, const CplayerStatsRecord& right);
// The right side shown as not available: no values, nothing compared.
void markRightUnavailable(std::vector<CcompareRow>& rows);
// "%02dh %02dm" of whole seconds.
std::string playTimeText(float seconds);

// The compared friend among the added (type 0) friends: -2 when none.
class CfriendCursor {
public:
    static constexpr int64_t kNone = -2;
    // Keeps the index inside the list (first friend, or none).
    void validate(const CfriendList& friends);
    void left(const CfriendList& friends);
    void right(const CfriendList& friends);
    int64_t index() const { return index_; }
    void set(int64_t i) { index_ = i; }
    // The compared friend's id, 0 when none.
    uint64_t id(const CfriendList& friends) const;

private:
    int64_t index_ = kNone;
};
