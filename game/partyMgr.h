#pragma once
// CpartyMgr: the four local-player slots of a party game and the mapping of
// players to teams under the party team mode.
#include <array>
#include <cstdint>
#include <string>

class CgameWorld;
class CplayerShipDef;

enum EpartyTeamMode { TEAMMODE_COOP = 0, TEAMMODE_HEAD_TO_HEAD = 1, TEAMMODE_TEAM_TEAM = 2 };

struct CpartySlot {
    uint8_t joined = 0;
    std::string name;
    std::string shipName;                    // the ship definition the slot flies
    const CplayerShipDef* ship = nullptr;    // the hangar's record of it, when known
    int inputPlayer = -1;                    // the engine input player, -1 none
    int score = 0;
};

// The party settings of the session: team mode and the three rules.
struct CpartySettings {
    int teamMode = TEAMMODE_COOP;
    bool tagRules = false;
    bool carnageRules = false;
    bool noMultiplier = false;
};

class CpartyMgr {
public:
    static constexpr int kNumSlots = 4;

    explicit CpartyMgr(CgameWorld& world) : world_(world) {}

    // Empties the slots; slot 1 takes the player's name and current ship.
    void reset(const std::string& playerName, const std::string& shipName, const CplayerShipDef* ship = nullptr);
    // Empties all four slots (the party is over).
    void clear() { slots_ = {}; }
    // The next free slot joins; -1 when all four are taken.
    int join(const std::string& name, const std::string& shipName, int inputPlayer);

    CpartySlot& slot(int i) { return slots_[i < 0 || i >= kNumSlots ? 0 : i]; }
    const CpartySlot& slot(int i) const { return slots_[i < 0 || i >= kNumSlots ? 0 : i]; }
    int numJoined() const;

    // Joined slots while the party flag is set in states 24, 28, 34, 44 and 45, else 1.
    int getNumActivePlayers() const;
    // Coop 1, HeadToHead one per player, TeamTeam 2; 1 outside party mode.
    // Another team mode is fatal ("CpartyMgr::getNumActiveTeams - what?").
    int getNumActiveTeams() const;
    // Coop 0, HeadToHead the player, TeamTeam player / 2; 0 outside party
    // mode. Fatal for another team mode ("CpartyMgr::playerIdxToTeamIdx -
    // what?") or a player outside the joined players.
    int playerIdxToTeamIdx(int player) const;
    // The index of the team's name: in HeadToHead the slot whose name the
    // team takes, else the team itself (0 Coop; 0 and 1 in TeamTeam).
    int getTeamNameIdx(int team) const;
    // The team's display name: the slot's name in HeadToHead, else the
    // translated "PartyTeam%d".
    std::string getTeamName(int team) const;

    // The checks of the party game type choice: PartyFootball never in Coop,
    // Tag only in Coop and not in PartyFootball, Carnage never in Coop, no
    // no-multiplier rule in PartyFootball.
    static bool isValidChoice(int gameType, const CpartySettings& s);
    // The same checks one by one, for a screen that marks what is refused.
    static bool coopAllowed(int gameType);
    static bool tagAllowed(int gameType, int teamMode);
    static bool carnageAllowed(int teamMode);
    static bool noMultiplierAllowed(int gameType);
    // Mends a choice that breaks those checks (the rule switched off; a
    // PartyFootball Coop game becomes HeadToHead), and makes a PartyFootball game of three
    // or four players TeamTeam. True when something changed.
    static bool mendChoice(int gameType, int players, CpartySettings& s);

private:
    CgameWorld& world_;
    std::array<CpartySlot, kNumSlots> slots_{};
};
