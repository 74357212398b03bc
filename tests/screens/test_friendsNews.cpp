// The friend comparison's rows, and the news feed's rows and the actions a row may take.
#include <gtest/gtest.h>

#include "audio/songInfoMgr.h"
#include "game/progress/playerStatsCache.h"
#include "online/inbox.h"
#include "screens/friendRows.h"
#include "screens/newsFeedRows.h"
#include "support/testEngine.h"

TEST(FriendCompare, RowsCompareEachStatisticAndTintTheGreater) {
    CtestEngine eng;
    ASSERT_TRUE(eng.initOk());
    CplayerStatsRecord a, b;
    a.xp = 1000000;
    b.xp = 20;
    a.tracksCompleted = 12;
    b.tracksCompleted = 12;
    a.timePlayed = 3725.9f;
    b.bossRushCustom = 1234567;
    a.platform = 2;
    b.platform = 0;
    b.store = 3;
    auto rows = compareRows(a, b);
    ASSERT_EQ(rows.size(), 15u);
    EXPECT_EQ(rows[1].greater, 1);   // the rank, by XP
    EXPECT_EQ(rows[2].left, "1,000,000");
    EXPECT_FALSE(rows[3].differs);   // equal: neither side tinted
    EXPECT_EQ(rows[3].greater, 0);
    EXPECT_EQ((std::vector<std::string>{rows[4].left, rows[4].right}), (std::vector<std::string>{"01h 02m", "00h 00m"}));
    EXPECT_EQ(rows[6].greater, -1);
    EXPECT_EQ(rows[6].right, "1,234,567");
    EXPECT_EQ((std::vector<std::string>{rows[13].left, rows[13].right, rows[14].right}),
              (std::vector<std::string>{"Linux", "Windows", "GOG"}));
    // A player compared with nobody: the same record both sides.
    for (const auto& r : compareRows(a, a)) EXPECT_FALSE(r.differs) << r.title;
}

namespace {
CinboxEntry message(uint32_t type, const std::string& key, uint64_t id, uint32_t flag = 1) {
    CinboxEntry e;
    e.type = type;
    e.trackKey = key;
    e.messageId = id;
    e.dethroned = flag;
    e.day = 20000;
    return e;
}
}  // namespace

TEST(NewsFeed, RowsForTracksInTheLibraryAndTheirButtons) {
    CtestEngine eng;
    ASSERT_TRUE(eng.initOk());
    CsongInfoMgr library;
    CtrackTags tags;
    tags.title = "Known Song";
    tags.artist = "Band";
    tags.length = 200;
    ASSERT_TRUE(library.addLocalTrack(SONG_LOCAL, tags, "/music/known.mp3"));
    CtrackTags live;
    live.title = "Heard Live";
    live.artist = "Radio";
    live.length = 180;
    CsongPackInfo* mic = library.addOpenMicTrack(live, "Microphone");
    ASSERT_NE(mic, nullptr);
    const std::string known = library.findByPath("/music/known.mp3")->key;

    Cinbox inbox;
    inbox.today = [] { return (int64_t)20000; };
    inbox.add(message(INBOX_SURVIVAL_HIGHSCORE, "", 1));
    inbox.add(message(INBOX_DETHRONED, "ffffffffffffffffffffffffffffffff", 2));   // left the library
    inbox.add(message(INBOX_WORLD_HIGHSCORE, known, 3, 0));
    inbox.add(message(INBOX_DETHRONED, mic->key, 4));
    auto rows = newsFeed::rows(inbox, library);
    ASSERT_EQ(rows.size(), 3u);
    // Newest first: the open-mic track, the world high score, the survival score.
    EXPECT_TRUE(rows[0].openMic);
    EXPECT_EQ(newsFeed::buttonsOf(rows[0]), std::vector<EnewsAction>{NEWS_LEADERBOARD});
    EXPECT_EQ(rows[1].titleTag, "WorldHighscore");
    EXPECT_EQ(newsFeed::buttonsOf(rows[1]),
              (std::vector<EnewsAction>{NEWS_LISTEN, NEWS_FIGHT_BACK, NEWS_LEADERBOARD}));
    EXPECT_EQ(rows[2].titleTag, "HasNewSurvivalHighScore");
    EXPECT_TRUE(newsFeed::buttonsOf(rows[2]).empty());

    EXPECT_EQ(newsFeed::allowed(inbox, library, rows[1].entry, NEWS_FIGHT_BACK), NEWS_FIGHT_BACK);
    EXPECT_EQ(newsFeed::allowed(inbox, library, rows[0].entry, NEWS_FIGHT_BACK), NEWS_NONE);
    EXPECT_EQ(newsFeed::allowed(inbox, library, rows[2].entry, NEWS_LEADERBOARD), NEWS_NONE);
    EXPECT_EQ(newsFeed::allowed(inbox, library, 99, NEWS_LISTEN), NEWS_NONE);
    // The track leaves the library after the list was built.
    library.clearLocalTracks();
    EXPECT_EQ(newsFeed::allowed(inbox, library, rows[1].entry, NEWS_LISTEN), NEWS_NONE);
}
