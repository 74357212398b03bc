#include <gtest/gtest.h>

#include <memory>

#include "game/gameTypes.h"
#include "game/musicLink.h"
#include "screens/321Go.h"
#include "screens/screenRegistry.h"
#include "support/heldTask.h"
#include "trackRoad.h"

namespace {
struct CcountdownFixture : CtrackRoad {
    C321GoScreen* screen = nullptr;
    CcountdownFixture() {
        if (!g.initOk()) return;
        g->world.session.gameType = GAMETYPE_STANDARD;
        g->world.session.musicSource = MUSIC_RANDOM;
        if (track) g->world.session.track = trackInfoFromSong(*track);
        screen = screens::get<C321GoScreen>();
    }
    bool shown(int digit) const { return !screen->widget(digit)->hidden; }
};
}  // namespace

// The count runs on time whatever runs in the background: a stalled board
// download does not hold play.
TEST(Countdown, CountsThreeTwoOneGoAndPlaysAfterThreeSeconds) {
    for (bool stalled : {false, true}) {
        SCOPED_TRACE(stalled ? "stalled download" : "no download");
        CcountdownFixture f;
        ASSERT_TRUE(f.g.initOk());
        std::unique_ptr<CheldTask> stall;
        if (stalled) stall = std::make_unique<CheldTask>();
        else f.g->world.session.gameType = GAMETYPE_CHILLOUT;   // asks for no board
        f.g->setGameMode(GM_321_GO);
        f.g.steps(1);
        ASSERT_EQ(f.g.mode(), GM_321_GO);
        EXPECT_FALSE(f.shown(3));
        EXPECT_TRUE(f.screen->openMic()->hidden);
        // Steps of 1/60 s: "3" at 0.6 s, "2" at 0.9 s, "1" at 1.2 s, "Go" at 1.5 s.
        int step = 1, firstPlay = -1;
        int seen[4] = {-1, -1, -1, -1};
        while (step < 400 && firstPlay < 0) {
            f.g.steps(1);
            ++step;
            for (int d = 0; d < 4; ++d)
                if (seen[d] < 0 && f.shown(d)) seen[d] = step;
            if (f.g->world.session.started) firstPlay = step;
        }
        EXPECT_NEAR(seen[3], 36, 2);
        EXPECT_NEAR(seen[2], 54, 2);
        EXPECT_NEAR(seen[1], 72, 2);
        EXPECT_NEAR(seen[0], 90, 2);
        EXPECT_NEAR(firstPlay, 180, 3);
    }
}
