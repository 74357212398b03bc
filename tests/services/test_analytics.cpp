#include <gtest/gtest.h>

#include "services/analytics.h"
#include "support/localHttpServer.h"
#include "support/testEngine.h"

namespace {
struct CanalyticsFixture {
    CtestEngine eng{true, "-Linux"};
    ClocalHttpServer server{[](const ChttpRequest&) { return ChttpResponse{}; }};
    Canalytics a;
    CanalyticsFixture() {
        a.setEndpoint(server.url());
        a.setTrackingId("UA-1");
        a.setClientId("uuid-7");
        a.setWebMode(true);
        a.isSignedIn = [] { return true; };
        a.playerId = [] { return (int64_t)4242; };
    }
    void pump() {
        a.update();
        a.sendTask().join();
    }
};
}  // namespace

TEST(Analytics, UserAgentEncoding) {
    CtestEngine eng;
    Canalytics a;
    a.setUserAgent("Mozilla/5.0 (x) ~1");
    EXPECT_EQ(a.userAgent(), "Mozilla%2F5.0%20%28x%29%20%7E1");   // '~' too
    a.setUserAgent(std::string(600, '/'));   // 1800 encoded bytes: cut on a whole escape
    EXPECT_LE(a.userAgent().size(), Canalytics::kUserAgentField - 1);
    EXPECT_EQ(a.userAgent().size() % 3, 0u);
}

TEST(Analytics, EventAndScreenViewPayloadsByteForByte) {
    CanalyticsFixture f;
    f.a.setUserAgent("UA x");
    f.a.sendEvent("Menu", "Play", nullptr, 99);
    f.a.sendEvent("Menu", "Pick", "a&b=c d", 0);
    f.a.sendScreenView("MainMenu");
    f.a.setWebMode(false);
    f.a.sendScreenView("Options");
    ASSERT_EQ(f.a.queued(), 4u);
    for (int i = 0; i < 4; ++i) {   // one hit an update, oldest first
        f.pump();
        EXPECT_EQ(f.a.queued(), (size_t)(3 - i));
    }
    auto reqs = f.server.requests();
    ASSERT_EQ(reqs.size(), 4u);
    EXPECT_EQ(reqs[0].method, "POST");
    EXPECT_EQ(reqs[0].path, "/collect?");
    EXPECT_EQ(reqs[0].body, "v=1&t=event&tid=UA-1&cid=uuid-7&ds=web&ua=UA%20x&ec=Menu&ea=Play&el=LX&ev=4242");
    EXPECT_EQ(reqs[1].body,
              "v=1&t=event&tid=UA-1&cid=uuid-7&ds=web&ua=UA%20x&ec=Menu&ea=Pick&el=a%26b%3Dc%20d&ev=4242");
    EXPECT_EQ(reqs[0].header("user-agent"), "UA%20x");
    EXPECT_EQ(reqs[2].body, "v=1&t=pageview&tid=UA-1&cid=uuid-7&ds=web&ua=UA%20x&dt=v1.00%20-%20Linux%20-%20Steam&dp=MainMenu");
    EXPECT_EQ(reqs[3].body, "v=1&t=screenview&tid=UA-1&cid=uuid-7&an=Zorbex&av=v1.00-Linux-Steam&ds=app&ua=UA%20x&cd=Options");
}

TEST(Analytics, ExceptionsPostAtOnceAndNeedAClientId) {
    CanalyticsFixture f;
    f.a.sendException("bad thing");
    auto reqs = f.server.requests();
    ASSERT_EQ(reqs.size(), 1u);
    EXPECT_EQ(reqs[0].body, "v=1&t=event&tid=UA-1&cid=uuid-7&ds=web&ec=ERROR&ea=bad%20thing");
    Canalytics fresh;
    fresh.setEndpoint(f.server.url());
    fresh.sendException("before the client id");
    EXPECT_EQ(f.server.requests().size(), 1u);
}

TEST(Analytics, HitsDroppedWhenNotSignedInAndQueueBounded) {
    CanalyticsFixture f;
    f.a.isSignedIn = [] { return false; };
    f.a.sendEvent("a", "b", "c");
    EXPECT_EQ(f.a.queued(), 0u);
    f.a.isSignedIn = [] { return true; };
    for (size_t i = 0; i < Canalytics::kMaxQueued + 10; ++i) f.a.sendEvent("a", std::to_string(i).c_str(), "c");
    EXPECT_EQ(f.a.queued(), Canalytics::kMaxQueued);
    EXPECT_NE(f.a.queuedPayload(0).find("&ea=10&"), std::string::npos);
    // One line, however many are dropped.
    int lines = 0;
    for (const auto& l : gEngine->log.recentLines()) lines += l.text == "Analytics queue full: dropping the oldest hits";
    EXPECT_EQ(lines, 1);
}

TEST(Analytics, FailedExceptionHitDoesNotRecurse) {
    CanalyticsFixture f;
    f.server.stop();
    int hooks = 0;
    gEngine->log.errorHook = [&](const std::string& text) {
        ++hooks;
        f.a.sendException(text);
    };
    gEngine->log.print(LOG_E, "something broke");
    EXPECT_EQ(hooks, 1);
}
