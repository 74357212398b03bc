#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <vector>

#include "engine/ui/menu.h"
#include "engine/ui/table.h"
#include "engine/ui/uiMgr.h"
#include "online/scoreRecord.h"
#include "screens/listRows.h"
#include "screensFixture.h"

namespace {
constexpr uint64_t kMe = 4242;
constexpr uint64_t kFriend = 77;

struct CrowsFixture {
    CscreensGame g;
    Conline& online = gGame->online;
    int64_t today = 0;
    CrowsFixture() {
        online.soap.setSession(kMe, "Me", "guid");
        online.friends.addOrUpdate(1, kFriend, "Pal");
        today = online.soap.unixTime() / 86400;
    }
    // A row of a table laid out as the list screens lay theirs out.
    Cwidget* row(const char* templ) {
        static const std::map<std::string, const char*> columns = {
            {"LeaderboardItemBasic", "Rank Name Score Comment Date Ship Country* Friend*"},
            {"LeaderboardItemPerSong", "Rank Name Score Ship Date DiffVis Comment NumDeaths Country* Friend*"},
            {"LeaderboardItemGeneralTracks",
             "Rank Name Score Date DiffVis Comment TrackTitle NumDeaths Ship Country* Friend*"},
            {"LeaderboardItemDailyChallenge", "Rank Name Score Ship Comment Country*"},
            {"LeaderboardItemDailyTracks", "Name Score DiffVis Comment Ship NumDeaths TrackTitle Country* Date Friend*"},
        };
        std::string text = std::string("Table Rows\n    Size 1120 400\n    RowTemplate ") + templ + "\n";
        std::istringstream cols(columns.at(templ));
        for (std::string c; cols >> c;) {
            const bool sprite = c.back() == '*';
            if (sprite) c.pop_back();
            // A track's title cell as wide as the screens give it.
            const char* width = c == "TrackTitle" ? " 210" : " 100";
            text += "    Column " + c + width + " Left" + (sprite ? " Sprite" : "") + "\n";
        }
        text += "EndTable\nEndFile\n";
        Cscreen* s = gUi->loadScreenFromText(templ, text.c_str());
        EXPECT_NE(s, nullptr) << templ;
        Ctable* table = s ? s->findTable("Rows") : nullptr;
        EXPECT_NE(table, nullptr) << templ;
        return table ? table->addRow(0, {}) : nullptr;
    }
};

std::string text(Cwidget* w, const char* gadget) { return w->getText(gadget); }
// The texts of a row's gadgets, in the order asked.
std::vector<std::string> texts(Cwidget* w, std::initializer_list<const char*> gadgets) {
    std::vector<std::string> out;
    for (const char* g : gadgets) out.push_back(w->getText(g));
    return out;
}
using Ctexts = std::vector<std::string>;
bool spriteHidden(Cwidget* w, const char* gadget) { return w->findSpriteGadget(gadget)->hidden; }
bool sameColour(const Ccolour& a, const Ccolour& b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

CboardEntry entry(uint64_t score, uint64_t player, Cbytes record) { return CboardEntry{score, player, std::move(record)}; }
}  // namespace

TEST(ListRows, TopPercentNumbers) {
    EXPECT_EQ(topPercent(1000, 1000), 1);     // at the top: never below 1
    EXPECT_EQ(topPercent(0, 1000), 100);      // no score: the place is hidden
    EXPECT_EQ(topPercent(500, 1000), 0 + 1);  // 0.5^12 is 0.02%: shown as 1
    EXPECT_EQ(topPercent(100, 1000), 28);     // 0.9^12 = 0.2824
    EXPECT_EQ(topPercent(0, 0), 100);         // an empty top score never divides by zero
    EXPECT_EQ(topPercent(5000, 1000), 1);     // above the top (a newer own score) is the top
}

TEST(ListRows, DateAndLengthTexts) {
    CrowsFixture f;
    ASSERT_TRUE(f.g.initOk());
    EXPECT_EQ((Ctexts{daysAgoText(100, 100), daysAgoText(100, 99), daysAgoText(100, 98)}),
              (Ctexts{"Today", "Yesterday", "2 days ago"}));
    EXPECT_EQ((Ctexts{shortLengthText(59), shortLengthText(61), shortLengthText(3700)}), (Ctexts{"59", "01:01", "01h 01m"}));
    EXPECT_EQ((Ctexts{timeLeftText(59.9f), timeLeftText(3599.9f), timeLeftText(3600.0f), timeLeftText(-3.0f)}),
              (Ctexts{"00:59", "59:59", "01h 00m 00s", "00:00"}));
}

TEST(ListRows, BoardRowsFromRecordBytes) {
    CrowsFixture f;
    ASSERT_TRUE(f.g.initOk());
    Cboard board;
    board.topCount = 2;

    CbasicScore basic;
    basic.name = "Ada";
    basic.comment = "gg";
    basic.country = "GB";
    basic.ship = "Vessik";
    basic.day = (int32_t)f.today - 1;
    Cwidget* w = f.row("LeaderboardItemBasic");
    fillBasicBoardRow(w, board, entry(1234567, kFriend, basic.write()), 1, 1234567);
    EXPECT_EQ(texts(w, {"Rank", "Name", "Score", "Comment", "Ship", "Date"}),
              (Ctexts{"1st", "Ada", "1,234,567", "gg", "Vessik", "Yesterday"}));
    EXPECT_FALSE(spriteHidden(w, "Friend"));
    EXPECT_EQ(w->findSpriteGadget("Country")->spriteName, "flag_GB.png");

    // Beyond the top list the place is an estimate; a stranger is no friend.
    CperSongScore song;
    song.name = "Bo";
    song.country = "ZZ";   // no such flag
    song.difficulty = DIFFICULTY_HARD;
    song.difficultyFactor = 0.755f;
    song.deaths = -2;
    song.ship = "Custom";
    song.day = (int32_t)f.today - 3;
    board.scorePrefix = "x";
    gGame->standardShipFlag = 0;
    w = f.row("LeaderboardItemPerSong");
    fillPerSongBoardRow(w, board, entry(100, 9, song.write()), 5, 1000);
    EXPECT_EQ(texts(w, {"Rank", "Score", "Ship", "DiffVis", "NumDeaths", "Date"}),
              (Ctexts{"Top 28%", "x100", "Custom", std::string(difficultyName(DIFFICULTY_HARD)) + " - 75%", "Deaths -2",
                      "3 days ago"}));
    EXPECT_TRUE(spriteHidden(w, "Friend"));
    EXPECT_EQ(w->findSpriteGadget("Country")->spriteName, "flag_unknown.png");
    gGame->standardShipFlag = 1;
    fillPerSongBoardRow(w, board, entry(100, 9, song.write()), 5, 1000);
    EXPECT_EQ(text(w, "Ship"), "Standard ship");
    // A score of 0 below the top list has no place at all.
    fillPerSongBoardRow(w, board, entry(0, 9, song.write()), 6, 1000);
    EXPECT_TRUE(w->findTextGadget("Rank")->hidden);

    // The player's own row is drawn in its own colour.
    CgeneralTracksScore general;
    general.name = "Me";
    general.trackTitle = "Song";
    general.day = (int32_t)f.today;
    w = f.row("LeaderboardItemGeneralTracks");
    fillGeneralTracksRow(w, board, entry(50, kMe, general.write()), 2, 100);
    EXPECT_EQ(texts(w, {"TrackTitle", "Date"}), (Ctexts{"Song", "Today"}));
    EXPECT_TRUE(sameColour(w->findTextGadget("Name")->colour, gGame->namedColours.reallyLightGreen));
    EXPECT_TRUE(sameColour(w->findTextGadget("Score")->colour, gGame->namedColours.reallyLightGreen));

    // Daily tracks: the board's score is the submit time, the game score is in the record.
    CdailyTrackScore daily;
    daily.gameScore = 9876;
    daily.name = "Cy";
    daily.artist = "Band";
    daily.title = "Tune";
    daily.album = "LP";
    daily.length = 61;
    w = f.row("LeaderboardItemDailyTracks");
    const int64_t submitted = f.online.soap.unixTime() - (2 * 3600 + 5 * 60 + 30);
    fillDailyTracksRow(w, board, entry((uint64_t)submitted, kFriend, daily.write()), 1, 0);
    EXPECT_EQ(texts(w, {"Score", "TrackTitle", "Date"}), (Ctexts{"x9,876", "Band - Tune - LP (01:01)", "02h 05m ago"}));
    // A name too long for its cell gives way; the length stays readable.
    daily.album = std::string(120, 'L');
    fillDailyTracksRow(w, board, entry((uint64_t)submitted, kFriend, daily.write()), 1, 0);
    const std::string title = text(w, "TrackTitle");
    EXPECT_NE(title.find("\xE2\x80\xA6 (01:01)"), std::string::npos) << title;
    EXPECT_FALSE(w->fittedText(*w->findTextGadget("TrackTitle")).cut) << title;

    // The challenge row keeps the place even below the top list.
    w = f.row("LeaderboardItemDailyChallenge");
    fillChallengeBoardRow(w, board, entry(10, 9, song.write()), 11, 1000);
    EXPECT_EQ(text(w, "Rank"), "11th");
}

TEST(ListRows, MalformedRecordsReadAsEmptyNeverPastTheirEnd) {
    CrowsFixture f;
    ASSERT_TRUE(f.g.initOk());
    Cboard board;
    board.topCount = 10;
    Cbytes zero(CperSongScore::kSize, 'x');   // "0" then anything
    zero[0] = '0';
    zero[1] = 0;
    const struct {
        const char* templ;
        void (*fill)(Cwidget*, const Cboard&, const CboardEntry&, int, uint64_t);
        Cbytes record;
    } cases[] = {
        // A name whose length runs far beyond the record, and a record cut short.
        {"LeaderboardItemBasic", fillBasicBoardRow, {'9', '9', '9', 0, 'A', 'B', 'C'}},
        {"LeaderboardItemPerSong", fillPerSongBoardRow, zero},
        {"LeaderboardItemPerSong", fillPerSongBoardRow, {}},
        {"LeaderboardItemDailyTracks", fillDailyTracksRow, Cbytes(12, 0xFF)},
    };
    for (const auto& c : cases) {
        Cwidget* w = f.row(c.templ);
        c.fill(w, board, entry(5, 1, c.record), 1, 5);
        EXPECT_EQ(text(w, "Name"), "") << c.templ;
        EXPECT_EQ(text(w, "Comment"), "") << c.templ;
    }
}
