#include <gtest/gtest.h>

#include <cstring>

#include "engine/bString.h"
#include "engine/format.h"
#include "engine/languages.h"
#include "engine/stringTable.h"
#include "engine/md5.h"
#include "engine/random.h"
#include "support/testEngine.h"

// A length, a 0, then the text: a length past the record, negative, huge or
// unended reads nothing and leaves the text empty.
TEST(BString, DeserialiseLengthPrefixedTexts) {
    const struct {
        std::string bytes;
        size_t used;
        const char* text;
    } rows[] = {
        {std::string("5\0helloX", 8), 7, "hello"}, {std::string("0\0", 2), 2, ""},
        {std::string("9\0ab", 4), 0, ""},         {std::string("-1\0a", 4), 0, ""},
        {"12", 0, ""},                             {std::string("99999999999\0", 12), 0, ""},
    };
    for (const auto& r : rows) {
        CbString s("stale");
        EXPECT_EQ(s.deserialise((const uint8_t*)r.bytes.data(), r.bytes.size()), r.used) << r.bytes;
        EXPECT_EQ(s.str(), r.text) << r.bytes;
    }
    std::string out;
    CbString("pilot").serialise(out);
    CbString back;
    EXPECT_EQ(back.deserialise((const uint8_t*)out.data(), out.size()), out.size());
    EXPECT_EQ(back.str(), "pilot");
}

TEST(BString, Utf8CutsOnCharacterBoundaries) {
    std::string s = "a\xC3\xA9\xE6\x97\xA5z";   // a, é, 日, z
    EXPECT_EQ(utf8CutPoint(s, 2), 1u);
    EXPECT_EQ(utf8CutPoint(s, 3), 3u);
    EXPECT_EQ(utf8CutPoint(s, 5), 3u);
    EXPECT_EQ(utf8Truncate(s, 3), "a\xC3\xA9\xE6\x97\xA5");
    // A cut text says so with an ellipsis, inside the limit and on a boundary.
    const std::string ellipsis = "\xE2\x80\xA6";
    const struct {
        std::string in;
        size_t maxBytes;
        std::string out;
    } cuts[] = {
        {s, 7, s},                                  // fits: as it was
        {s, 6, "a\xC3\xA9" + ellipsis},              // 日 does not fit beside the ellipsis
        {s, 5, "a" + ellipsis},                     // nor é
        {"Night Drive " + std::string(30, 'x'), 15, "Night Drive" + ellipsis},   // no space before it
    };
    for (const auto& c : cuts) EXPECT_EQ(utf8CutWithEllipsis(c.in, c.maxBytes), c.out) << c.maxBytes;
    CbString b(s);
    b.truncateBytes(4);
    EXPECT_EQ(b.str(), "a\xC3\xA9");
    char field[4];
    copyToField(field, sizeof field, s);
    EXPECT_STREQ(field, "a\xC3\xA9");
}

TEST(BString, PlayerTextIsNeverAFormat) {
    CbString s;
    s.setf("%s", "%s%n%d");
    EXPECT_EQ(s.str(), "%s%n%d");
    EXPECT_EQ(CbString::format("%d-%s", 3, "x").str(), "3-x");
}

TEST(Format, ThousandsOrdinalsAndTimes) {
    EXPECT_STREQ(formatThousands(999), "999");
    EXPECT_STREQ(formatThousands64(9223372036854775807LL), "9,223,372,036,854,775,807");
    EXPECT_STREQ(formatThousands64(INT64_MIN), "-9,223,372,036,854,775,808");
    const char* cases[][2] = {{"1", "1st"},     {"2", "2nd"},     {"3", "3rd"},      {"4", "4th"},
                              {"11", "11th"},   {"12", "12th"},   {"13", "13th"},    {"21", "21st"},
                              {"22", "22nd"},   {"101", "101st"}, {"111", "111th"},  {"112", "112th"},
                              {"1001", "1,001st"}, {"-1", "-1st"}, {"-12", "-12th"}, {"0", "0th"}};
    for (auto& c : cases) EXPECT_STREQ(ordinalText(atoi(c[0])), c[1]) << c[0];
    // Five rotating buffers: five results stay valid together.
    const char* first = formatThousands(1);
    for (int i = 2; i <= 5; ++i) formatThousands(i);
    EXPECT_STREQ(first, "1");
    EXPECT_STREQ(formatTime(3599), "59:59");
    EXPECT_STREQ(formatTime(3600), "01h 00m 00s");
    EXPECT_EQ(folderOfPathW("/home/me/music/a.mp3"), "/home/me/music");
    EXPECT_EQ(folderOfPathW("C:\\music\\b.mp3"), "C:\\music");
}

// What a player of each language reads: the place (1, 2, 3, 12, 22), a grouped
// number, a long play time and a date, all from that language's table.
TEST(Format, EachLanguageWritesNumbersPlacesDatesAndTimesItsOwnWay) {
    setenv("TZ", "UTC", 1);
    tzset();
    CtestEngine eng;
    struct Crow {
        int language;
        const char* places[5];
        const char* grouped;
        const char* time;
        const char* date;
    };
    const Crow rows[] = {
        {1, {"1st", "2nd", "3rd", "12th", "22nd"}, "-1,234,567", "01h 02m 03s", "14th November 2023"},
        {2, {"1.", "2.", "3.", "12.", "22."}, "-1.234.567", "01:02:03", "14. November 2023"},
        {3, {"1er", "2e", "3e", "12e", "22e"}, "-1\u00a0234\u00a0567", "01:02:03", "14 novembre 2023"},
        {6, {"1-е", "2-е", "3-е", "12-е", "22-е"}, "-1\u00a0234\u00a0567", "01:02:03", "14 ноября 2023"},
        {12, {"1:a", "2:a", "3:e", "12:e", "22:a"}, "-1\u00a0234\u00a0567", "01:02:03", "14 november 2023"},
        {13, {"1位", "2位", "3位", "12位", "22位"}, "-1,234,567", "01:02:03", "2023年11月14日"},
        {15, {"1.", "2.", "3.", "12.", "22."}, "-1\u00a0234\u00a0567", "01:02:03", "2023. november 14."},
    };
    const int places[] = {1, 2, 3, 12, 22};
    for (const Crow& r : rows) {
        ASSERT_TRUE(eng->setLanguage(r.language));
        SCOPED_TRACE(languageRow(r.language).tag);
        for (int i = 0; i < 5; ++i) EXPECT_STREQ(ordinalText(places[i]), r.places[i]);
        EXPECT_STREQ(formatThousands(-1234567), r.grouped);
        EXPECT_STREQ(formatTime(3723), r.time);
        EXPECT_STREQ(formatTime(59), "00:59");
        EXPECT_EQ(monthYearText(1700000000), r.date);
    }
    // Every shipped language keeps the number in each of its places.
    for (int n : offeredLanguages()) {
        ASSERT_TRUE(eng->setLanguage(n));
        for (int place : {1, 2, 3, 4, 11, 21, 1003})
            EXPECT_NE(std::string(ordinalText(place)).find(place == 1003 ? "003" : std::to_string(place)),
                      std::string::npos) << languageRow(n).tag << " " << place;
    }
    // A broken form (no number, a separator that is a sentence) leaves the English in place.
    CstringTable broken;
    ASSERT_TRUE(broken.loadFromText("OrdinalOther \"th\"\nNumberGroupSeparator \"a long separator\"\nEndFile\n"));
    setNumberStyle(CnumberStyle::fromTable(broken));
    EXPECT_STREQ(ordinalText(4), "4th");
    EXPECT_STREQ(formatThousands(1000), "1,000");
    ASSERT_TRUE(eng->setLanguage(0));
}

TEST(Md5, Rfc1321Vectors) {
    EXPECT_EQ(Cmd5::hex(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(Cmd5::hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(Cmd5::hex("12345678901234567890123456789012345678901234567890123456789012345678901234567890"),
              "57edf4a22be3c955ac49da2e2107b67a");
}

TEST(Random, SequenceAndDerivedValues) {
    // The same seed gives the same run (replays depend on it), within range.
    Crandom a(42), b(42);
    for (int i = 0; i < 100; ++i) {
        const int c = a.choice(7);
        EXPECT_EQ(c, b.choice(7));
        EXPECT_TRUE(c >= 0 && c < 7);
        const float f = a.fraction();
        EXPECT_TRUE(f >= 0 && f < 1) << f;
        b.fraction();
    }
}

TEST(Maths, FastSinCosAndEasing) {
    for (float deg : {30.0f, -90.0f, 450.0f, 359.95f}) {
        EXPECT_NEAR(Cengine::fastSin(deg), std::sin(degToRad(deg)), 2e-3) << deg;   // a table of tenths of a degree
        EXPECT_NEAR(Cengine::fastCos(deg), std::cos(degToRad(deg)), 2e-3) << deg;
    }
    EXPECT_FLOAT_EQ(lerpValue(LERP_LINEAR, 2, 4, 0.5f), 3.0f);
    for (int t = 0; t < LERP_COUNT; ++t) {
        EXPECT_NEAR(lerpValue(t, 10, 20, 0), 10, 1e-4) << lerpTypeName(t);
        EXPECT_NEAR(lerpValue(t, 10, 20, 1), 20, 1e-4) << lerpTypeName(t);
        EXPECT_EQ(findLerpType(lerpTypeName(t)), t);
    }
    EXPECT_EQ(findLerpType("ease in out"), LERP_EASE_IN_OUT);
    EXPECT_EQ(findLerpType("nope"), -1);
}
