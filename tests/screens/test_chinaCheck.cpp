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
    // The second item, with the keys; the web service's first answer comes
    // beside the frame loop.
    void pickSecond() {
        g.tapKey(SDL_SCANCODE_DOWN);
        g.tapAction(ACTION_SELECT);
        g.stepUntil([this] { return !g->online.soap.startCall.pending(); });
        g.steps(70);   // the fade to the start-up sequence
    }
};
}  // namespace

// Choosing the web service starts it when it answers; when it can't start
// the game goes on Steam-only and says so in the analytics.
TEST(RegionChoice, TheWebServiceStartsWhenItAnswersElseSteamOnly) {
    for (bool answers : {true, false}) {
        SCOPED_TRACE(answers ? "answers" : "nothing answers");
        CregionFixture f;
        ASSERT_TRUE(f.g.initOk());
        ClocalWebService service;   // stopped at once: a port that was just free
        ASSERT_TRUE(service.start());
        f.g->online.soap.setConfig(service.config(answers ? 2 : 1));
        if (!answers) service.stop();
        ClocalHttpServer collector([](const ChttpRequest&) { return ChttpResponse{}; });
        Canalytics& hits = gEngine->analytics;
        hits.setEndpoint(collector.url());
        hits.setClientId("region-test");
        hits.isSignedIn = [] { return true; };
        f.pickSecond();
        EXPECT_EQ(f.g->online.soap.isStarted(), answers);
        EXPECT_EQ(gEngine->webServiceOff, !answers);
        EXPECT_EQ(f.g.logHas("Challenge Init"), answers);
        EXPECT_EQ(f.g->online.asyncChallenge.initialised, answers);
        EXPECT_EQ(f.g.logHas("Running without soap 2!"), !answers);
        EXPECT_EQ(f.g.mode(), GM_START_UP);
        hits.sendTask().join();
        bool event = false;
        for (const auto& r : collector.requests()) event |= r.body.find("&ec=noSoap2&ea=CN&el=CN&") != std::string::npos;
        EXPECT_EQ(event, !answers);
        service.stop();
    }
}
