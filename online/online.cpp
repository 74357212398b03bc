#include "online/online.h"

#include "engine/engine.h"

Conline* gOnline = nullptr;

Conline::Conline() {
    gOnline = this;
    // A timed challenge that is being played keeps track boards on their
    // plain names.
    leaderboards.plainNamesWanted = [this] {
        for (const CchallengeMgr* c : {&dailyChallenge, &lightningChallenge})
            if (c->active && c->state == CHALL_READY && c->challenge.plainBoardNames) return true;
        return false;
    };
    inbox.today = [this] { return soap.dayNumber(); };
}

Conline::~Conline() {
    // The clients below join their tasks as they go; cut their calls first.
    soap.abortCalls();
    disconnectEngineHooks();
    if (gOnline == this) gOnline = nullptr;
}

bool Conline::init() {
    connectEngineHooks();
    return soap.loadConfig();
}

void Conline::connectEngineHooks() {
    if (!gEngine) return;
    hooked_ = true;
    CplatformSteam& steam = gEngine->steam.platform;
    steam.webPlayerId = [this] { return (int64_t)soap.playerId(); };
    steam.addFriend = [this](int type, int64_t id, const std::string& name) {
        friends.addOrUpdate(type, (uint64_t)id, name);
    };
    steam.friendCount = [this] { return (int)friends.size(); };
    gEngine->analytics.isSignedIn = [this] { return soap.signedIn() != 0; };
    gEngine->analytics.playerId = [this] { return (int64_t)soap.playerId(); };
    leaderboards.addSteamBoard = [](const std::string& name, const std::string& second, int sort, int display,
                                    int upload) {
        gEngine->steam.leaderboards.addBoard(name.c_str(), second.c_str(), sort, display, upload);
    };
}

void Conline::disconnectEngineHooks() {
    if (!hooked_ || !gEngine) return;
    hooked_ = false;
    CplatformSteam& steam = gEngine->steam.platform;
    steam.webPlayerId = nullptr;
    steam.addFriend = nullptr;
    steam.friendCount = nullptr;
    gEngine->analytics.isSignedIn = nullptr;
    gEngine->analytics.playerId = nullptr;
}

void Conline::update() {
    soap.update();
    challengeList.playerId = soap.playerId();
    leaderboards.update();
    messages.update();
    dailyChallenge.update();
    lightningChallenge.update();
    counters.update();
}
