// Every length or count field read from outside, set to its largest value
// over a small input: the reader must refuse it (or read what is there)
// without holding memory the input cannot back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/songInfoMgr.h"
#include "engine/bString.h"
#include "engine/saveFile.h"
#include "engine/webMessage.h"
#include "game/progress/achievementDefs.h"
#include "game/progress/playerShipMgr.h"
#include "game/progress/recordIO.h"
#include "game/progress/settings.h"
#include "game/progress/shipModule.h"
#include "game/scoreReplay.h"
#include "memory/allocationMeter.h"
#include "platform/steam/steamStore.h"
#include "support/testEngine.h"

namespace {
// Well above what any of these readers needs for a few kilobytes of input,
// far below what a claimed length would buy.
constexpr int64_t kCeiling = 1024 * 1024;

Cbytes noise(size_t n, uint32_t seed) {
    Cbytes b(n);
    for (auto& x : b) {
        seed = seed * 1664525u + 1013904223u;
        x = (uint8_t)(seed >> 24);
    }
    return b;
}
void append(Cbytes& b, const Cbytes& more) { b.insert(b.end(), more.begin(), more.end()); }
Cbytes u32s(std::initializer_list<uint32_t> values) {
    Cbytes b;
    CrecordWriter w(b);
    for (uint32_t v : values) w.u32(v);
    return b;
}
// Counts and lengths, then noise where what they claim should be.
Cbytes claim(std::initializer_list<uint32_t> values, size_t noiseBytes, uint32_t seed) {
    Cbytes b = u32s(values);
    append(b, noise(noiseBytes, seed));
    return b;
}

// Runs a read and gives the peak it held.
template <class F>
int64_t peakOf(F&& read) {
    CallocationMeter meter;
    read();
    return meter.peakBytes();
}
// The same for a read that must refuse its input.
template <class F>
int64_t peakOfRefused(F&& read) {
    CallocationMeter meter;
    bool accepted = read();
    int64_t peak = meter.peakBytes();
    EXPECT_FALSE(accepted) << "a reader accepted a length it cannot back";
    return peak;
}
}  // namespace

TEST(LengthFields, PackedContainerClaimsAreNotBoughtUpFront) {
    CtestEngine eng(false);
    // A 65,112-byte input whose header claims 64 MB: passes the inflate-ratio
    // check, so only the stream itself may decide what gets held.
    const uint32_t maxRaw = CwebMessage::kMaxRawLength;
    std::string small(5000, 'q');
    Cbytes shortStream = CwebMessage::pack(0, small.data(), small.size());
    ASSERT_EQ(shortStream[2], 1);
    Cbytes deflated(shortStream.begin() + 12, shortStream.end());
    CwebMessage::unscramble(deflated.data(), deflated.size());
    for (const Cbytes& payload : {noise(65100, 7), deflated}) {
        for (uint8_t scrambled : {0, 1}) {
            Cbytes in(12, 0);
            in[2] = 1;
            in[3] = scrambled;
            append(in, payload);
            if (in.size() < 65112) in.resize(65112, 0);
            putU32(&in[4], (uint32_t)(in.size() - 12));
            putU32(&in[8], maxRaw);
            Cbytes out;
            EXPECT_LT(peakOfRefused([&] { return CwebMessage::unpack(in.data(), in.size(), out); }), kCeiling);
            EXPECT_LT(peakOfRefused([&] { return CwebMessage::unpackPayload(in.data(), in.size(), out); }), kCeiling);

            Cbytes rec(14, 0);
            append(rec, Cbytes(in.begin() + 12, in.end()));
            putU32(&rec[0], 0xFFFFFFFFu);
            putU32(&rec[4], (uint32_t)rec.size());
            putU32(&rec[8], maxRaw);
            rec[12] = 1;
            rec[13] = scrambled;
            EXPECT_LT(peakOfRefused([&] { return CwebMessage::unpackRecord(rec.data(), rec.size(), out); }), kCeiling);
        }
    }
    // Every length at its top over a header alone.
    for (uint32_t v : {0xFFFFFFFFu, maxRaw}) {
        Cbytes h(12, 0);
        putU32(&h[4], v);
        putU32(&h[8], v);
        Cbytes out;
        EXPECT_LT(peakOfRefused([&] { return CwebMessage::unpack(h.data(), h.size(), out); }), kCeiling);
        Cbytes r(14 + 12, 0);
        putU32(&r[0], v);
        putU32(&r[4], 26);
        putU32(&r[8], 26);
        putU32(&r[16], v);   // the first block's length
        EXPECT_LT(peakOfRefused([&] { return CwebMessage::unpackRecord(r.data(), r.size(), out); }), kCeiling);
        uint16_t type;
        const uint8_t* data;
        uint32_t length;
        EXPECT_LT(peakOfRefused([&] { return CwebMessage::getBlock(r, 0, type, data, length); }), kCeiling);
    }
}

TEST(LengthFields, SaveStreamsAndTheirRecords) {
    CtestEngine eng(false);
    // The record stream: record count, name length and record length at their top.
    Cbytes stream = {'Z', 'X', 'R', 'S'};
    append(stream, u32s({1, 0xFFFFFFFFu}));
    stream.push_back(255);
    append(stream, Cbytes(255, 'n'));
    append(stream, u32s({0xFFFFFFFFu}));
    append(stream, noise(4000, 3));
    CsaveFile file;
    EXPECT_LT(peakOfRefused([&] { return file.deserialise(stream.data(), stream.size()); }), kCeiling);

    // Counted texts and the records built on them.
    Cbytes text = claim({0xFFFFFFFFu}, 2000, 4);
    CrecordReader reader(text.data(), text.size());
    EXPECT_LT(peakOf([&] { reader.string(SIZE_MAX); }), kCeiling);
    EXPECT_TRUE(reader.failed());
    Cbytes digits(10, '9');
    digits.push_back(0);
    append(digits, noise(2000, 5));
    CbString counted;
    EXPECT_LT(peakOf([&] { EXPECT_EQ(counted.deserialise(digits.data(), digits.size()), 0u); }), kCeiling);

    CplayerShipMgr ships;
    std::vector<CplayerShipMgr::CshipPtr> staged;
    Cbytes hangar = claim({CplayerShipMgr::kLayoutVersion, (uint32_t)CplayerShipMgr::kMaxShips, 0xFFFFFFFFu}, 3000, 6);
    EXPECT_LT(peakOfRefused([&] { return ships.read(hangar.data(), hangar.size(), staged); }), kCeiling);
    // A ship whose hull length is the largest allowed but not there.
    const size_t fixed = CplayerShipData::kBlockSize + CplayerShipDef::kOutsideSize + 4;
    Cbytes oneShip = u32s({CplayerShipMgr::kLayoutVersion, 1, (uint32_t)fixed});
    append(oneShip, Cbytes(fixed, 0));
    putU32(&oneShip[oneShip.size() - 4], (uint32_t)CplayerShipMgr::kMaxHullImage);
    EXPECT_LT(peakOfRefused([&] { return ships.read(oneShip.data(), oneShip.size(), staged); }), kCeiling);

    CshipModuleMgr modules;
    std::vector<CshipModule> stagedModules;
    Cbytes moduleRecord = claim({0xFFFFFFFFu}, CshipModule::kRecordSize * 3, 8);
    EXPECT_LT(peakOfRefused([&] { return modules.read(moduleRecord.data(), moduleRecord.size(), stagedModules); }),
              kCeiling);

    CachievementDefs ach;
    std::map<std::string, uint32_t> counts;
    Cbytes achRecord = claim({0xFFFFFFFFu}, 3000, 9);
    EXPECT_LT(peakOfRefused([&] { return ach.read(achRecord.data(), achRecord.size(), counts); }), kCeiling);

    for (uint32_t n : {0xFFFFFFFFu, 0x7FFFFFFFu}) {
        Cbytes counted = claim({n}, 3000, 10);
        std::vector<CinputMapping> mappings;
        std::vector<std::string> tutorials;
        std::vector<CnoticeQueue::Cnotice> notices;
        EXPECT_LT(peakOf([&] {
                      Csettings::readMappings(counted.data(), counted.size(), mappings);
                      Csettings::readTutorials(counted.data(), counted.size(), tutorials);
                      Csettings::readNotices(counted.data(), counted.size(), notices);
                  }),
                  kCeiling);
    }
}

TEST(LengthFields, LibraryBoardsAndReplays) {
    CtestEngine eng(false);
    CsongInfoMgr library;
    std::vector<std::unique_ptr<CsongPackInfo>> entries;
    Cbytes lib = {'Z', 'X', 'S', 'I'};
    append(lib, u32s({1u, 2000000, SONG_LOCAL}));
    lib.push_back(0);
    append(lib, u32s({1, 0, 0xFFFFFFFFu}));
    append(lib, noise(3000, 11));
    EXPECT_LT(peakOfRefused([&] { return library.parseLibrary(lib.data(), lib.size(), entries); }), kCeiling);
    Cbytes recent = {'Z', 'X', 'R', 'T'};
    append(recent, u32s({1u, (uint32_t)CsongInfoMgr::kMaxRecent, 0xFFFFFFFFu}));
    append(recent, noise(1000, 12));
    std::vector<std::string> keys;
    EXPECT_LT(peakOfRefused([&] { return CsongInfoMgr::parseRecent(recent.data(), recent.size(), keys); }), kCeiling);

    // The local Steam layer's boards: board count, name length, entry count and
    // detail count at their top.
    std::vector<CsteamBoard> boards;
    for (int field = 0; field < 4; ++field) {
        Cbytes b = {'Z', 'X', 'L', 'B'};
        append(b, u32s({1, field == 0 ? 0xFFFFFFFFu : 1u}));
        Cbytes name(2);
        putU16(name.data(), field == 1 ? 0xFFFF : 4);
        append(b, name);
        append(b, Cbytes{'b', 'o', 'r', 'd'});
        append(b, u32s({0, 0, field == 2 ? 0xFFFFFFFFu : 1u, 1, 2, 3, field == 3 ? 0xFFFFFFFFu : 64u}));
        append(b, noise(2000, 13));
        EXPECT_LT(peakOfRefused([&] { return CsteamStore::parseBoards(b.data(), b.size(), boards); }), kCeiling)
            << "field " << field;
    }

    CreplayRun run;
    Cbytes replay = claim({(uint32_t)CscoreReplay::kMaxSamples, 0}, 4000, 14);
    EXPECT_LT(peakOfRefused([&] { return CscoreReplay::unpack(replay.data(), replay.size(), run); }), kCeiling);
}
