#include <gtest/gtest.h>

#include "game/gameTypes.h"
#include "screens/partyGameType.h"
#include "screens/screenRegistry.h"
#include "trackRoad.h"

namespace {
struct CpartyGameTypeFixture : CtrackRoad {
    CrecordingScreen login, settings;
    CpartyGameTypeScreen* screen = nullptr;
    explicit CpartyGameTypeFixture(int players = 2) {
        if (!g.initOk()) return;
        g->setScreen(GM_PARTY_LOGIN, &login);
        g->setScreen(GM_GAME_SETTINGS, &settings);
        g->namedColours.load();
        CpartyMgr& party = g->world.party;
        party.reset("One", "Standard");
        for (int p = 1; p < players; ++p) party.join("P" + std::to_string(p + 1), "Standard", p);
        g->world.session.partyMode = true;
        enter(GM_PARTY_GAME_TYPE);
        screen = screens::get<CpartyGameTypeScreen>();
    }
    static void pick(Cmenu* menu, int64_t value) {
        for (size_t i = 0; i < menu->itemCount(); ++i)
            if (menu->item(i)->value == value) menu->setSelectedIdx((int)i);
    }
    void choose(int type, int team, bool carnage, bool tag, bool noMul) {
        pick(screen->gameTypes(), type);
        pick(screen->teamModes(), team);
        pick(screen->carnageRules(), carnage ? 1 : 0);
        pick(screen->tagRules(), tag ? 1 : 0);
        pick(screen->noMultiplier(), noMul ? 1 : 0);
        g.steps(1);
    }
    bool okShown() const { return barShows(ACTION_SELECT); }
    bool red(Cmenu* menu, size_t item) { return menu->item(item)->textColour == g->namedColours.lightRed; }
};
}  // namespace

TEST(PartyGameType, TheRulesThatCannotGoTogetherAreRedAndHideOk) {
    CpartyGameTypeFixture f;
    ASSERT_TRUE(f.g.initOk());
    struct Ccase {
        int type, team;
        bool carnage, tag, noMul, valid;
    } cases[] = {
        {GAMETYPE_STANDARD, TEAMMODE_COOP, false, false, false, true},
        {GAMETYPE_PARTY_FOOTBALL, TEAMMODE_COOP, false, false, false, false},
        {GAMETYPE_PARTY_FOOTBALL, TEAMMODE_HEAD_TO_HEAD, false, false, false, true},
        {GAMETYPE_STANDARD, TEAMMODE_COOP, false, true, false, true},
        {GAMETYPE_STANDARD, TEAMMODE_HEAD_TO_HEAD, false, true, false, false},
        {GAMETYPE_PARTY_FOOTBALL, TEAMMODE_HEAD_TO_HEAD, false, true, false, false},
        {GAMETYPE_SURVIVAL, TEAMMODE_COOP, true, false, false, false},
        {GAMETYPE_SURVIVAL, TEAMMODE_HEAD_TO_HEAD, true, false, false, true},
        {GAMETYPE_PARTY_FOOTBALL, TEAMMODE_HEAD_TO_HEAD, false, false, true, false},
        {GAMETYPE_BOSSRUSH, TEAMMODE_HEAD_TO_HEAD, false, false, true, true},
    };
    for (const Ccase& c : cases) {
        f.choose(c.type, c.team, c.carnage, c.tag, c.noMul);
        SCOPED_TRACE(testing::Message() << "type " << c.type << " team " << c.team << " carnage " << c.carnage
                                        << " tag " << c.tag << " noMul " << c.noMul);
        EXPECT_EQ(f.screen->choiceValid(), c.valid);
        EXPECT_EQ(f.okShown(), c.valid);
        bool football = c.type == GAMETYPE_PARTY_FOOTBALL;
        EXPECT_EQ(f.red(f.screen->teamModes(), 0), football);
        EXPECT_EQ(f.red(f.screen->tagRules(), 1), football || c.team != TEAMMODE_COOP);
        EXPECT_EQ(f.red(f.screen->carnageRules(), 1), c.team == TEAMMODE_COOP);
        EXPECT_EQ(f.red(f.screen->noMultiplier(), 1), football);
    }
}

TEST(PartyGameType, OkChecksTheChoiceAgainAndRefusesAnEmptySource) {
    CpartyGameTypeFixture f;
    ASSERT_TRUE(f.g.initOk());
    f.g->world.session.gameType = GAMETYPE_STANDARD;
    // The selection changes and OK comes in the same step, before the screen looked.
    f.pick(f.screen->gameTypes(), GAMETYPE_PARTY_FOOTBALL);
    f.pick(f.screen->teamModes(), TEAMMODE_COOP);
    f.press(ACTION_SELECT);
    EXPECT_EQ(f.g.mode(), GM_PARTY_GAME_TYPE);
    EXPECT_TRUE(f.played(7));
    EXPECT_EQ(f.g->world.session.gameType, GAMETYPE_STANDARD);

    // No favourites yet: that source is red and refused.
    f.sounds.clear();
    f.choose(GAMETYPE_STANDARD, TEAMMODE_COOP, false, false, false);
    EXPECT_TRUE(f.red(f.screen->musicSources(), MUSIC_RANDOM_FAVOURITE));
    f.screen->musicSources()->setSelectedIdx(MUSIC_RANDOM_FAVOURITE);
    f.press(ACTION_SELECT);
    EXPECT_EQ(f.g.mode(), GM_PARTY_GAME_TYPE);
    EXPECT_TRUE(f.played(7));
}

TEST(PartyGameType, OkKeepsTheChoiceAndGoesByTheMusicSource) {
    CpartyGameTypeFixture f;
    ASSERT_TRUE(f.g.initOk());
    f.choose(GAMETYPE_SURVIVAL, TEAMMODE_HEAD_TO_HEAD, true, false, true);
    f.screen->musicSources()->setSelectedIdx(MUSIC_TRACK_LIST);
    f.press(ACTION_SELECT);
    EXPECT_EQ(f.g.mode(), GM_MUSIC_BROWSER);
    const CgameSession& s = f.g->world.session;
    EXPECT_EQ(s.gameType, GAMETYPE_SURVIVAL);
    EXPECT_TRUE(s.party.carnageRules);
    EXPECT_TRUE(s.party.noMultiplier);

    f.enter(GM_PARTY_GAME_TYPE);   // the choice is kept on the way back
    EXPECT_EQ(f.screen->gameTypes()->getSelectedItemInt(), GAMETYPE_SURVIVAL);
    f.screen->musicSources()->setSelectedIdx(MUSIC_RADIO_LIST);
    f.press(ACTION_SELECT);
    EXPECT_EQ(f.g.mode(), GM_MUSIC_RADIO_BROWSER);

    f.enter(GM_PARTY_GAME_TYPE);
    f.g->music.stopMusic();
    f.g->music.currentTrack = nullptr;
    f.screen->musicSources()->setSelectedIdx(MUSIC_RANDOM);
    f.press(ACTION_SELECT);
    EXPECT_EQ(f.settings.enters, 1);
    ASSERT_NE(f.g->music.currentTrack, nullptr);   // a random track, chosen and playing
    EXPECT_EQ(f.g->world.session.track.key, f.g->music.currentTrack->key);

    f.enter(GM_PARTY_GAME_TYPE);
    f.press(ACTION_BACK);
    EXPECT_EQ(f.login.enters, 1);
}

TEST(PartyGameType, FootballOfThreeOrFourIsTwoTeams) {
    for (int players : {2, 3, 4}) {
        CpartyGameTypeFixture f(players);
        ASSERT_TRUE(f.g.initOk());
        f.choose(GAMETYPE_PARTY_FOOTBALL, TEAMMODE_HEAD_TO_HEAD, false, false, false);
        f.screen->musicSources()->setSelectedIdx(MUSIC_TRACK_LIST);
        f.press(ACTION_SELECT);
        ASSERT_EQ(f.g.mode(), GM_MUSIC_BROWSER);
        const CgameSession& s = f.g->world.session;
        EXPECT_EQ(s.party.teamMode, players >= 3 ? TEAMMODE_TEAM_TEAM : TEAMMODE_HEAD_TO_HEAD) << players;
        f.g->setModeDirect(GM_PLAYING);
        EXPECT_EQ(f.g->world.party.getNumActiveTeams(), 2);
        EXPECT_EQ(f.g->world.party.playerIdxToTeamIdx(players - 1), 1);
    }
}
