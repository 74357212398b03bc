// Records the service carries inside its replies: news entries of the inbox,
// challenges, friends, player statistics and a rival's replay. The first byte
// picks the record.
#include "fuzzEngine.h"
#include "game/progress/playerStatsCache.h"
#include "game/scoreReplay.h"
#include "online/challengeList.h"
#include "online/friendList.h"
#include "online/inbox.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::vector<CfuzzReader> readers = {
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
    return fuzzPick(data, size, readers);
}
