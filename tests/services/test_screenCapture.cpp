// CscreenCapture and CautoScreenShot on the null renderer: requests, files,
// textures and their owner; the moment picker's choices.
#include <gtest/gtest.h>

#include "engine/engine.h"
#include "engine/render/render.h"
#include "engine/resourceFile.h"
#include "game/gameModes.h"
#include "game/playHarness.h"
#include "services/autoScreenShot.h"
#include "services/screenCapture.h"
#include "support/testEngine.h"

namespace {

struct CcaptureFixture {
    CcaptureFixture() {
        EXPECT_TRUE(initRendering(RENDER_NULL));
        eng->renderer.beginFrame();
    }
    ~CcaptureFixture() { shutdownRendering(); }
    std::string path(const std::string& name) { return eng->savePath(name); }
    CtestEngine eng;
    CscreenCapture capture;
};

// Play started by the harness, with the picker watching it.
struct CmomentsFixture : CcaptureFixture {
    explicit CmomentsFixture(int gameType = GAMETYPE_STANDARD) {
        CharnessOptions o;
        o.gameType = gameType;
        EXPECT_TRUE(h.start(o));
        shots.musicIntensity = [this] { return loudness; };
        shots.random = &random;
        shots.reset();
        player()->pos = Cvec3(0, 0, 0);
        player()->angle = 0;
    }
    Cship* player() { return h.world.ships.playerShip(0); }
    // Ships of a kind, standing still where the picker counts them.
    void addShips(int n, int kind, bool important = false) {
        for (int i = 0; i < n; ++i) {
            Cship* s = h.world.ships.addShip(player()->def);
            ASSERT_NE(s, nullptr);
            s->kind = kind;
            s->team = -1;
            s->important = important;
        }
    }
    // One update step and, as the game's draw would, the capture.
    void step() {
        shots.update();
        capture.perform();
    }
    void steps(float seconds) {
        for (int i = 0; i < (int)(seconds * 60.0f + 0.5f); ++i) step();
    }
    CplayHarness h;
    Crandom random{777};
    CautoScreenShot shots{h.world, capture};
    float loudness = 0;
};

}  // namespace

TEST(ScreenCapture, ARequestIsWrittenAtTheNextDrawAndReplacesAnEarlierOne) {
    CcaptureFixture f;
    ASSERT_TRUE(f.capture.request(10, 20, 110, 70, f.path("first.png"), false));
    ASSERT_TRUE(f.capture.request(0, 0, 64, 32, f.path("second.png"), false));
    EXPECT_TRUE(f.capture.pending);
    EXPECT_FALSE(f.capture.done);
    f.capture.perform();
    EXPECT_FALSE(f.capture.pending);
    EXPECT_TRUE(f.capture.done);
    EXPECT_FALSE(fileExistsW(f.path("first.png")));
    int w = 0, h = 0;
    ASSERT_TRUE(CtextureMgr::readPngSize(f.path("second.png"), w, h));
    EXPECT_EQ(w, 64);
    EXPECT_EQ(h, 32);
    // A new request clears done until it is written.
    ASSERT_TRUE(f.capture.request(0, 0, 8, 8, f.path("third.png"), false));
    EXPECT_FALSE(f.capture.done);
}

TEST(ScreenCapture, EmptyOrBadRequestsAreRefused) {
    CcaptureFixture f;
    EXPECT_FALSE(f.capture.request(10, 10, 10, 50, f.path("a.png"), false));
    EXPECT_FALSE(f.capture.request(10, 50, 60, 20, f.path("a.png"), false));
    EXPECT_FALSE(f.capture.requestTexture(0, 0, 0, 0));
    EXPECT_FALSE(f.capture.requestTexture(0, 0, NAN, 10));
    EXPECT_FALSE(f.capture.request(0, 0, 10, 10, "", false));
    EXPECT_FALSE(f.capture.request(0, 0, 10, 10, std::string(2000, 'x'), false));
    EXPECT_FALSE(f.capture.pending);
    EXPECT_TRUE(f.eng->log.contains("Screen capture refused: empty rectangle 10,10 - 10,50"));
    // A rectangle wholly off the screen is tried and reported as failed.
    ASSERT_TRUE(f.capture.request(5000, 5000, 5100, 5100, f.path("off.png"), false));
    f.capture.perform();
    EXPECT_FALSE(f.capture.done);
    EXPECT_TRUE(f.capture.failed);
    EXPECT_FALSE(fileExistsW(f.path("off.png")));
}

TEST(ScreenCapture, ACapturedTextureHasOneOwner) {
    CcaptureFixture f;
    size_t base = f.eng->textures.count();
    ASSERT_TRUE(f.capture.requestTexture(0, 0, 120, 80));
    f.capture.perform();
    ASSERT_NE(f.capture.texture(), nullptr);
    {
        CtexturePtr mine = f.capture.takeTexture();
        EXPECT_EQ(f.capture.texture(), nullptr);
        EXPECT_EQ(f.eng->textures.count(), base + 1);
    }
    EXPECT_EQ(f.eng->textures.count(), base);
    // One not taken goes when the next request comes.
    ASSERT_TRUE(f.capture.requestTexture(0, 0, 10, 10));
    f.capture.perform();
    EXPECT_EQ(f.eng->textures.count(), base + 1);
    ASSERT_TRUE(f.capture.requestTexture(0, 0, 10, 10));
    EXPECT_EQ(f.eng->textures.count(), base);
}

TEST(AutoScreenShots, NothingIsTakenWhileSwitchedOffOrOutsideRealPlay) {
    for (int variant = 0; variant < 4; ++variant) {
        SCOPED_TRACE(variant);
        int type = variant == 2 ? GAMETYPE_CHILLOUT : variant == 3 ? GAMETYPE_SHIPTEST : GAMETYPE_STANDARD;
        CmomentsFixture f(type);
        if (variant == 0) f.shots.disabled = true;
        if (variant == 1) f.shots.settingOn = [] { return false; };
        f.loudness = 3;
        f.addShips(40, SHIPKIND_MINE);
        f.steps(12);
        EXPECT_FALSE(f.shots.arm(1, 0.3f, 1));
        f.steps(1);
        EXPECT_FALSE(f.shots.armed);
        EXPECT_TRUE(f.shots.shots.empty());
        f.shots.shots.push_back({1, nullptr});
        size_t before = f.eng->renderer.quads().size();
        f.shots.drawThumbnails(640);
        EXPECT_EQ(f.eng->renderer.quads().size() > before, variant >= 2);   // the strip is still drawn after those games
    }
}

TEST(AutoScreenShots, TheTriggersAreTestedInOrderAndNeedLoudMusic) {
    CmomentsFixture f;
    f.addShips(31, SHIPKIND_MINE);
    f.addShips(3, SHIPKIND_GRUNT, true);
    f.steps(9.5f);   // the timers start full
    f.loudness = 0.9f;
    f.steps(1);
    EXPECT_FALSE(f.shots.armed);
    f.loudness = 1.5f;
    f.step();
    ASSERT_TRUE(f.shots.armed);
    EXPECT_EQ(f.shots.momentType, 3u);   // three important ships come before the mines
    f.steps(0.2f);
    ASSERT_EQ(f.shots.shots.size(), 1u);
    EXPECT_EQ(f.shots.shots[0].type, 3u);
    EXPECT_NE(f.shots.shots[0].texture, nullptr);
    // Type 3 waits out its timer; the mines' moment does not.
    f.step();
    EXPECT_EQ(f.shots.momentType, 5u);
}

