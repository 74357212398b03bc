#include "game/partyMgr.h"

#include <cstdio>

#include "engine/engine.h"
#include "game/gameTypes.h"
#include "game/gameWorld.h"

void CpartyMgr::reset(const std::string& playerName, const std::string& shipName, const CplayerShipDef* ship) {
    for (auto& s : slots_) s = CpartySlot();
    slots_[0].joined = 1;
    slots_[0].name = playerName;
    slots_[0].shipName = shipName;
    slots_[0].ship = ship;
    slots_[0].inputPlayer = 0;
}

int CpartyMgr::join(const std::string& name, const std::string& shipName, int inputPlayer) {
    int idx = numJoined();
    if (idx >= kNumSlots) return -1;
    CpartySlot& s = slots_[idx];
    s = CpartySlot();
    s.joined = 1;
    s.name = name;
    s.shipName = shipName;
    s.inputPlayer = inputPlayer;
    return idx;
}

int CpartyMgr::numJoined() const {
    int n = 0;
    for (const auto& s : slots_) n += s.joined ? 1 : 0;
    return n;
}

int CpartyMgr::getNumActivePlayers() const {
    if (!world_.session.partyMode) return 1;
    switch (world_.mode()) {
        case 24: case 28: case 34: case 44: case 45: {
            int n = numJoined();
            return n > 0 ? n : 1;
        }
        default: return 1;
    }
}

int CpartyMgr::getNumActiveTeams() const {
    if (!world_.session.partyMode) return 1;
    switch (world_.session.party.teamMode) {
        case TEAMMODE_COOP: return 1;
        case TEAMMODE_HEAD_TO_HEAD: return getNumActivePlayers();
        case TEAMMODE_TEAM_TEAM: return 2;
        default: gEngine->logFatal("CpartyMgr::getNumActiveTeams - what?"); return 1;
    }
}

int CpartyMgr::playerIdxToTeamIdx(int player) const {
    if (player < 0 || player >= kNumSlots) {
        gEngine->logFatal("CpowerUps::getPowerUp PlayerIdx out of range!");
        return 0;
    }
    if (!world_.session.partyMode) return 0;
    if (player >= getNumActivePlayers()) {
        gEngine->logFatal("CpartyMgr::playerIdxToTeamIdx - player %d is not in the game", player);
        return 0;
    }
    switch (world_.session.party.teamMode) {
        case TEAMMODE_COOP: return 0;
        case TEAMMODE_HEAD_TO_HEAD: return player;
        case TEAMMODE_TEAM_TEAM: return player / 2;
        default: gEngine->logFatal("CpartyMgr::playerIdxToTeamIdx - what?"); return 0;
    }
}

int CpartyMgr::getTeamNameIdx(int team) const {
    if (team < 0 || team >= kNumSlots) return 0;
    return team;
}

std::string CpartyMgr::getTeamName(int team) const {
    int idx = getTeamNameIdx(team);
    if (world_.session.partyMode && world_.session.party.teamMode == TEAMMODE_HEAD_TO_HEAD)
        return slots_[idx].name;
    char tag[32];
    snprintf(tag, sizeof tag, "PartyTeam%d", idx + 1);
    return gEngine ? gEngine->text(tag) : tag;
}

bool CpartyMgr::coopAllowed(int gameType) { return gameType != GAMETYPE_PARTY_FOOTBALL; }
bool CpartyMgr::tagAllowed(int gameType, int teamMode) {
    return gameType != GAMETYPE_PARTY_FOOTBALL && teamMode == TEAMMODE_COOP;
}
bool CpartyMgr::carnageAllowed(int teamMode) { return teamMode != TEAMMODE_COOP; }
bool CpartyMgr::noMultiplierAllowed(int gameType) { return gameType != GAMETYPE_PARTY_FOOTBALL; }

bool CpartyMgr::isValidChoice(int gameType, const CpartySettings& s) {
    if (s.teamMode < TEAMMODE_COOP || s.teamMode > TEAMMODE_TEAM_TEAM) return false;
    if (s.teamMode == TEAMMODE_COOP && !coopAllowed(gameType)) return false;
    if (s.tagRules && !tagAllowed(gameType, s.teamMode)) return false;
    if (s.carnageRules && !carnageAllowed(s.teamMode)) return false;
    if (s.noMultiplier && !noMultiplierAllowed(gameType)) return false;
    return true;
}

bool CpartyMgr::mendChoice(int gameType, int players, CpartySettings& s) {
    CpartySettings before = s;
    bool football = gameType == GAMETYPE_PARTY_FOOTBALL;
    if (s.teamMode < TEAMMODE_COOP || s.teamMode > TEAMMODE_TEAM_TEAM) s.teamMode = TEAMMODE_COOP;
    if (football && s.teamMode == TEAMMODE_COOP) s.teamMode = TEAMMODE_HEAD_TO_HEAD;
    // Two goals make two teams: three players play 2 against 1.
    if (football && players >= 3) s.teamMode = TEAMMODE_TEAM_TEAM;
    if (s.tagRules && (football || s.teamMode != TEAMMODE_COOP)) s.tagRules = false;
    if (s.carnageRules && s.teamMode == TEAMMODE_COOP) s.carnageRules = false;
    if (s.noMultiplier && football) s.noMultiplier = false;
    return before.teamMode != s.teamMode || before.tagRules != s.tagRules || before.carnageRules != s.carnageRules ||
           before.noMultiplier != s.noMultiplier;
}
