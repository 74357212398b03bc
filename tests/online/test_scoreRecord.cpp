// Score data records: the layouts at their offsets, and reads that never
// leave the record whatever its bytes say.
#include <gtest/gtest.h>

#include <cstring>

#include "online/scoreRecord.h"

static Cbytes bytesOf(const char* s, size_t n) { return Cbytes((const uint8_t*)s, (const uint8_t*)s + n); }

TEST(ScoreRecord, LengthPrefixedTextsReadSafely) {
    EXPECT_EQ(readRecordText(bytesOf("5\0hello", 7), 0), "hello");
    // "0" followed by anything is empty.
    EXPECT_EQ(readRecordText(bytesOf("0\0junk", 6), 0), "");
    // No digits, a negative length, a missing terminator: empty.
    EXPECT_EQ(readRecordText(bytesOf("abc", 3), 0), "");
    EXPECT_EQ(readRecordText(bytesOf("-3\0abc", 6), 0), "");
    EXPECT_EQ(readRecordText(bytesOf("3abc", 4), 0), "");
    // A length running past the record's end gives an empty text.
    EXPECT_EQ(readRecordText(bytesOf("9\0abc", 5), 0), "");
    EXPECT_EQ(readRecordText(bytesOf("99999999999999999999\0abc", 24), 0), "");
    // An offset beyond the record.
    EXPECT_EQ(readRecordText(bytesOf("1\0a", 3), 3), "");
    EXPECT_EQ(readRecordText(Cbytes(), 0), "");
}

TEST(ScoreRecord, NumbersOutsideTheRecordReadAsZero) {
    Cbytes r(10, 0xFF);
    EXPECT_EQ(readRecordI32(r, 6), -1);
    EXPECT_EQ(readRecordI32(r, 7), 0);
    EXPECT_EQ(readRecordU64(r, 3), 0u);
    EXPECT_EQ(readRecordI8(r, 10), 0);
    EXPECT_EQ(readRecordF32(r, 100), 0.0f);
    EXPECT_EQ(readRecordCString(r, 8, 7), "\xFF\xFF");   // unterminated: stops at the end
}

TEST(ScoreRecord, BasicLayoutSitsAtItsOffsets) {
    CbasicScore s;
    s.name = "Ace";
    s.comment = "Rank 12";
    s.country = "GB";
    s.day = 19700;
    s.ship = "Vessik";
    Cbytes r = s.write();
    ASSERT_EQ(r.size(), CbasicScore::kSize);
    EXPECT_EQ(memcmp(r.data(), "3\0Ace", 5), 0);
    EXPECT_EQ(memcmp(r.data() + 30, "7\0Rank 12", 9), 0);
    EXPECT_EQ(memcmp(r.data() + 80, "GB\0", 3), 0);
    EXPECT_EQ(getU32(r.data() + 87), 19700u);
    EXPECT_EQ(memcmp(r.data() + 91, "6\0Vessik", 8), 0);
    CbasicScore back = CbasicScore::read(r);
    EXPECT_EQ(back.name, "Ace");
    EXPECT_EQ(back.comment, "Rank 12");
    EXPECT_EQ(back.country, "GB");
    EXPECT_EQ(back.day, 19700);
    EXPECT_EQ(back.ship, "Vessik");
}

TEST(ScoreRecord, OtherLayoutsRoundTripAtTheirOffsets) {
    CperSongScore p;
    p.name = "Ace";
    p.day = 5;
    p.country = "DE";
    p.deaths = -2;
    p.difficulty = 3;
    p.difficultyFactor = 1.25f;
    p.comment = "gg";
    p.ship = "Mosquito";
    Cbytes pr = p.write();
    EXPECT_EQ(getU32(pr.data() + 30), 5u);
    EXPECT_EQ((int8_t)pr[37], -2);
    EXPECT_EQ(getU32(pr.data() + 42), 3u);
    EXPECT_EQ(memcmp(pr.data() + 50, "2\0gg", 4), 0);
    CperSongScore pb = CperSongScore::read(pr);
    EXPECT_EQ(pb.country, "DE");
    EXPECT_EQ(pb.deaths, -2);
    EXPECT_FLOAT_EQ(pb.difficultyFactor, 1.25f);
    EXPECT_EQ(pb.ship, "Mosquito");

    CgeneralTracksScore g;
    g.name = "N";
    g.day = 9;
    g.difficulty = 2;
    g.difficultyFactor = 0.5f;
    g.trackTitle = "Song Title";
    g.comment = "c";
    g.country = "FR";
    g.deaths = 4;
    g.ship = "S";
    Cbytes gr = g.write();
    EXPECT_EQ(getU32(gr.data() + 38), 2u);
    EXPECT_EQ(memcmp(gr.data() + 79, "10\0Song Title", 13), 0);
    EXPECT_EQ(memcmp(gr.data() + 189, "FR", 2), 0);
    EXPECT_EQ(gr[192], 4);
    CgeneralTracksScore gb = CgeneralTracksScore::read(gr);
    EXPECT_EQ(gb.trackTitle, "Song Title");
    EXPECT_EQ(gb.ship, "S");

    CdailyTrackScore d;
    d.gameScore = 123456789012ull;
    d.name = "Ace";
    d.country = "US";
    d.title = "T";
    d.artist = "A";
    d.album = "Al";
    d.length = 3700;
    d.ship = "Ship";
    d.shipDefName = "PreSet_Standard";
    d.linkKind = 'Y';
    d.linkId = "dQw4w9WgXcQ";
    Cbytes dr = d.write();
    ASSERT_EQ(dr.size(), 414u);
    EXPECT_EQ(getU64(dr.data()), 123456789012ull);
    EXPECT_EQ(memcmp(dr.data() + 8, "3\0Ace", 5), 0);
    EXPECT_EQ(getU32(dr.data() + 317), 3700u);
    EXPECT_EQ(std::string((const char*)dr.data() + 351), "PreSet_Standard");
    EXPECT_EQ(dr[384], 'Y');
    EXPECT_EQ(std::string((const char*)dr.data() + 386), "dQw4w9WgXcQ");
    CdailyTrackScore db = CdailyTrackScore::read(dr);
    EXPECT_EQ(db.album, "Al");
    EXPECT_EQ(db.linkKind, 'Y');
    EXPECT_EQ(db.linkId, "dQw4w9WgXcQ");

    // Another player's link that would change the web address is dropped.
    d.linkId = "x&list=evil/../";
    CdailyTrackScore bad = CdailyTrackScore::read(d.write());
    EXPECT_EQ(bad.linkKind, 0);
    EXPECT_EQ(bad.linkId, "");
}

TEST(ScoreRecord, LongTextsAreCutToTheirFieldOnACharacterBoundary) {
    CbasicScore s;
    s.name = std::string(40, 'x');             // the field holds 30 bytes with its prefix
    s.comment = "\xC3\xA9" + std::string(60, 'e');   // starts with a 2-byte character
    Cbytes r = s.write();
    CbasicScore b = CbasicScore::read(r);
    EXPECT_EQ(b.name, std::string(27, 'x'));   // "27", zero, 27 bytes
    EXPECT_LE(b.comment.size() + 3, 50u);
    EXPECT_EQ(b.comment.substr(0, 2), "\xC3\xA9");
    EXPECT_EQ(r[30 + 50], 0);   // the country field is untouched
}

TEST(ScoreRecord, ShortOrHostileRecordsNeverReadPastTheirEnd) {
    // A record cut short: the fields beyond it are empty, never garbage.
    CbasicScore full;
    full.name = "Ace";
    full.comment = "hello";
    full.ship = "Ship";
    Cbytes r = full.write();
    r.resize(34);   // inside the comment
    CbasicScore cut = CbasicScore::read(r);
    EXPECT_EQ(cut.name, "Ace");
    EXPECT_EQ(cut.comment, "");   // its length prefix promises more than is there
    EXPECT_EQ(cut.day, 0);
    EXPECT_EQ(cut.ship, "");

    // Every field claims a huge length.
    Cbytes evil(CdailyTrackScore::kSize, '9');
    CdailyTrackScore d = CdailyTrackScore::read(evil);
    EXPECT_EQ(d.name, "");
    EXPECT_EQ(d.album, "");
    EXPECT_EQ(d.shipDefName.size(), 33u);   // bounded by its field
    EXPECT_EQ(d.linkId, "");                 // 28 digits: too long to be a link

    CgeneralTracksScore g = CgeneralTracksScore::read(Cbytes(1, '7'));
    EXPECT_EQ(g.name, "");
    EXPECT_EQ(g.ship, "");
}
