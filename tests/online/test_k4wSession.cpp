// The k4w session: start-up, accounts, tokens, find player, the off switch
// and services that are down, slow or talk nonsense.
#include <chrono>

#include "online/k4wTransport.h"
#include "onlineFixture.h"

using Clock = std::chrono::steady_clock;

static double secondsSince(Clock::time_point t0) {
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

TEST(WebServiceConfig, ParsesTheDataFileAndRefusesNonsense) {
    CtestEngine eng;
    CwebServiceConfig c;
    ASSERT_TRUE(c.load());   // the shipped data file
    EXPECT_FALSE(c.host.empty());
    EXPECT_GT(c.port, 0);

    CwebServiceConfig t;
    ASSERT_TRUE(t.parse("WebService Host \"10.0.0.5\" Port 8080 Path k4w IoTimeout 0 Retries 99 EndWebService EndFile"));
    EXPECT_EQ(t.host, "10.0.0.5");
    EXPECT_EQ(t.port, 8080);
    EXPECT_EQ(t.path, "/k4w");
    EXPECT_EQ(t.ioTimeout, 1);   // never "no limit"
    EXPECT_EQ(t.retries, 5);

    CwebServiceConfig bad;
    EXPECT_FALSE(bad.parse("WebService Port 70000 EndWebService EndFile"));
    EXPECT_EQ(bad.port, 443);   // unchanged
    EXPECT_FALSE(bad.parse("WebService Colour 3 EndWebService"));

    // Negative, too large and non-numeric values refuse the file; nothing wraps.
    for (const char* text : {"WebService MaxReply -1 EndWebService", "WebService MaxReply 99999999999 EndWebService",
                             "WebService Retries -3 EndWebService", "WebService IoTimeout 1x EndWebService",
                             "WebService Port 99999999999999999999 EndWebService"}) {
        CwebServiceConfig r;
        EXPECT_FALSE(r.parse(text)) << text;
        EXPECT_EQ(r.maxReply, 4u * 1024u * 1024u) << text;
        EXPECT_EQ(r.retries, 1) << text;
    }
    EXPECT_TRUE(gEngine->log.contains("webService: MaxReply value '-1' is not a whole number in 0..1073741824"));
    CwebServiceConfig small;
    ASSERT_TRUE(small.parse("WebService MaxReply 0x10 EndWebService"));
    EXPECT_EQ(small.maxReply, 4096u);   // the floor still holds
}

TEST_F(OnlineTest, StartsAndSignsInThenGetsAToken) {
    uint64_t id = service.addAccount("Pilot", "pilot@example.com", "hunter2");
    service.setUnixTime(1700000000);
    ASSERT_TRUE(online->soap.setGameTitle("Zorbex"));
    EXPECT_TRUE(online->soap.isStarted());
    EXPECT_GE(online->soap.unixTime(), 1700000000);

    ASSERT_TRUE(online->soap.startSignIn("pilot@example.com", "hunter2"));
    EXPECT_TRUE(online->soap.signInTask.started());
    ASSERT_TRUE(waitTask(online->soap.signInTask));
    EXPECT_TRUE(online->soap.signInTask.success());
    EXPECT_EQ(online->soap.playerId(), id);
    EXPECT_EQ(online->soap.nickname(), "Pilot");
    EXPECT_EQ(online->soap.guid(), "guid-" + std::to_string(id));
    EXPECT_EQ(online->soap.loginName(), "pilot@example.com");
    EXPECT_EQ(online->soap.signedIn(), 0);   // signed in once a token is held
    online->soap.signInTask.reset();

    service.setUnixTime(1700086400);
    ASSERT_TRUE(online->soap.retrieveAuthToken());
    ASSERT_TRUE(waitTask(online->soap.tokenTask));
    EXPECT_TRUE(online->soap.tokenTask.success());
    online->soap.tokenTask.reset();
    online->soap.commitUnixTime();
    EXPECT_EQ(online->soap.signedIn(), 1);
    EXPECT_GE(online->soap.unixTime(), 1700086400);
    EXPECT_LT(online->soap.unixTime(), 1700086400 + 60);
    EXPECT_EQ(online->soap.dayNumber(), 1700086400 / 86400);
    EXPECT_EQ(gEngine->serverUnixTime, online->soap.unixTime());
}

TEST_F(OnlineTest, WrongPasswordFailsAndIsNeverLogged) {
    service.addAccount("Pilot", "pilot@example.com", "hunter2");
    ASSERT_TRUE(online->soap.setGameTitle("Zorbex"));
    ASSERT_TRUE(online->soap.startSignIn("pilot@example.com", "s3cretWrong"));
    ASSERT_TRUE(waitTask(online->soap.signInTask));
    EXPECT_FALSE(online->soap.signInTask.success());
    EXPECT_EQ(online->soap.lastErrorCode(), K4W_BAD_LOGIN);
    EXPECT_EQ(online->soap.getLastErrorCode("Sign in failed", false), K4W_BAD_LOGIN);
    EXPECT_TRUE(gEngine->log.containsPart("Sign in failed"));

    // The account made here carries a password too.
    ASSERT_TRUE(online->soap.startCreateAccount("Newbie", "new@example.com", "pa55wordXYZ"));
    ASSERT_TRUE(waitTask(online->soap.createAccountTask));
    for (const auto& line : gEngine->log.recentLines()) {
        EXPECT_EQ(line.line.find("s3cretWrong"), std::string::npos) << line.line;
        EXPECT_EQ(line.line.find("hunter2"), std::string::npos) << line.line;
        EXPECT_EQ(line.line.find("pa55wordXYZ"), std::string::npos) << line.line;
    }
    for (const auto& line : online->soap.debugLog()) EXPECT_EQ(line.find("pa55wordXYZ"), std::string::npos);
}

TEST_F(OnlineTest, CreatesAnAccountAndARefusedOneReportsItsError) {
    ASSERT_TRUE(online->soap.setGameTitle("Zorbex"));
    std::string longName(40, 'N');
    ASSERT_TRUE(online->soap.startCreateAccount(longName, "new@example.com", "pw"));
    ASSERT_TRUE(waitTask(online->soap.createAccountTask));
    EXPECT_TRUE(online->soap.createAccountTask.success());
    EXPECT_TRUE(service.accountExists("new@example.com"));
    EXPECT_NE(online->soap.playerId(), 0u);
    EXPECT_EQ(online->soap.nickname(), std::string(29, 'N'));
    EXPECT_EQ(service.nicknameOf(online->soap.playerId()), std::string(29, 'N'));
    EXPECT_EQ(online->soap.loginName(), "new@example.com");
    EXPECT_EQ(online->soap.loginPassword(), "pw");
    online->soap.createAccountTask.reset();

    // The same e-mail again is refused by the service.
    ASSERT_TRUE(online->soap.startCreateAccount("Other", "new@example.com", "pw"));
    ASSERT_TRUE(waitTask(online->soap.createAccountTask));
    EXPECT_FALSE(online->soap.createAccountTask.success());
    EXPECT_EQ(online->soap.getLastErrorCode("Failed to create account", false), K4W_ACCOUNT_EXISTS);
    EXPECT_TRUE(gEngine->log.containsPart("Failed to create account : 2"));
}

TEST_F(OnlineTest, ARefusedAccountIsFatalWhenAskedSo) {
    ASSERT_TRUE(online->soap.setGameTitle("Zorbex"));
    service.refuseNewAccounts = true;
    ASSERT_TRUE(online->soap.startCreateAccount("Newbie", "a@example.com", "pw"));
    ASSERT_TRUE(waitTask(online->soap.createAccountTask));
    ASSERT_FALSE(online->soap.createAccountTask.success());
    EXPECT_EXIT(online->soap.getLastErrorCode("Failed to create account", true), ::testing::ExitedWithCode(1), "");
}

TEST_F(OnlineTest, ThreeFailedTokensSwitchTheServiceOff) {
    service.addAccount("Pilot", "pilot@example.com", "hunter2");
    ASSERT_TRUE(online->soap.setGameTitle("Zorbex"));
    online->soap.setLogin("pilot@example.com", "wrong", "");
    for (int i = 1; i <= 3; ++i) {
        EXPECT_FALSE(gEngine->webServiceOff) << "before failure " << i;
        ASSERT_TRUE(online->soap.retrieveAuthToken());
        ASSERT_TRUE(waitTask(online->soap.tokenTask));
        EXPECT_FALSE(online->soap.tokenTask.success());
        online->soap.tokenTask.reset();
        online->soap.commitUnixTime();
        EXPECT_EQ(online->soap.tokenFailures(), i);
    }
    EXPECT_TRUE(gEngine->webServiceOff);
    EXPECT_EQ(online->soap.signedIn(), 0);

    // Off means no request at all.
    int before = service.requestCount();
    EXPECT_FALSE(online->soap.retrieveAuthToken());
    EXPECT_FALSE(online->soap.startSignIn("pilot@example.com", "hunter2"));
    EXPECT_FALSE(online->leaderboards.requestBoardDownload(0, true));
    EXPECT_FALSE(online->leaderboards.isBusy());
    EXPECT_FALSE(online->counters.request("x"));
    EXPECT_FALSE(online->gameConfig.startGetGameConfig());
    online->update();
    SDL_Delay(50);
    EXPECT_EQ(service.requestCount(), before);
}

TEST_F(OnlineTest, ATokenRefusedMidRunIsFetchedAgain) {
    signIn();
    service.expireTokens();
    online->counters.add("Ship_TimPlayed", 5);
    ASSERT_TRUE(pumpUntil(*online, [&] { return !online->counters.isBusy(); }));
    EXPECT_EQ(service.counter("Ship_TimPlayed"), 5);
}

TEST_F(OnlineTest, FindPlayerFoundAndNotFound) {
    uint64_t me = signIn();
    uint64_t other = service.addAccount("Rival", "rival@example.com", "x");
    Cbytes stats(k4wSOAP::kStatsRecordSize, 0);
    stats[0] = 42;
    stats[308] = 7;
    service.linkSteamId(other, 5551);
    service.setStats(5551, stats);

    auto lookUp = [&](uint64_t id) {
        EXPECT_TRUE(online->soap.startFindPlayer(id));
        EXPECT_TRUE(online->soap.findCall.pending());
        EcallState st = CALL_PENDING;
        EXPECT_TRUE(pumpUntil(*online, [&] { return (st = online->soap.pollFindPlayer()) != CALL_PENDING; }));
        online->soap.findCall.drop();
        return st;
    };
    ASSERT_EQ(lookUp(other), CALL_DONE);
    EXPECT_TRUE(online->soap.foundPlayer().found);
    EXPECT_EQ(online->soap.foundPlayer().name, "Rival");
    EXPECT_EQ(online->soap.foundPlayer().record[0], 42);
    EXPECT_EQ(online->soap.foundPlayer().record[308], 7);
    EXPECT_FALSE(online->soap.findCall.pending());

    // Nobody by that id: an answer, not a failure.
    ASSERT_EQ(lookUp(987654321), CALL_DONE);
    EXPECT_FALSE(online->soap.foundPlayer().found);

    // A statistics record of the wrong size is not taken apart.
    service.linkSteamId(me, 5552);
    service.setStats(5552, Cbytes(100, 1));
    ASSERT_EQ(lookUp(me), CALL_FAILED);
    EXPECT_EQ(online->soap.lastErrorCode(), K4W_BAD_REPLY);
    EXPECT_FALSE(online->soap.foundPlayer().found);
}

TEST_F(OnlineTest, PlayerNameIsCutAndSentOnce) {
    uint64_t id = signIn();
    online->soap.setPlayerName("A very long Steam persona name indeed");
    EXPECT_EQ(online->soap.nickname(), "A very long Steam persona nam");
    ASSERT_TRUE(pumpUntil(*online, [&] { return service.nicknameOf(id) == "A very long Steam persona nam"; }));
}

TEST(OnlineDown, UnreachableHostFailsFastAndSwitchesOff) {
    CtestEngine eng;
    Conline online;
    // A port nobody listens on: the connection is refused at once.
    CfaultyService probe(CfaultyService::HANG_UP);
    ASSERT_TRUE(probe.start());
    CwebServiceConfig c = probe.config(2);
    probe.stop();
    online.soap.setConfig(c);
    auto t0 = Clock::now();
    EXPECT_FALSE(online.soap.setGameTitle("Zorbex"));
    EXPECT_LT(secondsSince(t0), 5.0);   // a refused connection is not waited on
    EXPECT_TRUE(gEngine->webServiceOff);
    EXPECT_FALSE(online.soap.isStarted());
    EXPECT_FALSE(online.soap.startSignIn("a", "b"));
    online.update();   // nothing to do, nothing blocks

    // A host name that can't be resolved is no better.
    gEngine->webServiceOff = false;
    CwebServiceConfig bad;
    bad.host = "no-such-host.invalid";
    online.soap.setConfig(bad);
    EXPECT_FALSE(online.soap.setGameTitle("Zorbex"));
    EXPECT_TRUE(gEngine->webServiceOff);
}

TEST(OnlineDown, ServiceThatNeverAnswersTimesOutInATask) {
    CtestEngine eng;
    CfaultyService silent(CfaultyService::SILENT);
    ASSERT_TRUE(silent.start());
    Conline online;
    online.soap.setConfig(silent.config(1));

    // The start-up check gives up within its time-out.
    auto t0 = Clock::now();
    EXPECT_FALSE(online.soap.setGameTitle("Zorbex"));
    EXPECT_LT(secondsSince(t0), 4.0);
    EXPECT_TRUE(gEngine->webServiceOff);

    // A started client whose service then stops answering: the task ends in
    // failure within the time-out and the main thread never waited on it.
    gEngine->webServiceOff = false;
    ClocalWebService real;
    ASSERT_TRUE(real.start());
    online.soap.setConfig(real.config(1));
    ASSERT_TRUE(online.soap.setGameTitle("Zorbex"));
    real.delayMs = 8000;
    t0 = Clock::now();
    ASSERT_TRUE(online.soap.startSignIn("x@example.com", "pw"));
    EXPECT_FALSE(online.soap.signInTask.finished());   // starting did not wait for the answer
    int updates = 0;
    while (!online.soap.signInTask.finished() && secondsSince(t0) < 6.0) {
        online.update();
        ++updates;
        SDL_Delay(5);
    }
    EXPECT_TRUE(online.soap.signInTask.finished());
    EXPECT_FALSE(online.soap.signInTask.success());
    EXPECT_EQ(online.soap.lastErrorCode(), K4W_TIMEOUT);
    EXPECT_LT(secondsSince(t0), 5.0);   // ended by its time-out, not by the slow answer
    EXPECT_GT(updates, 10);
    real.delayMs = 0;
}

TEST(OnlineDown, GarbageAndHangUpsAreFailuresNotCrashes) {
    CtestEngine eng;
    for (auto mode : {CfaultyService::GARBAGE, CfaultyService::HANG_UP}) {
        gEngine->webServiceOff = false;
        CfaultyService bad(mode);
        ASSERT_TRUE(bad.start());
        Conline online;
        online.soap.setConfig(bad.config(1));
        EXPECT_FALSE(online.soap.setGameTitle("Zorbex"));
        int code = online.soap.lastErrorCode();
        EXPECT_TRUE(code == K4W_BAD_REPLY || code == K4W_NO_CONNECTION) << code;
        EXPECT_GE(bad.connections(), 1);
    }
}

TEST(OnlineDown, SteamBoardsSwitchMeansNoRequestAtAll) {
    CtestEngine eng(true, "-SteamBoards");
    ASSERT_TRUE(gEngine->webServiceOff);
    ClocalWebService service;
    ASSERT_TRUE(service.start());
    Conline online;
    online.soap.setConfig(service.config());
    EXPECT_FALSE(online.soap.setGameTitle("Zorbex"));
    EXPECT_FALSE(online.soap.startCreateAccount("a", "b", "c"));
    EXPECT_FALSE(online.soap.startFindPlayer(5));
    EXPECT_FALSE(online.messages.retrieveMessages(false));
    EXPECT_FALSE(online.playerStats.requestStats({1, 2}));
    online.dailyChallenge.start(24, "24HourChall");
    EXPECT_EQ(online.dailyChallenge.state, CHALL_NONE);
    for (int i = 0; i < 5; ++i) online.update();
    SDL_Delay(50);
    EXPECT_EQ(service.requestCount(), 0);
}

TEST(OnlineEndpoints, IPv4AddressesComeBeforeIPv6) {
    auto urls = k4wResolveEndpoints("http", "localhost", 8080, "/k4w");
    ASSERT_FALSE(urls.empty());
    EXPECT_EQ(urls[0], "http://127.0.0.1:8080/k4w");
    auto v6 = k4wResolveEndpoints("http", "::1", 81, "/p");
    ASSERT_EQ(v6.size(), 1u);
    EXPECT_EQ(v6[0], "http://[::1]:81/p");
}

// Over https the host keeps its name: the certificate is checked against it.
TEST(OnlineEndpoints, HttpsKeepsTheHostName) {
    EXPECT_EQ(k4wResolveEndpoints("https", "k4w.example.org", 443, "/k4w"),
              std::vector<std::string>{"https://k4w.example.org:443/k4w"});
    EXPECT_EQ(k4wResolveEndpoints("https", "::1", 8443, "/k4w"), std::vector<std::string>{"https://[::1]:8443/k4w"});
}

TEST(OnlineDown, WithNoServiceReachableEveryCallIsAQuickNoOp) {
    // What a player's machine without the service (and CI) sees at start-up.
    CtestEngine eng;
    Conline online;
    ASSERT_TRUE(online.init());   // the shipped settings
    CwebServiceConfig c = online.soap.config();
    c.host = "k4w.unreachable.invalid";
    online.soap.setConfig(c);
    EXPECT_FALSE(online.soap.setGameTitle("Zorbex"));
    ASSERT_TRUE(gEngine->webServiceOff);

    online.soap.clearLogin();
    EXPECT_FALSE(online.soap.retrieveAuthToken());
    EXPECT_FALSE(online.gameConfig.startGetGameConfig());
    online.dailyChallenge.start(24, "24HourChall");
    online.lightningChallenge.start(4, "4HourChall");
    EXPECT_FALSE(online.leaderboards.requestTrackBoard("key", true));
    EXPECT_FALSE(online.leaderboards.submitBoardScore(0, 5, std::string("Rank 1")));
    CdailyTrackScore d;
    EXPECT_FALSE(online.leaderboards.submitDailyTrackScore(d));
    online.messages.retrieveMessages(true);
    for (int i = 0; i < 100; ++i) online.update();
    EXPECT_FALSE(online.leaderboards.isBusy());
    EXPECT_TRUE(online.messages.done);
    EXPECT_EQ(online.dailyChallenge.state, CHALL_NONE);
    EXPECT_EQ(online.lightningChallenge.state, CHALL_NONE);
    EXPECT_TRUE(gEngine->runningTasks().empty());
    // The boards still show what they hold.
    EXPECT_EQ(online.leaderboards.board(0)->name, "XP4");
}
