// Score data records: the layouts at their offsets, and reads that never
// leave the record whatever its bytes say.
#include <gtest/gtest.h>

#include <cstring>
#include <string_view>

#include "online/scoreRecord.h"

static Cbytes bytesOf(const char* s, size_t n) { return Cbytes((const uint8_t*)s, (const uint8_t*)s + n); }

TEST(ScoreRecord, LengthPrefixedTextsReadSafely) {
    struct Ccase { const char* bytes; size_t size, offset, field; const char* text; } cases[] = {
        {"5\0hello", 7, 0, 7, "hello"},
        {"0\0junk", 6, 0, 6, ""},                    // "0" followed by anything is empty
        {"abc", 3, 0, 3, ""},                         // no digits
        {"-3\0abc", 6, 0, 6, ""},                     // a negative length
        {"3abc", 4, 0, 4, ""},                        // no terminator
        {"9\0abc", 5, 0, 50, ""},                     // past the record's end
        {"99999999999999999999\0abc", 24, 0, 24, ""},
        {"1\0a", 3, 3, 10, ""},                       // an offset beyond the record
        {"", 0, 0, 10, ""},
        {"5\0hello", 7, 0, 6, ""},                    // past the field, though not the record
        {"5\0hello", 7, 0, 0, ""},
    };
    for (const Ccase& c : cases) EXPECT_EQ(readRecordText(bytesOf(c.bytes, c.size), c.offset, c.field), c.text) << c.bytes;
}

TEST(ScoreRecord, NumbersOutsideTheRecordReadAsZero) {
    Cbytes r(10, 0xFF);
    EXPECT_EQ(readRecordI32(r, 6), -1);
    EXPECT_EQ(readRecordI32(r, 7), 0);
    EXPECT_EQ(readRecordU64(r, 3), 0u);
    EXPECT_EQ(readRecordI8(r, 10), 0);
    EXPECT_EQ(readRecordF32(r, 100), 0.0f);
    EXPECT_EQ(readRecordCString(r, 8, 7), "\xFF\xFF");   // unterminated: stops at the end
    // Writes that would leave the record change nothing.
    writeRecordI32(r, 7, 0);
    writeRecordF32(r, 8, 0);
    writeRecordU64(r, 3, 0);
    writeRecordI8(r, 10, 0);
    EXPECT_EQ(r, Cbytes(10, 0xFF));
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
    // A record cut short inside the comment: the fields beyond it are empty.
    CbasicScore full;
    full.name = "Ace";
    full.comment = "hello";
    full.ship = "Ship";
    Cbytes r = full.write();
    r.resize(34);
    CbasicScore cut = CbasicScore::read(r);
    EXPECT_EQ(cut.name, "Ace");
    EXPECT_EQ(cut.comment + cut.ship, "");
    EXPECT_EQ(cut.day, 0);

    // Every field claims a huge length.
    Cbytes evil(CdailyTrackScore::kSize, '9');
    CdailyTrackScore d = CdailyTrackScore::read(evil);
    EXPECT_EQ(d.name + d.album, "");
    EXPECT_EQ(d.shipDefName.size(), 33u);   // bounded by its field
    EXPECT_EQ(d.linkId, "");                 // 28 digits: too long to be a link

    CgeneralTracksScore g = CgeneralTracksScore::read(Cbytes(1, '7'));
    EXPECT_EQ(g.name + g.ship, "");
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
};
}  // namespace

// A text claiming more than its field, running into the next ones, reads
// empty, and the fields around it are unharmed.
TEST(ScoreRecord, TextsRunningIntoTheNextFieldReadEmpty) {
    using namespace std::string_view_literals;
    CfixtureBytes song(CperSongScore::kSize);
    song.at(0, "40\0"sv).at(3, std::string(27, 'n')).at(30, "\x07"sv).at(34, "NO"sv).at(50, "60\0"sv);
    song.at(53, std::string(47, 'c')).at(100, "4\0Ship"sv);
    CperSongScore b = CperSongScore::read(song.r);
    EXPECT_EQ(b.name + "|" + b.comment, "|");
    EXPECT_EQ(b.day, 7);
    EXPECT_EQ(b.country, "NO");
    EXPECT_EQ(b.ship, "Ship");
    CfixtureBytes general(CgeneralTracksScore::kSize);
    general.at(79, "70\0"sv).at(82, std::string(70, 't')).at(189, "IT"sv);
    CgeneralTracksScore g = CgeneralTracksScore::read(general.r);
    EXPECT_EQ(g.trackTitle + "|" + g.comment + "|" + g.country, "||IT");
    CfixtureBytes daily(CdailyTrackScore::kSize);
    daily.at(54, "90\0"sv).at(57, std::string(90, 'd')).at(137, "5\0Title"sv).at(384, "S"sv).at(386, "abc_1"sv);
    CdailyTrackScore d = CdailyTrackScore::read(daily.r);
    EXPECT_EQ(d.comment, "");
    EXPECT_EQ(d.linkKind, 'S');
    EXPECT_EQ(d.linkId, "abc_1");
}

// Full fields of every kind, so a field written and read at different places
// or widths would show: what is read back writes the same bytes again.
TEST(ScoreRecord, WhatIsWrittenReadsBackInEveryLayout) {
    CperSongScore p;
    p.name = std::string(27, 'N');
    p.day = 0x01020304;
    p.country = "DE";
    p.deaths = -2;
    p.difficulty = 3;
    p.difficultyFactor = 1.25f;
    p.comment = std::string(47, 'C');
    p.ship = "Mosquito";
    CgeneralTracksScore g;
    g.name = p.name;
    g.day = -5;
    g.difficulty = 0x01020304;
    g.difficultyFactor = -0.75f;
    g.trackTitle = std::string(57, 'T');
    g.comment = p.comment;
    g.country = "ZZ";
    g.deaths = 127;
    g.ship = std::string(36, 'S');
    CdailyTrackScore d;
    d.gameScore = ~0ull;
    d.name = p.name;
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
    EXPECT_EQ(CperSongScore::read(p.write()).write(), p.write());
    EXPECT_EQ(CgeneralTracksScore::read(g.write()).write(), g.write());
    EXPECT_EQ(CdailyTrackScore::read(d.write()).write(), d.write());
    CdailyTrackScore db = CdailyTrackScore::read(d.write());
    EXPECT_EQ(db.gameScore, d.gameScore);
    EXPECT_EQ(db.album, d.album);
    EXPECT_EQ(db.linkId, d.linkId);

    // Another player's link that would change the web address is dropped.
    d.linkId = "x&list=evil/../";
    EXPECT_EQ(CdailyTrackScore::read(d.write()).linkKind, 0);
}
