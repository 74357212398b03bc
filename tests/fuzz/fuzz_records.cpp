// Binary records from outside: the packed container of saves and web
// messages, board scores, the song library, ships, and what the service's
// replies carry (news, challenges, friends, player stats, a rival's replay).
#include "audio/songInfoMgr.h"
#include "fuzzEngine.h"
#include "game/progress/playerShipMgr.h"
#include "game/progress/playerStatsCache.h"
#include "game/scoreReplay.h"
#include "online/challengeList.h"
#include "online/friendList.h"
#include "online/inbox.h"
#include "online/scoreRecord.h"

std::vector<CfuzzReader> fuzzReaders() {
    return {
        [](const uint8_t* p, size_t n) {
            Cbytes out, payload;
            CwebMessage::unpack(p, n, out);
            CwebMessage::unpackPayload(p, n, payload);
            if (!CwebMessage::unpackRecord(p, n, out)) return;
            uint16_t type;
            const uint8_t* block;
            uint32_t length;
            for (uint32_t i = 0; i < CwebMessage::blockCount(out) && i < 4096; ++i)
                if (!CwebMessage::getBlock(out, i, type, block, length)) break;
        },
        [](const uint8_t* p, size_t n) {
            Cbytes rec(p, p + n);
            CbasicScore::read(rec);
            CperSongScore::read(rec);
            CgeneralTracksScore::read(rec);
            CdailyTrackScore::read(rec);
        },
        [](const uint8_t* p, size_t n) {
            static CsongInfoMgr library;
            std::vector<std::unique_ptr<CsongPackInfo>> entries;
            library.parseLibrary(p, n, entries);
            for (auto& e : entries) e->getKey();
            std::vector<std::string> recent;
            CsongInfoMgr::parseRecent(p, n, recent);
        },
        [](const uint8_t* p, size_t n) {
            CplayerShipDef ship;
            if (ship.readDataBlock(p, n)) ship.clearImportFlag(), ship.finishDef();
            ship.readOutside(p, n);
            static CplayerShipMgr ships;
            std::vector<CplayerShipMgr::CshipPtr> staged;
            ships.read(p, n, staged);
        },
        [](const uint8_t* p, size_t n) {
            CinboxEntry e;
            Cinbox inbox;
            if (CinboxEntry::unpack(p, n, e)) inbox.add(e);
            inbox.deserialise(p, n);
            inbox.serialise();
        },
        [](const uint8_t* p, size_t n) {
            CasyncChallenge c;
            if (CasyncChallenge::deserialise(p, n, c)) c.serialise();
        },
        [](const uint8_t* p, size_t n) {
            CfriendList friends;
            if (friends.deserialise(p, n)) friends.serialise();
        },
        [](const uint8_t* p, size_t n) {
            CplayerStatsRecord stats;
            uint8_t back[CplayerStatsRecord::kRecordSize];
            if (stats.read(p, n)) stats.write(back);
        },
        [](const uint8_t* p, size_t n) {
            CreplayRun run;
            Cbytes back;
            if (CscoreReplay::unpack(p, n, run)) CscoreReplay::pack(run, back);
        },
    };
}
