#include "screens/friendRows.h"

#include "engine/bString.h"
#include "engine/engine.h"
#include "engine/format.h"
#include "game/gameTypes.h"
#include "game/progress/playerStatsCache.h"
#include "game/progress/xpCurve.h"
#include "online/friendList.h"

namespace {
CcompareRow section(const char* tag) {
    CcompareRow r;
    r.kind = CcompareRow::SECTION;
    r.title = tag;
    return r;
}

template <typename T>
CcompareRow compared(const char* tag, std::string l, std::string r, T a, T b) {
    CcompareRow row;
    row.title = tag;
    row.left = std::move(l);
    row.right = std::move(r);
    row.differs = a != b;
    row.greater = a > b ? 1 : a < b ? -1 : 0;
    return row;
}

CcompareRow number64(const char* tag, uint64_t a, uint64_t b) {
    return compared(tag, formatThousands64((int64_t)a), formatThousands64((int64_t)b), a, b);
}

CcompareRow number32(const char* tag, uint32_t a, uint32_t b) {
    return compared(tag, formatThousands((int)a), formatThousands((int)b), a, b);
}

CcompareRow plain(const char* tag, std::string l, std::string r) {
    CcompareRow row;
    row.kind = CcompareRow::PLAIN;
    row.title = tag;
    row.left = std::move(l);
    row.right = std::move(r);
    row.differs = row.left != row.right;
    return row;
}
}  // namespace

std::string playTimeText(float seconds) {
    long s = seconds > 0 ? (long)seconds : 0;
    return CbString::format("%02ldh %02ldm", s / 3600, (s % 3600) / 60).str();
}

std::vector<CcompareRow> compareRows(const CplayerStatsRecord& a, const CplayerStatsRecord& b) {
    std::vector<CcompareRow> rows;
    rows.push_back(section("fcStats"));
    rows.push_back(compared("fcRank", rankTitle(a.xp), rankTitle(b.xp), a.xp, b.xp));
    rows.push_back(number64("fcXP", a.xp, b.xp));
    rows.push_back(number32("fcTracksCompleted", a.tracksCompleted, b.tracksCompleted));
    rows.push_back(compared("fcTimePlayed", playTimeText(a.timePlayed), playTimeText(b.timePlayed), (long)a.timePlayed,
                            (long)b.timePlayed));
    rows.push_back(number64("fcBossRushScoreStandard", a.bossRushStandard, b.bossRushStandard));
    rows.push_back(number64("fcBossRushScoreCustomShip", a.bossRushCustom, b.bossRushCustom));
    rows.push_back(number64("fcSurvivalScoreStandard", a.survivalStandard, b.survivalStandard));
    rows.push_back(number64("fcSurvivalScoreCustomShip", a.survivalCustom, b.survivalCustom));
    rows.push_back(number32("fcChallengeWins", a.challengeWins, b.challengeWins));
    rows.push_back(number32("fcChallengeRunnerUp", a.challengeRunnerUp, b.challengeRunnerUp));
    rows.push_back(number64("fcBossTonnage", a.bossTonnage, b.bossTonnage));
    rows.push_back(section("fcOtherTitle"));
    rows.push_back(plain("fcPlatform", Cengine::platformName(a.platform), Cengine::platformName(b.platform)));
    rows.push_back(plain("fcStore", Cengine::storeName(a.store), Cengine::storeName(b.store)));
    return rows;
}

void markRightUnavailable(std::vector<CcompareRow>& rows) {
    for (CcompareRow& row : rows) {
        if (row.kind == CcompareRow::SECTION) continue;
        row.right = "-";
        row.greater = 0;
        row.differs = true;
    }
}

void CfriendCursor::validate(const CfriendList& friends) {
    int n = friends.getNumFriendsOfType(0);
    if (n == 0) index_ = kNone;
    else if (index_ < 0 || index_ >= n) index_ = 0;
}

void CfriendCursor::left(const CfriendList& friends) {
    int n = friends.getNumFriendsOfType(0);
    if (n == 0) {
        index_ = kNone;
        return;
    }
    index_ = index_ <= 0 || index_ > n ? n - 1 : index_ - 1;
}

void CfriendCursor::right(const CfriendList& friends) {
    int n = friends.getNumFriendsOfType(0);
    if (n == 0) {
        index_ = kNone;
        return;
    }
    index_ = index_ < 0 || index_ + 1 >= n ? 0 : index_ + 1;
}

uint64_t CfriendCursor::id(const CfriendList& friends) const {
    if (index_ < 0) return 0;
    int at = friends.getFriendIdxOfType(0, (int)index_);
    return at < 0 ? 0 : friends[(size_t)at].id;
}
