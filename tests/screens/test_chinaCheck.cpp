#include <gtest/gtest.h>

#include "online/localService/localWebService.h"
#include "screensFixture.h"
#include "support/localHttpServer.h"
#include "screens/chinaCheck.h"
#include "screens/screenRegistry.h"

namespace {
struct CregionFixture {
    CscreensGame g;
    CrecordingScreen startUp;
    CregionFixture() {
        gEngine->countryCode = "CN";
        g->setScreen(GM_START_UP, &startUp);
        g->setGameMode(GM_CHINA_CHECK);
        g.settle();
    }
    // The second item with the keys, or the first as it comes; the web
    // service's first answer comes beside the frame loop.
    void pick(int item) {
        if (item == 1) g.tapKey(SDL_SCANCODE_DOWN);
        g.tapAction(ACTION_SELECT);
        g.stepUntil([this] { return !g->online.soap.startCall.pending(); });
        g.steps(70);   // the fade to the start-up sequence
    }
};
}  // namespace

TEST(RegionChoice, TheWebServiceStartsWhenItAnswers) {
    CregionFixture f;
    ASSERT_TRUE(f.g.initOk());
    ClocalWebService service;
    ASSERT_TRUE(service.start());
    f.g->online.soap.setConfig(service.config());
    f.pick(1);
    EXPECT_TRUE(f.g->online.soap.isStarted());
    EXPECT_FALSE(gEngine->webServiceOff);
    EXPECT_TRUE(f.g.logHas("Challenge Init"));
    EXPECT_TRUE(f.g->online.asyncChallenge.initialised);
    EXPECT_EQ(f.g.mode(), GM_START_UP);
    service.stop();
}

TEST(RegionChoice, FallsBackToSteamOnlyWhenTheWebServiceCantStart) {
    CregionFixture f;
    ASSERT_TRUE(f.g.initOk());
    CwebServiceConfig nowhere;
    {
        ClocalWebService gone;   // a port that was just free: nothing answers there
        ASSERT_TRUE(gone.start());
        nowhere = gone.config(1);
        gone.stop();
    }
    f.g->online.soap.setConfig(nowhere);
    ClocalHttpServer collector([](const ChttpRequest&) { return ChttpResponse{}; });
    Canalytics& hits = gEngine->analytics;
    hits.setEndpoint(collector.url());
    hits.setClientId("region-test");
    hits.isSignedIn = [] { return true; };
    f.pick(1);
    EXPECT_FALSE(f.g->online.soap.isStarted());
    EXPECT_TRUE(gEngine->webServiceOff);
    EXPECT_TRUE(f.g.logHas("Running without soap 2!"));
    EXPECT_FALSE(f.g->online.asyncChallenge.initialised);
    EXPECT_EQ(f.g.mode(), GM_START_UP);
    hits.sendTask().join();
    bool event = false;
    for (const auto& r : collector.requests())
        if (r.body.find("&ec=noSoap2&ea=CN&el=CN&") != std::string::npos) event = true;
    EXPECT_TRUE(event);
}
