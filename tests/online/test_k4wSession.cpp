// The k4w session: start-up, accounts, tokens, find player, the off switch
// and services that are down, slow or talk nonsense.
#include "onlineFixture.h"

TEST(WebServiceConfig, ParsesTheDataFileAndRefusesNonsense) {
    CtestEngine eng;
    CwebServiceConfig t;
    ASSERT_TRUE(t.parse("WebService Host \"10.0.0.5\" Port 8080 Path k4w IoTimeout 0 Retries 99 EndWebService EndFile"));
    EXPECT_EQ(t.host + ":" + std::to_string(t.port) + t.path, "10.0.0.5:8080/k4w");
    EXPECT_EQ(t.ioTimeout, 1);   // never "no limit"
    EXPECT_EQ(t.retries, 5);

    // Unknown words, negative, too large and non-numeric values refuse the file; nothing wraps.
    for (const char* text : {"WebService Port 70000 EndWebService EndFile", "WebService Colour 3 EndWebService",
                             "WebService MaxReply -1 EndWebService", "WebService MaxReply 99999999999 EndWebService",
                             "WebService Retries -3 EndWebService", "WebService IoTimeout 1x EndWebService",
                             "WebService Port 99999999999999999999 EndWebService"}) {
        CwebServiceConfig r;
        EXPECT_FALSE(r.parse(text)) << text;
        EXPECT_EQ(r.port, 443) << text;
        EXPECT_EQ(r.maxReply, 4u * 1024u * 1024u) << text;
        EXPECT_EQ(r.retries, 1) << text;
    }
    CwebServiceConfig small;
    ASSERT_TRUE(small.parse("WebService MaxReply 0x10 EndWebService"));
    EXPECT_EQ(small.maxReply, 4096u);   // the floor still holds
}

TEST_F(OnlineTest, StartsAndSignsInThenGetsAToken) {
    uint64_t id = service.addAccount("Pilot", "pilot@example.com", "hunter2");
    ASSERT_TRUE(online->soap.setGameTitle("Zorbex"));

    ASSERT_TRUE(online->soap.startSignIn("pilot@example.com", "hunter2"));
    ASSERT_TRUE(waitTask(online->soap.signInTask));
    EXPECT_TRUE(online->soap.signInTask.success());
    EXPECT_EQ(online->soap.playerId(), id);
    EXPECT_EQ(online->soap.signedIn(), 0);   // signed in once a token is held
    online->soap.signInTask.reset();

    ASSERT_TRUE(newToken(1700086400));
    EXPECT_EQ(online->soap.signedIn(), 1);
    EXPECT_EQ(online->soap.dayNumber(), 1700086400 / 86400);
}

TEST_F(OnlineTest, AccountsAreMadeOrRefusedAndPasswordsAreNeverLogged) {
    service.addAccount("Pilot", "pilot@example.com", "hunter2");
    ASSERT_TRUE(online->soap.setGameTitle("Zorbex"));
    ASSERT_TRUE(online->soap.startSignIn("pilot@example.com", "s3cretWrong"));
    ASSERT_TRUE(waitTask(online->soap.signInTask));
    EXPECT_FALSE(online->soap.signInTask.success());
    EXPECT_EQ(online->soap.getLastErrorCode("Sign in failed", false), K4W_BAD_LOGIN);

    // A new account's name is cut to what the service keeps.
    ASSERT_TRUE(online->soap.startCreateAccount(std::string(40, 'N'), "new@example.com", "pa55wordXYZ"));
    ASSERT_TRUE(waitTask(online->soap.createAccountTask));
    EXPECT_TRUE(online->soap.createAccountTask.success());
    EXPECT_EQ(online->soap.nickname(), std::string(29, 'N'));
    EXPECT_EQ(service.nicknameOf(online->soap.playerId()), std::string(29, 'N'));
    online->soap.createAccountTask.reset();

    // The same e-mail again is refused by the service.
    ASSERT_TRUE(online->soap.startCreateAccount("Other", "new@example.com", "pw"));
    ASSERT_TRUE(waitTask(online->soap.createAccountTask));
    EXPECT_FALSE(online->soap.createAccountTask.success());
    EXPECT_EQ(online->soap.getLastErrorCode("Failed to create account", false), K4W_ACCOUNT_EXISTS);

    for (const auto& line : gEngine->log.recentLines())
        for (const char* pw : {"s3cretWrong", "hunter2", "pa55wordXYZ"}) EXPECT_EQ(line.line.find(pw), std::string::npos) << line.line;
    for (const auto& line : online->soap.debugLog()) EXPECT_EQ(line.find("pa55wordXYZ"), std::string::npos);
}

TEST_F(OnlineTest, ThreeFailedTokensSwitchTheServiceOff) {
    service.addAccount("Pilot", "pilot@example.com", "hunter2");
    ASSERT_TRUE(online->soap.setGameTitle("Zorbex"));
    online->soap.setLogin("pilot@example.com", "wrong", "");
    for (int i = 1; i <= 3; ++i) {
        EXPECT_FALSE(gEngine->webServiceOff) << "before failure " << i;
        ASSERT_TRUE(online->soap.retrieveAuthToken());
        ASSERT_TRUE(waitTask(online->soap.tokenTask));
        online->soap.tokenTask.reset();
        online->soap.commitUnixTime();
        EXPECT_EQ(online->soap.tokenFailures(), i);
    }
    EXPECT_TRUE(gEngine->webServiceOff);
    EXPECT_EQ(online->soap.signedIn(), 0);

    // Off means no request at all.
    int before = service.requestCount();
    EXPECT_FALSE(online->soap.retrieveAuthToken());
    EXPECT_FALSE(online->leaderboards.requestBoardDownload(0, true));
    EXPECT_FALSE(online->gameConfig.startGetGameConfig());
    online->update();
    SDL_Delay(50);   // a request wrongly sent would have arrived
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
        EcallState st = CALL_PENDING;
        EXPECT_TRUE(pumpUntil(*online, [&] { return (st = online->soap.pollFindPlayer()) != CALL_PENDING; }));
        online->soap.findCall.drop();
        return st;
    };
    ASSERT_EQ(lookUp(other), CALL_DONE);
    EXPECT_EQ(online->soap.foundPlayer().name, "Rival");
    EXPECT_EQ(online->soap.foundPlayer().record[0], 42);
    EXPECT_EQ(online->soap.foundPlayer().record[308], 7);

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

// A port nobody listens on, a service that never answers, one that talks
// nonsense or hangs up, a host that can't be resolved: the start-up check
// fails and switches the service off.
TEST(OnlineDown, AServiceThatIsDownOrBrokenSwitchesItOff) {
    CtestEngine eng;
    CfaultyService closed(CfaultyService::HANG_UP);
    ASSERT_TRUE(closed.start());
    CwebServiceConfig closedPort = closed.config(2);
    closed.stop();
    CwebServiceConfig unresolved;
    unresolved.host = "no-such-host.invalid";
    std::vector<std::pair<CwebServiceConfig, CfaultyService*>> cases = {{closedPort, nullptr}, {unresolved, nullptr}};
    CfaultyService silent(CfaultyService::SILENT), garbage(CfaultyService::GARBAGE), hangUp(CfaultyService::HANG_UP);
    for (CfaultyService* s : {&silent, &garbage, &hangUp}) {
        ASSERT_TRUE(s->start());
        cases.push_back({s->config(1), s});
    }
    for (auto& [config, faulty] : cases) {
        gEngine->webServiceOff = false;
        Conline online;
        online.soap.setConfig(config);
        EXPECT_FALSE(online.soap.setGameTitle("Zorbex")) << config.host << ":" << config.port;
        EXPECT_TRUE(gEngine->webServiceOff);
        int code = online.soap.lastErrorCode();
        EXPECT_TRUE(code == K4W_BAD_REPLY || code == K4W_NO_CONNECTION || code == K4W_TIMEOUT) << code;
        if (faulty) EXPECT_GE(faulty->connections(), 1);
        EXPECT_FALSE(online.soap.startSignIn("a", "b"));
        online.update();   // nothing to do, nothing blocks
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
    EXPECT_FALSE(online.soap.startFindPlayer(5));
    EXPECT_FALSE(online.messages.retrieveMessages(false));
    online.dailyChallenge.start(24, "24HourChall");
    EXPECT_EQ(online.dailyChallenge.state, CHALL_NONE);
    for (int i = 0; i < 5; ++i) online.update();
    SDL_Delay(50);
    EXPECT_EQ(service.requestCount(), 0);
}

