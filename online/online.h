#pragma once
// Conline: every client of the k4w web service in one place, reached through
// gOnline. The engine and game own it (created after Cengine, destroyed
// before it); update() runs once per update step on the main thread and is
// where the results of finished tasks are applied.
#include "online/atomicCounters.h"
#include "online/challengeList.h"
#include "online/challengeMgr.h"
#include "online/friendList.h"
#include "online/gameConfig.h"
#include "online/inbox.h"
#include "online/k4wSOAP.h"
#include "online/leaderboardMgr.h"
#include "online/messagePoller.h"
#include "online/playerStatsClient.h"
#include "online/scoreRecord.h"

class Conline {
public:
    Conline();
    ~Conline();
    Conline(const Conline&) = delete;
    Conline& operator=(const Conline&) = delete;

    // Reads the service settings from the data folder and connects the
    // engine's seams to these clients.
    bool init();
    void update();
    // The seams of the engine's Steam and analytics members that read the
    // web-service session and friend list, and the Steam twin of a web board.
    // Disconnected again when this object goes.
    void connectEngineHooks();
    void disconnectEngineHooks();

    k4wSOAP soap;
    CfriendList friends;
    CleaderboardMgr leaderboards{soap, friends};
    Cinbox inbox;
    CmessagePoller messages{soap, inbox};
    CchallengeMgr dailyChallenge{soap, leaderboards};       // 24 hours, "24HourChall"
    CchallengeMgr lightningChallenge{soap, leaderboards};   // 4 hours, "4HourChall"
    CchallengeList challengeList;
    GameAsyncChallenge asyncChallenge;
    CgameConfig gameConfig{soap};
    CatomicCounters counters{soap};
    CplayerStatsClient playerStats{soap};

private:
    bool hooked_ = false;
};

extern Conline* gOnline;
