#pragma once
// The score data records stored with web leaderboard scores. Each board kind
// has a fixed layout of byte offsets, given once in a field table that both
// reading and writing follow; texts are kept length-prefixed (decimal
// length, a zero byte, the bytes), country codes and a few short names
// zero-terminated. Records come from other players through the service, so
// every read is checked against its field and the record's real length: a
// field outside the record reads as empty or zero, and a text never reads
// past the end of its field.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "engine/webMessage.h"

// Link ids end up in web addresses: letters, digits, '-' and '_' only, at
// most 27 of them.
bool isSafeLinkId(std::string_view id);

// Bounded field readers. A text whose length prefix runs past its field
// (or the record) reads as empty.
std::string readRecordText(const Cbytes& rec, size_t offset, size_t width);
// The player's name opens every layout but the daily track's, 30 bytes wide.
constexpr size_t kRecordNameWidth = 30;
std::string readRecordCString(const Cbytes& rec, size_t offset, size_t width);
int32_t readRecordI32(const Cbytes& rec, size_t offset);
int8_t readRecordI8(const Cbytes& rec, size_t offset);
float readRecordF32(const Cbytes& rec, size_t offset);
uint64_t readRecordU64(const Cbytes& rec, size_t offset);

// Field writers into a record already sized to its layout. A text is cut (on
// a UTF-8 boundary) so that it and its length prefix fit the field's width.
void writeRecordText(Cbytes& rec, size_t offset, size_t width, std::string_view text);
void writeRecordCString(Cbytes& rec, size_t offset, size_t width, std::string_view text);
void writeRecordI32(Cbytes& rec, size_t offset, int32_t v);
void writeRecordI8(Cbytes& rec, size_t offset, int8_t v);
void writeRecordF32(Cbytes& rec, size_t offset, float v);
void writeRecordU64(Cbytes& rec, size_t offset, uint64_t v);

// One field of a record layout: where it sits, how wide it is, and the
// member of the record struct it holds. Texts are length-prefixed unless
// zeroTerminated. A width of 0 runs to the end of the record.
template <class T>
struct CscoreField {
    using Cmember = std::variant<std::string T::*, int32_t T::*, int8_t T::*, float T::*, uint64_t T::*, char T::*>;
    size_t offset = 0;
    size_t width = 0;
    Cmember member;
    bool zeroTerminated = false;
};

// Fixed boards 0, 8, 9, 18, 19 (XP, boss rush, survival).
struct CbasicScore {
    static constexpr size_t kSize = 128;
    std::string name, comment, country, ship;
    int32_t day = 0;
    Cbytes write() const;
    static CbasicScore read(const Cbytes& rec);
};

// Track boards and challenge boards.
struct CperSongScore {
    static constexpr size_t kSize = 140;
    std::string name, country, comment, ship;
    int32_t day = 0;
    int8_t deaths = 0;
    int32_t difficulty = 0;
    float difficultyFactor = 0;
    Cbytes write() const;
    static CperSongScore read(const Cbytes& rec);
};

// Fixed boards by track length (1 to 7 and 11 to 17).
struct CgeneralTracksScore {
    static constexpr size_t kSize = 232;
    std::string name, trackTitle, comment, country, ship;
    int32_t day = 0;
    int32_t difficulty = 0;
    float difficultyFactor = 0;
    int8_t deaths = 0;
    Cbytes write() const;
    static CgeneralTracksScore read(const Cbytes& rec);
};

// The daily-tracks board, whose board score is the time of the submit.
struct CdailyTrackScore {
    static constexpr size_t kSize = 414;
    uint64_t gameScore = 0;
    std::string name, country, comment, title, artist, album, ship, shipDefName, linkId;
    int8_t deaths = 0;
    int32_t difficulty = 0;
    float difficultyFactor = 0;
    int32_t length = 0;   // seconds
    char linkKind = 0;    // 'Y' video, 'S' streaming, anything else none
    Cbytes write() const;
    // A link id that is not safe reads as no link at all.
    static CdailyTrackScore read(const Cbytes& rec);
};
