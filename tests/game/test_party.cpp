#include <gtest/gtest.h>

#include "game/gameWorld.h"
#include "support/testEngine.h"

namespace {
void joinPlayers(CgameWorld& w, int n) {
    w.party.reset("Alice", "StandardShip");
    for (int p = 1; p < n; ++p) w.party.join("P" + std::to_string(p + 1), "StandardShip", p);
}
}  // namespace

TEST(PartyMgr, SlotsActivePlayersAndTeams) {
    CtestEngine eng;
    CgameWorld w;
    w.party.reset("Alice", "StandardShip");
    EXPECT_EQ(w.party.slot(0).name, "Alice");
    EXPECT_TRUE(w.party.slot(0).joined);
    EXPECT_EQ(w.party.join("Bob", "StandardShip", 1), 1);
    EXPECT_EQ(w.party.join("Cy", "StandardShip", 2), 2);
    EXPECT_EQ(w.party.join("Di", "StandardShip", 3), 3);
    EXPECT_EQ(w.party.join("Ed", "StandardShip", 4), -1);   // a fifth finds no slot

    // Without the party flag, or in another state, there is one player.
    w.setGameMode(24);
    EXPECT_EQ(w.party.getNumActivePlayers(), 1);
    w.session.partyMode = true;
    for (int state : {24, 28, 34, 44, 45}) {
        w.setGameMode(state);
        EXPECT_EQ(w.party.getNumActivePlayers(), 4) << state;
    }
    w.setGameMode(3);
    EXPECT_EQ(w.party.getNumActivePlayers(), 1);

    // The players by team in each team mode.
    w.setGameMode(24);
    w.session.party.teamMode = TEAMMODE_COOP;
    for (int p = 0; p < 4; ++p) EXPECT_EQ(w.party.playerIdxToTeamIdx(p), 0);
    w.session.party.teamMode = TEAMMODE_HEAD_TO_HEAD;
    EXPECT_EQ(w.party.getNumActiveTeams(), 4);
    for (int p = 0; p < 4; ++p) EXPECT_EQ(w.party.playerIdxToTeamIdx(p), p);
    EXPECT_EQ(w.party.getTeamName(2), "Cy");
    w.session.party.teamMode = TEAMMODE_TEAM_TEAM;
    EXPECT_EQ(w.party.getNumActiveTeams(), 2);
    EXPECT_EQ(w.party.playerIdxToTeamIdx(1), 0);
    EXPECT_EQ(w.party.playerIdxToTeamIdx(2), 1);
}

TEST(PartyMgrDeath, APlayerWhoNeverJoinedIsFatal) {
    EXPECT_EXIT(
        {
            CtestEngine eng;
            CgameWorld w;
            joinPlayers(w, 2);
            w.setGameMode(24);
            w.session.partyMode = true;
            w.session.party.teamMode = TEAMMODE_HEAD_TO_HEAD;
            w.party.playerIdxToTeamIdx(2);   // only two joined
        },
        testing::ExitedWithCode(1), "");
}

TEST(PartyMgr, RuleChoices) {
    CpartySettings s;
    s.teamMode = TEAMMODE_COOP;
    EXPECT_FALSE(CpartyMgr::isValidChoice(GAMETYPE_PARTY_FOOTBALL, s));
    s.teamMode = TEAMMODE_HEAD_TO_HEAD;
    s.tagRules = true;
    EXPECT_FALSE(CpartyMgr::isValidChoice(GAMETYPE_STANDARD, s));   // Tag only in Coop
    s.teamMode = TEAMMODE_COOP;
    EXPECT_TRUE(CpartyMgr::isValidChoice(GAMETYPE_STANDARD, s));
    s.carnageRules = true;
    EXPECT_FALSE(CpartyMgr::isValidChoice(GAMETYPE_STANDARD, s));   // Carnage never in Coop
    s = CpartySettings();
    s.teamMode = TEAMMODE_HEAD_TO_HEAD;
    s.noMultiplier = true;
    EXPECT_FALSE(CpartyMgr::isValidChoice(GAMETYPE_PARTY_FOOTBALL, s));

    // Four (or three) footballers play two against two.
    CpartySettings f;
    f.teamMode = TEAMMODE_HEAD_TO_HEAD;
    EXPECT_TRUE(CpartyMgr::mendChoice(GAMETYPE_PARTY_FOOTBALL, 4, f));
    EXPECT_EQ(f.teamMode, TEAMMODE_TEAM_TEAM);
    CpartySettings c;
    c.teamMode = TEAMMODE_COOP;
    c.tagRules = true;
    c.carnageRules = true;
    EXPECT_TRUE(CpartyMgr::mendChoice(GAMETYPE_PARTY_FOOTBALL, 2, c));
    EXPECT_EQ(c.teamMode, TEAMMODE_HEAD_TO_HEAD);
    EXPECT_FALSE(c.tagRules);
    EXPECT_TRUE(CpartyMgr::isValidChoice(GAMETYPE_PARTY_FOOTBALL, c));
}
