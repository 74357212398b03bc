// The game's draw performs a pending capture after everything else and shows
// the automatic screenshots beside the game-over screens; play arms moments
// through the world's hooks; "-NoScreenShots" switches them off.
#include <gtest/gtest.h>

#include "support/testGame.h"

namespace {
int thumbnailQuads() {
    int n = 0;
    for (const auto& q : gEngine->renderer.quads()) n += q.width == 250.0f && q.height > 10 ? 1 : 0;
    return n;
}
}  // namespace

TEST(GameCaptures, TheDrawCapturesLastAndShowsTheStripAfterAGame) {
    CtestGame game;
    ASSERT_TRUE(game.initOk());
    Cgame& g = game.game();
    ASSERT_TRUE(g.screenCapture.requestTexture(0, 0, 200, 100));
    gEngine->renderer.beginFrame();
    g.draw();
    ASSERT_NE(g.screenCapture.texture(), nullptr);
    g.autoShots.shots.push_back({3, g.screenCapture.takeTexture()});

    // Not while playing; in each game-over state.
    for (int mode : {(int)GM_PLAYING, (int)GM_GAME_OVER, (int)GM_GAME_OVER_SURVIVAL}) {
        g.setModeDirect(mode);
        gEngine->renderer.beginFrame();
        g.draw();
        EXPECT_EQ(thumbnailQuads(), mode == GM_PLAYING ? 0 : 1) << mode;
    }
    // Play's moments reach the picker, and a new game clears the strip.
    g.setModeDirect(GM_PLAYING);
    for (float& t : g.autoShots.timers) t = 0;
    g.world.hooks.armMoment(1, 0.3f, 1);
    EXPECT_TRUE(g.autoShots.armed);
    g.world.hooks.resetAutoShots();
    EXPECT_FALSE(g.autoShots.armed);
    EXPECT_TRUE(g.autoShots.shots.empty());
}

TEST(GameCaptures, NoScreenShotsSwitchesTheMomentsOff) {
    CtestGame game(false, "-NoScreenShots");
    ASSERT_TRUE(game.initOk());
    Cgame& g = game.game();
    EXPECT_TRUE(g.autoShots.disabled);
    g.setModeDirect(GM_PLAYING);
    for (float& t : g.autoShots.timers) t = 0;
    g.world.hooks.armMoment(1, 0.3f, 1);
    EXPECT_FALSE(g.autoShots.armed);
}
