// Every length or count field read from outside, set to its largest value
// over a small input: the reader must refuse it without holding memory the
// input cannot back.
#include <gtest/gtest.h>

#include <functional>

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
#include "online/friendList.h"
#include "online/scoreRecord.h"
#include "platform/steam/steamStore.h"
#include "support/testEngine.h"

namespace {
// Well above what any of these readers needs for a few kilobytes of input,
// far below what a claimed length would buy.
constexpr int64_t kCeiling = 1024 * 1024;
constexpr uint32_t kTop = 0xFFFFFFFFu;

Cbytes noise(size_t n, uint32_t seed) {
    Cbytes b(n);
    for (auto& x : b) x = (uint8_t)((seed = seed * 1664525u + 1013904223u) >> 24);
    return b;
}
Cbytes& operator+=(Cbytes& b, const Cbytes& more) {
    b.insert(b.end(), more.begin(), more.end());
    return b;
}
Cbytes u32s(std::initializer_list<uint32_t> values) {
    Cbytes b;
    CrecordWriter w(b);
    for (uint32_t v : values) w.u32(v);
    return b;
}
// A magic, then counts and lengths, then noise where what they claim should be.
Cbytes claim(std::string magic, std::initializer_list<uint32_t> values, size_t noiseBytes = 3000) {
    Cbytes b(magic.begin(), magic.end());
    return b += u32s(values), b += noise(noiseBytes, (uint32_t)b.size());
}

struct Crow {
    std::string what;
    Cbytes in;
    std::function<bool(const Cbytes&)> read;   // true: the input was accepted
};
void expectRefusedWithinTheCeiling(const std::vector<Crow>& rows) {
    for (const Crow& row : rows) {
        CallocationMeter meter;
        EXPECT_FALSE(row.read(row.in)) << row.what << ": a reader accepted a length it cannot back";
        EXPECT_LT(meter.peakBytes(), kCeiling) << row.what;
    }
}
}  // namespace

TEST(LengthFields, PackedContainerClaimsAreNotBoughtUpFront) {
    CtestEngine eng(false);
    // A 65,112-byte input whose header claims 64 MB: passes the inflate-ratio
    // check, so only the stream itself may decide what gets held.
    std::string small(5000, 'q');
    Cbytes shortStream = CwebMessage::pack(0, small.data(), small.size());
    ASSERT_EQ(shortStream[2], 1);
    Cbytes deflated(shortStream.begin() + 12, shortStream.end()), out;
    CwebMessage::unscramble(deflated.data(), deflated.size());
    std::vector<Crow> rows;
    auto unpack = [&](const Cbytes& b) { return CwebMessage::unpack(b.data(), b.size(), out); };
    auto unpackPayload = [&](const Cbytes& b) { return CwebMessage::unpackPayload(b.data(), b.size(), out); };
    auto unpackRecord = [&](const Cbytes& b) { return CwebMessage::unpackRecord(b.data(), b.size(), out); };
    for (const Cbytes& payload : {noise(65100, 7), deflated}) {
        for (uint8_t scrambled : {0, 1}) {
            // The same stream as a container and as a record (14-byte header).
            Cbytes in = {0, 0, 1, scrambled}, rec = u32s({kTop, 65114, CwebMessage::kMaxRawLength});
            in += u32s({65100, CwebMessage::kMaxRawLength});
            in += payload;
            in.resize(65112, 0);
            rec += {1, scrambled};
            rec += Cbytes(in.begin() + 12, in.end());
            const std::string what = std::to_string(payload.size()) + (scrambled ? " scrambled" : "");
            rows.push_back({"unpack " + what, in, unpack});
            rows.push_back({"unpackPayload " + what, in, unpackPayload});
            rows.push_back({"unpackRecord " + what, rec, unpackRecord});
        }
    }
    // Every length at its top over a header alone; the record's first block
    // claims as much.
    for (uint32_t v : {kTop, CwebMessage::kMaxRawLength}) {
        Cbytes r = u32s({v, 26, 26, 0, v, 0, 0});
        r.resize(26);
        rows.push_back({"header " + std::to_string(v), u32s({0, v, v}), unpack});
        rows.push_back({"record header " + std::to_string(v), r, unpackRecord});
        rows.push_back({"block " + std::to_string(v), r, [](const Cbytes& b) {
                            uint16_t type;
                            const uint8_t* data;
                            uint32_t length;
                            return CwebMessage::getBlock(b, 0, type, data, length);
                        }});
    }
    expectRefusedWithinTheCeiling(rows);
}

TEST(LengthFields, SaveRecordsLibraryBoardsAndReplays) {
    CtestEngine eng(false);
    // The record stream: record count, name length and record length at their top.
    Cbytes stream = claim("ZXRS", {1, kTop}, 0);
    stream.push_back(255);
    stream += Cbytes(255, 'n');
    stream += claim("", {kTop}, 4000);
    // Ten digits claim a length of 9,999,999,999.
    Cbytes digits = claim(std::string("9999999999\0", 11), {}, 2000);
    // A ship whose hull length is the largest allowed but not there.
    const size_t fixed = CplayerShipData::kBlockSize + CplayerShipDef::kOutsideSize + 4;
    Cbytes oneShip = u32s({CplayerShipMgr::kLayoutVersion, 1, (uint32_t)fixed});
    oneShip += Cbytes(fixed, 0);
    putU32(&oneShip[oneShip.size() - 4], (uint32_t)CplayerShipMgr::kMaxHullImage);
    Cbytes library = claim("ZXSI", {1, 2000000, SONG_LOCAL}, 0);
    library.push_back(0);
    library += claim("", {1, 0, kTop});
    // Friends' stats come in 16-byte pairs; a record of 17 is refused.
    Cbytes friendStats = claim("ZXRS", {1, 1}, 0);
    friendStats += claim("\x0c" "friendsStats", {17}, 17);
    CsaveFile file, friendsFile;
    CfriendList friends;
    friends.registerRecord(friendsFile, "friends");
    CplayerShipMgr ships;
    std::vector<CplayerShipMgr::CshipPtr> staged;
    auto readShips = [&](const Cbytes& b) { return ships.read(b.data(), b.size(), staged); };
    std::vector<Crow> rows = {
        {"save stream", stream, [&](const Cbytes& b) { return file.deserialise(b.data(), b.size()); }},
        {"friends' stats", friendStats, [&](const Cbytes& b) { return friendsFile.deserialise(b.data(), b.size()); }},
        {"counted text", claim("", {kTop}, 2000), [](const Cbytes& b) {
             CrecordReader reader(b.data(), b.size());
             reader.string(SIZE_MAX);
             return !reader.failed();
         }},
        {"digits text", digits, [](const Cbytes& b) { return CbString().deserialise(b.data(), b.size()) != 0; }},
        {"hangar", claim("", {CplayerShipMgr::kLayoutVersion, (uint32_t)CplayerShipMgr::kMaxShips, kTop}), readShips},
        {"hull", oneShip, readShips},
        {"modules", claim("", {kTop}, CshipModule::kRecordSize * 3), [](const Cbytes& b) {
             std::vector<CshipModule> staged;
             return CshipModuleMgr().read(b.data(), b.size(), staged);
         }},
        {"achievements", claim("", {kTop}), [](const Cbytes& b) {
             std::map<std::string, uint32_t> counts;
             return CachievementDefs().read(b.data(), b.size(), counts);
         }},
        {"library", library, [](const Cbytes& b) {
             std::vector<std::unique_ptr<CsongPackInfo>> entries;
             return CsongInfoMgr().parseLibrary(b.data(), b.size(), entries);
         }},
        {"recent", claim("ZXRT", {1, (uint32_t)CsongInfoMgr::kMaxRecent, kTop}, 1000), [](const Cbytes& b) {
             std::vector<std::string> keys;
             return CsongInfoMgr::parseRecent(b.data(), b.size(), keys);
         }},
        {"replay", claim("", {(uint32_t)CscoreReplay::kMaxSamples, 0}, 4000), [](const Cbytes& b) {
             CreplayRun run;
             return CscoreReplay::unpack(b.data(), b.size(), run);
         }},
    };
    for (uint32_t n : {kTop, 0x7FFFFFFFu}) {
        rows.push_back({"mappings", claim("", {n}), [](const Cbytes& b) {
                            std::vector<CinputMapping> mappings;
                            return Csettings::readMappings(b.data(), b.size(), mappings);
                        }});
        rows.push_back({"tutorials", claim("", {n}), [](const Cbytes& b) {
                            std::vector<std::string> tutorials;
                            return Csettings::readTutorials(b.data(), b.size(), tutorials);
                        }});
        rows.push_back({"notices", claim("", {n}), [](const Cbytes& b) {
                            std::vector<CnoticeQueue::Cnotice> notices;
                            return Csettings::readNotices(b.data(), b.size(), notices);
                        }});
    }
    // The local Steam layer's boards: board count, name length, entry count
    // and detail count at their top.
    for (int field = 0; field < 4; ++field) {
        Cbytes b = claim("ZXLB", {1, field == 0 ? kTop : 1u}, 0);
        b += {field == 1 ? (uint8_t)0xFF : (uint8_t)4, field == 1 ? (uint8_t)0xFF : (uint8_t)0, 'b', 'o', 'r', 'd'};
        b += claim("", {0, 0, field == 2 ? kTop : 1u, 1, 2, 3, field == 3 ? kTop : 64u}, 2000);
        rows.push_back({"board field " + std::to_string(field), b, [](const Cbytes& in) {
                            std::vector<CsteamBoard> boards;
                            return CsteamStore::parseBoards(in.data(), in.size(), boards);
                        }});
    }
    expectRefusedWithinTheCeiling(rows);
}

// A record too short for a field is left as it is, never written past.
TEST(LengthFields, FieldsPastTheRecordEndAreNotWritten) {
    Cbytes rec(6, 0);
    for (size_t offset : {3, 4, 6, 9}) {
        writeRecordI32(rec, offset, -1);
        writeRecordF32(rec, offset, 1.0f);
    }
    EXPECT_EQ(rec, Cbytes(6, 0));
}
