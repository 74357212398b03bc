// The game's own analytics: with -NoGoogle nothing reaches a collection
// server on 127.0.0.1, not even the log's errors.
#include <gtest/gtest.h>

#include "screensFixture.h"
#include "support/localHttpServer.h"

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
