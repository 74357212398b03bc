// Score data records: the layouts at their offsets, and reads that never
// leave the record whatever its bytes say.
#include <gtest/gtest.h>

#include <cstring>
#include <string_view>

#include "online/scoreRecord.h"

static Cbytes bytesOf(const char* s, size_t n) { return Cbytes((const uint8_t*)s, (const uint8_t*)s + n); }

TEST(ScoreRecord, LengthPrefixedTextsReadSafely) {
    EXPECT_EQ(readRecordText(bytesOf("5\0hello", 7), 0, 7), "hello");
    // "0" followed by anything is empty.
    EXPECT_EQ(readRecordText(bytesOf("0\0junk", 6), 0, 6), "");
    // No digits, a negative length, a missing terminator: empty.
    EXPECT_EQ(readRecordText(bytesOf("abc", 3), 0, 3), "");
    EXPECT_EQ(readRecordText(bytesOf("-3\0abc", 6), 0, 6), "");
    EXPECT_EQ(readRecordText(bytesOf("3abc", 4), 0, 4), "");
    // A length running past the record's end gives an empty text.
    EXPECT_EQ(readRecordText(bytesOf("9\0abc", 5), 0, 50), "");
    EXPECT_EQ(readRecordText(bytesOf("99999999999999999999\0abc", 24), 0, 24), "");
    // An offset beyond the record.
    EXPECT_EQ(readRecordText(bytesOf("1\0a", 3), 3, 10), "");
    EXPECT_EQ(readRecordText(Cbytes(), 0, 10), "");
    // A length running past the field, though not past the record, is empty too.
    EXPECT_EQ(readRecordText(bytesOf("5\0hello", 7), 0, 6), "");
    EXPECT_EQ(readRecordText(bytesOf("5\0hello", 7), 0, 0), "");
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

namespace {
// A record laid out byte by byte, as another player's game would send it.
struct CfixtureBytes {
    Cbytes r;
    explicit CfixtureBytes(size_t size) : r(size, 0) {}
    CfixtureBytes& at(size_t offset, std::string_view bytes) {
        memcpy(r.data() + offset, bytes.data(), bytes.size());
        return *this;
    }
    CfixtureBytes& i32(size_t offset, int32_t v) {
        putU32(r.data() + offset, (uint32_t)v);
        return *this;
    }
};
}  // namespace

TEST(ScoreRecord, FixtureRecordsReadFieldByField) {
    using namespace std::string_view_literals;
    CfixtureBytes song(CperSongScore::kSize);
    song.at(0, "4\0Zara"sv).i32(30, 20001).at(34, "SE"sv).at(37, "\xFD"sv).i32(42, 4).at(50, "5\0nice!"sv);
    song.at(100, "7\0Phantom"sv);
    CperSongScore p = CperSongScore::read(song.r);
    EXPECT_EQ(p.name, "Zara");
    EXPECT_EQ(p.day, 20001);
    EXPECT_EQ(p.country, "SE");
    EXPECT_EQ(p.deaths, -3);
    EXPECT_EQ(p.difficulty, 4);
    EXPECT_EQ(p.comment, "nice!");
    EXPECT_EQ(p.ship, "Phantom");

    // Malformed: the name claims 40 bytes, running over the day and country
    // into the comment; the comment claims more than its 50 bytes. Each reads
    // empty, and the fields around them are unharmed.
    CfixtureBytes bad(CperSongScore::kSize);
    bad.at(0, "40\0"sv).at(3, std::string(27, 'n')).i32(30, 7).at(34, "NO"sv).at(50, "60\0"sv);
    bad.at(53, std::string(47, 'c')).at(100, "4\0Ship"sv);
    CperSongScore b = CperSongScore::read(bad.r);
    EXPECT_EQ(b.name, "");
    EXPECT_EQ(b.day, 7);
    EXPECT_EQ(b.country, "NO");
    EXPECT_EQ(b.comment, "");
    EXPECT_EQ(b.ship, "Ship");

    // The same in the other layouts: a title running into the comment, a
    // daily comment into the title.
    CfixtureBytes general(CgeneralTracksScore::kSize);
    general.at(79, "70\0"sv).at(82, std::string(70, 't')).at(189, "IT"sv);
    CgeneralTracksScore g = CgeneralTracksScore::read(general.r);
    EXPECT_EQ(g.trackTitle, "");
    EXPECT_EQ(g.comment, "");
    EXPECT_EQ(g.country, "IT");
    CfixtureBytes daily(CdailyTrackScore::kSize);
    daily.at(54, "90\0"sv).at(57, std::string(90, 'd')).at(137, "5\0Title"sv).at(384, "S"sv).at(386, "abc_1"sv);
    CdailyTrackScore d = CdailyTrackScore::read(daily.r);
    EXPECT_EQ(d.comment, "");
    EXPECT_EQ(d.linkKind, 'S');
    EXPECT_EQ(d.linkId, "abc_1");
    CfixtureBytes basic(CbasicScore::kSize);
    basic.at(0, "31\0"sv).at(30, "2\0hi"sv).at(80, "CA"sv).i32(87, 3);
    CbasicScore bs = CbasicScore::read(basic.r);
    EXPECT_EQ(bs.name, "");
    EXPECT_EQ(bs.comment, "hi");
    EXPECT_EQ(bs.country, "CA");
    EXPECT_EQ(bs.day, 3);
}

TEST(ScoreRecord, WhatIsWrittenReadsBackInEveryLayout) {
    // Full fields of every kind, so a field written and read at different
    // places or widths would show.
    CgeneralTracksScore g;
    g.name = std::string(27, 'N');
    g.day = -5;
    g.difficulty = 0x01020304;
    g.difficultyFactor = -0.75f;
    g.trackTitle = std::string(57, 'T');
    g.comment = std::string(47, 'C');
    g.country = "ZZ";
    g.deaths = 127;
    g.ship = std::string(36, 'S');
    CgeneralTracksScore gb = CgeneralTracksScore::read(g.write());
    EXPECT_EQ(gb.name, g.name);
    EXPECT_EQ(gb.day, g.day);
    EXPECT_EQ(gb.difficulty, g.difficulty);
    EXPECT_FLOAT_EQ(gb.difficultyFactor, g.difficultyFactor);
    EXPECT_EQ(gb.trackTitle, g.trackTitle);
    EXPECT_EQ(gb.comment, g.comment);
    EXPECT_EQ(gb.country, g.country);
    EXPECT_EQ(gb.deaths, g.deaths);
    EXPECT_EQ(gb.ship, g.ship);

    CdailyTrackScore d;
    d.gameScore = ~0ull;
    d.name = std::string(27, 'n');
    d.country = "AB";
    d.deaths = -1;
    d.difficulty = 9;
    d.difficultyFactor = 2.5f;
    d.comment = std::string(80, 'c');
    d.title = std::string(57, 't');
    d.artist = std::string(57, 'a');
    d.album = std::string(57, 'l');
    d.length = 600;
    d.ship = std::string(27, 's');
    d.shipDefName = std::string(32, 'D');
    d.linkKind = 'Y';
    d.linkId = std::string(27, 'L');
    CdailyTrackScore db = CdailyTrackScore::read(d.write());
    EXPECT_EQ(db.gameScore, d.gameScore);
    EXPECT_EQ(db.name, d.name);
    EXPECT_EQ(db.country, d.country);
    EXPECT_EQ(db.deaths, d.deaths);
    EXPECT_EQ(db.difficulty, d.difficulty);
    EXPECT_FLOAT_EQ(db.difficultyFactor, d.difficultyFactor);
    EXPECT_EQ(db.comment, d.comment);
    EXPECT_EQ(db.title, d.title);
    EXPECT_EQ(db.artist, d.artist);
    EXPECT_EQ(db.album, d.album);
    EXPECT_EQ(db.length, d.length);
    EXPECT_EQ(db.ship, d.ship);
    EXPECT_EQ(db.shipDefName, d.shipDefName);
    EXPECT_EQ(db.linkKind, d.linkKind);
    EXPECT_EQ(db.linkId, d.linkId);
}
