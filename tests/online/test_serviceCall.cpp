// Asking the service beside the frame loop: pending, done or failed with a
// reason, calls dropped by their askers, the time limits, and quitting while
// the service stalls.
#include <atomic>

#include "online/serviceCall.h"
#include "onlineFixture.h"

namespace {
// A settings set whose whole-call limits are far longer than the waits the
// tests allow: an ending within those waits came from the limit under test.
CwebServiceConfig slowLimits(CwebServiceConfig c) {
    c.startTimeout = c.connectTimeout = c.ioTimeout = c.stallTimeout = (int)(kEventWaitSeconds * 10);
    return c;
}

EcallState waitLookUp(Conline& online) {
    EcallState st = online.soap.pollFindPlayer();
    pumpUntil(online, [&] { return (st = online.soap.pollFindPlayer()) != CALL_PENDING; });
    return st;
}
}  // namespace

TEST(ServiceCall, ADroppedCallsLateReplyIsThrownAwayAndItsLimitIsOnTheTestClock) {
    CtestEngine eng;
    uint64_t now = 1000;
    CserviceCall::clock = [&now] { return now; };
    std::atomic<bool> release{false};
    auto slowAnswer = [&release](int code) {
        return [&release, code] {
            while (!release) SDL_Delay(1);
            return Ck4wCallResult{code, "late"};
        };
    };
    CserviceCall call("Test");

    // Past its limit a call counts as timed out, and nobody waits for it.
    ASSERT_TRUE(call.ask(slowAnswer(K4W_OK), 500));
    EXPECT_EQ(call.poll(), CALL_PENDING);
    now += 499;
    EXPECT_EQ(call.poll(), CALL_PENDING);
    now += 1;
    EXPECT_EQ(call.poll(), CALL_FAILED);
    EXPECT_EQ(call.failure(), CALL_TIMED_OUT);
    EXPECT_EQ(call.leftBehind(), 1u);

    // A new question while the old thread still runs; the old reply, when it
    // comes, is not this call's answer.
    ASSERT_TRUE(call.ask([] { return Ck4wCallResult{K4W_NOT_FOUND, "no"}; }, 0));
    release = true;
    waitUntil([&] { return call.poll() != CALL_PENDING; });
    EXPECT_EQ(call.failure(), CALL_REFUSED);
    EXPECT_EQ(call.result().text, "no");
    EXPECT_TRUE(waitUntil([&] { return !call.leftBehind(); }));

    // Dropped while pending: idle at once, the answer never shows.
    release = false;
    ASSERT_TRUE(call.ask(slowAnswer(K4W_OK), 0));
    call.drop();
    EXPECT_EQ(call.state(), CALL_IDLE);
    release = true;
    waitUntil([&] { return !call.leftBehind(); });
    EXPECT_EQ(call.poll(), CALL_IDLE);
    CserviceCall::clock = nullptr;
}

// Each way a service can misbehave ends the look-up with its own reason.
TEST_F(OnlineTest, EachFaultOfTheServiceHasItsReason) {
    signIn();
    struct Ccase {
        ClocalWebService::Efault fault;
        EcallFailure expected;
    };
    for (Ccase c : {Ccase{ClocalWebService::FAULT_STALL, CALL_TIMED_OUT}, Ccase{ClocalWebService::FAULT_GARBAGE, CALL_BAD_REPLY},
                    Ccase{ClocalWebService::FAULT_HANG_UP, CALL_UNREACHABLE}}) {
        service.setFault(c.fault, {"FindPlayer"});
        ASSERT_TRUE(online->soap.startFindPlayer(12345));
        EXPECT_EQ(waitLookUp(*online), CALL_FAILED) << c.fault;
        EXPECT_EQ(online->soap.findCall.failure(), c.expected) << c.fault;
        online->soap.findCall.drop();
    }
    EXPECT_GE(service.faultsServed(), 3);
}

// A service that sends a byte now and then is cut off at the first long gap,
// not when the whole call's limit runs out.
TEST_F(OnlineTest, ATrickleIsCutOffBetweenBytes) {
    signIn();
    CwebServiceConfig c = slowLimits(service.config());
    c.stallTimeout = 1;
    online->soap.setConfig(c);
    ASSERT_TRUE(online->soap.setGameTitle("Zorbex"));
    service.trickleMs = 2500;
    service.setFault(ClocalWebService::FAULT_TRICKLE);
    ASSERT_TRUE(online->soap.startClient("Zorbex"));
    pumpUntil(*online, [&] { return online->soap.startCall.poll() != CALL_PENDING; });
    EXPECT_EQ(online->soap.startCall.poll(), CALL_FAILED);
    EXPECT_EQ(online->soap.startCall.failure(), CALL_TIMED_OUT);
    service.setFault(ClocalWebService::FAULT_NONE);
}

// Quitting cuts off a call that stalls: nothing waits for the service.
TEST_F(OnlineTest, QuittingCutsOffAStalledCall) {
    signIn();
    online->soap.setConfig(slowLimits(service.config()));
    ASSERT_TRUE(online->soap.setGameTitle("Zorbex"));
    service.setFault(ClocalWebService::FAULT_STALL, {"FindPlayer"});
    ASSERT_TRUE(online->soap.startFindPlayer(4242));
    waitUntil([&] { return service.faultsServed() != 0; });
    ASSERT_EQ(service.faultsServed(), 1);
    EXPECT_EQ(online->soap.pollFindPlayer(), CALL_PENDING);

    online->soap.abortCalls();
    EXPECT_EQ(waitLookUp(*online), CALL_FAILED);
    EXPECT_EQ(online->soap.findCall.result().code, K4W_ABORTED);
    // Nothing new goes out once quitting has begun.
    ASSERT_TRUE(online->soap.startFindPlayer(4243));
    EXPECT_EQ(waitLookUp(*online), CALL_FAILED);
    EXPECT_EQ(service.faultsServed(), 1);
}
