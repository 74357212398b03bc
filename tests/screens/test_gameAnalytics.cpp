// The game's own analytics: the state machine's screen views and the log's
// level-4 lines reach a collection server on 127.0.0.1, byte for byte.
#include <gtest/gtest.h>

#include "screensFixture.h"
#include "support/localHttpServer.h"

namespace {
struct CanalyticsGame {
    CscreensGame g{true};   // the real start-up gives the user agent
    ClocalHttpServer collector{[](const ChttpRequest&) { return ChttpResponse{}; }};
    CrecordingScreen menu;
    CanalyticsGame() {
        Canalytics& a = gEngine->analytics;
        a.setEndpoint(collector.url());
        a.setTrackingId("UA-77");
        a.isSignedIn = [] { return true; };
        a.playerId = [] { return (int64_t)9001; };
        g->setScreen(GM_MAIN_MENU, &menu);
    }
    // Steps until every queued hit has left (one an update, while no other task runs).
    std::vector<ChttpRequest> sent() {
        for (int i = 0; i < 300 && gEngine->analytics.queued() > 0; ++i) {
            g.steps(1);
            gEngine->analytics.sendTask().join();
        }
        gEngine->analytics.sendTask().join();
        return collector.requests();
    }
};
}  // namespace

// Nothing leaves before a profile names the client; then the screen views
// and the errors do.
TEST(GameAnalytics, ScreenViewsAndErrorsOnceTheProfileIsThere) {
    CanalyticsGame f;
    ASSERT_TRUE(f.g.initOk());
    f.g->setGameMode(GM_MAIN_MENU);
    gEngine->log.print(LOG_E, "before any profile");
    f.g.steps(3);
    EXPECT_TRUE(f.sent().empty());
    EXPECT_EQ(gEngine->analytics.queued(), 0u);
    f.g->setGameMode(GM_EXIT);   // away, so that the menu is asked for again
    f.g.steps(80);
    f.g->progress.createNewProfile();
    f.g.steps(1);   // the client id comes from the progress record
    const std::string cid = f.g->progress.clientId;
    ASSERT_EQ(gEngine->analytics.clientId(), cid);
    const std::string ua = "&ua=Mozilla%2F5.0%20%28X11%3B%20Linux%20x86_64%29%20Zorbex%2Fv1.00";

    f.g->setGameMode(GM_MAIN_MENU);
    auto reqs = f.sent();
    ASSERT_EQ(reqs.size(), 1u);
    EXPECT_EQ(reqs[0].path, "/collect?");
    EXPECT_EQ(reqs[0].body, "v=1&t=pageview&tid=UA-77&cid=" + cid + "&ds=web" + ua +
                                "&dt=v1.00%20-%20Linux%20-%20Steam&dp=MainMenu");
    EXPECT_EQ(reqs[0].header("user-agent"), ua.substr(4));

    gEngine->log.print(LOG_E, "Can't open a=1&b 2");
    reqs = f.sent();   // posted at once, on the logging thread
    ASSERT_EQ(reqs.size(), 2u);
    EXPECT_EQ(reqs[1].body,
              "v=1&t=event&tid=UA-77&cid=" + cid + "&ds=web" + ua + "&ec=ERROR&ea=Can%27t%20open%20a%3D1%26b%202");

    f.g->setGameMode(GM_EXIT);   // no state request is lost behind another
    f.g->setGameMode(GM_MAIN_MENU);
    reqs = f.sent();
    ASSERT_EQ(reqs.size(), 4u);
    EXPECT_NE(reqs[2].body.find("&dp=Exit"), std::string::npos);
    EXPECT_NE(reqs[3].body.find("&dp=MainMenu"), std::string::npos);
}

TEST(GameAnalytics, NoGoogleKeepsTheGameSilent) {
    CtestGame g(false, "-NoGoogle");
    ASSERT_TRUE(g.initOk());
    ClocalHttpServer collector([](const ChttpRequest&) { return ChttpResponse{}; });
    gEngine->analytics.setEndpoint(collector.url());
    gEngine->analytics.isSignedIn = [] { return true; };
    g->progress.createNewProfile();
    CrecordingScreen menu;
    g->setScreen(GM_MAIN_MENU, &menu);
    g->setGameMode(GM_MAIN_MENU);
    gEngine->log.print(LOG_E, "an error");
    g.steps(3);
    EXPECT_FALSE(gEngine->analytics.sendTask().started());
    EXPECT_TRUE(collector.requests().empty());
}
