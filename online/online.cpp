#include "online/online.h"

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
    if (gOnline == this) gOnline = nullptr;
}

bool Conline::init() { return soap.loadConfig(); }

void Conline::update() {
    soap.update();
    challengeList.playerId = soap.playerId();
    leaderboards.update();
    messages.update();
    dailyChallenge.update();
    lightningChallenge.update();
    counters.update();
}
