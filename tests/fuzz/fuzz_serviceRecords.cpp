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
    fuzzEngine();
    if (size < 1) return 0;
    const uint8_t* p = data + 1;
    size_t n = size - 1;
    switch (data[0] % 5) {
        case 0: {
            CinboxEntry e;
            Cinbox inbox;
            if (CinboxEntry::unpack(p, n, e)) inbox.add(e);
            inbox.deserialise(p, n);
            inbox.serialise();
            break;
        }
        case 1: {
            CasyncChallenge c;
            if (CasyncChallenge::deserialise(p, n, c)) c.serialise();
            break;
        }
        case 2: {
            CfriendList friends;
            if (friends.deserialise(p, n)) friends.serialise();
            break;
        }
        case 3: {
            CplayerStatsRecord stats;
            if (stats.read(p, n)) {
                uint8_t back[CplayerStatsRecord::kRecordSize];
                stats.write(back);
            }
            break;
        }
        default: {
            CreplayRun run;
            if (CscoreReplay::unpack(p, n, run)) {
                Cbytes back;
                CscoreReplay::pack(run, back);
            }
            break;
        }
    }
    return 0;
}
