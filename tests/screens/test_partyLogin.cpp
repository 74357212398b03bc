// The party's own screens, headless: players join on their controllers and
// choose the rules that go together.
#include <gtest/gtest.h>

#include <string>

#include "engine/inputBinding.h"
#include "game/gameTypes.h"
#include "screens/partyGameType.h"
#include "screens/partyLogin.h"
#include "screens/screenRegistry.h"
#include "trackRoad.h"

namespace {
struct CpartyLoginFixture : CtrackRoad {
    CrecordingScreen config, partyType;
    CpartyLoginScreen* screen = nullptr;
    CpartyLoginFixture() {
        if (!g.initOk()) return;
        g->setScreen(GM_CONFIG, &config);
        g->setScreen(GM_PARTY_GAME_TYPE, &partyType);
        enter(GM_PARTY_LOGIN);
        screen = screens::get<CpartyLoginScreen>();
    }
    CpartyMgr& party() { return g->world.party; }
    int addPad(const std::string& name, bool mapped = true) {
        if (mapped) gEngine->input.mappings.store({name, defaultControllerBindings()});
        int pad = g.attachPad(name.c_str());
        g.steps(2);
        return pad;
    }
    void pressPad(int pad, int button = 0) {
        g.padButton(pad, button, true);
        g.steps(2);
        g.padButton(pad, button, false);
        g.steps(2);
    }
    bool okShown() const { return barShows(ACTION_SELECT); }
};

struct CpartyGameTypeFixture : CtrackRoad {
    CrecordingScreen login, settings;
    CpartyGameTypeScreen* screen = nullptr;
    CpartyGameTypeFixture() {
        if (!g.initOk()) return;
        g->setScreen(GM_PARTY_LOGIN, &login);
        g->setScreen(GM_GAME_SETTINGS, &settings);
        g->namedColours.load();
        CpartyMgr& party = g->world.party;
        party.reset("One", "Standard");
        party.join("P2", "Standard", 1);
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

TEST(PartyLogin, AControllerJoinsAsTheNextPlayerAndBackEndsTheParty) {
    CpartyLoginFixture f;
    ASSERT_TRUE(f.g.initOk());
    ASSERT_EQ(f.g.mode(), GM_PARTY_LOGIN);
    EXPECT_EQ(f.party().numJoined(), 1);
    EXPECT_EQ(f.screen->nameWidget(1)->getText(), gEngine->text("PressToJoin"));
    EXPECT_FALSE(f.okShown());

    int pad = f.addPad("Party Pad");
    f.pressPad(pad);
    ASSERT_EQ(f.party().numJoined(), 2);
    const CpartySlot& joined = f.party().slot(1);
    EXPECT_EQ(joined.name, std::string(gEngine->text("PlayerIdx")) + " 2");
    EXPECT_EQ(joined.shipName, f.g->playerShips.currentShip()->name());
    const CinputPlayer* player = gEngine->input.player(joined.inputPlayer);
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(player->device, DEVICE_CONTROLLER);
    EXPECT_EQ(player->joystick, f.g.padSlot(pad));
    EXPECT_EQ(f.screen->nameWidget(1)->getText(), joined.name);
    EXPECT_NE(f.screen->displayShip(1), nullptr);
    EXPECT_TRUE(f.okShown());
    f.press(ACTION_SELECT);
    EXPECT_EQ(f.partyType.enters, 1);

    // Back to the main menu ends the party; a new one starts with the first
    // player alone, and the controller may join again.
    f.enter(GM_PARTY_LOGIN);
    const int input = joined.inputPlayer;
    f.g->world.perks.setPartyOverride(true);
    f.press(ACTION_BACK);
    EXPECT_EQ(f.mainMenu.enters, 1);
    EXPECT_FALSE(f.g->world.session.partyMode);
    EXPECT_FALSE(f.g->world.perks.partyOverride());
    EXPECT_FALSE(gEngine->input.player(input)->enabled);
    f.enter(GM_PARTY_LOGIN);
    EXPECT_EQ(f.party().numJoined(), 1);
    f.pressPad(pad);
    EXPECT_EQ(f.party().numJoined(), 2);
}

TEST(PartyLogin, AControllerWithoutMappingsJoinsAndIsSetUpFirst) {
    CpartyLoginFixture f;
    ASSERT_TRUE(f.g.initOk());
    int pad = f.addPad("Strange Pad", false);
    f.g.padButton(pad, 0, true);
    f.g.steps(2);
    f.g.padButton(pad, 0, false);
    f.g.steps(80);
    EXPECT_TRUE(f.g.logHas("Didn't find mappings for Joystick - Need to configure"));
    EXPECT_EQ(f.config.enters, 1);
    EXPECT_EQ(f.party().numJoined(), 2);
    // Back from the set-up (which gave its mapping to the first player), the
    // player is still in and each player has his own device's bindings.
    gEngine->input.mappings.store({"Strange Pad", {CactionBinding::forJoyButton(ACTION_SELECT, 3)}});
    gEngine->input.mappings.applyTo(*gEngine->input.player(0), "Strange Pad");
    f.enter(GM_PARTY_LOGIN);
    EXPECT_EQ(f.party().numJoined(), 2);
    ASSERT_NE(gEngine->input.player(0)->findBinding(ACTION_SELECT), nullptr);
    EXPECT_TRUE(gEngine->input.player(0)->findBinding(ACTION_SELECT)->keyFlag);
    const CinputPlayer* second = gEngine->input.player(f.party().slot(1).inputPlayer);
    ASSERT_NE(second->findBinding(ACTION_SELECT), nullptr);
    EXPECT_EQ(second->findBinding(ACTION_SELECT)->joyButton, 3);
}

TEST(PartyLogin, AnOpenShipListHidesOkAChosenShipIsTheSlotsAndAPlayerRenamesHimself) {
    CpartyLoginFixture f;
    ASSERT_TRUE(f.g.initOk());
    CplayerShipMgr& ships = f.g->playerShips;
    std::string current = ships.currentShip()->name();
    ASSERT_NE(ships.createCustomShip(), nullptr);
    ships.setCurrentShip(current);
    f.enter(GM_PARTY_LOGIN);
    f.pressPad(f.addPad("Party Pad"));
    ASSERT_TRUE(f.okShown());
    f.g.tapAction(ACTION_OPTION_Y);
    ASSERT_TRUE(f.screen->shipListOpen(0));
    EXPECT_FALSE(f.okShown());
    Cmenu* list = f.screen->shipMenu(0);
    ASSERT_GE(list->itemCount(), 2u);
    // Select in the list chooses its row; it does not start the party.
    list->setSelectedIdx(1);
    f.g.tapAction(ACTION_SELECT);
    EXPECT_FALSE(f.screen->shipListOpen(0));
    const CplayerShipDef* chosen = f.g->playerShips.getShip((int)list->item(1)->value);
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(f.party().slot(0).shipName, chosen->name());
    f.g.steps(1);
    EXPECT_TRUE(f.okShown());
    EXPECT_EQ(f.partyType.enters, 0);

    // A player renames himself; the Enter that ends the entry presses nothing else.
    f.g.tapAction(ACTION_OPTION_X);
    ASSERT_TRUE(gUi->textEntry.active);
    EXPECT_EQ(gUi->textEntry.text.str(), f.party().slot(0).name);
    for (int i = 0; i < 40; ++i) f.g.tapKey(SDL_SCANCODE_BACKSPACE);
    gUi->textEntry.text = CbString("Ace");
    f.g.tapKey(SDL_SCANCODE_RETURN);
    f.g.steps(80);
    EXPECT_EQ(f.screen->nameWidget(0)->getText(), "Ace");
    EXPECT_EQ(f.partyType.enters, 0);
    EXPECT_EQ(f.g.mode(), GM_PARTY_LOGIN);
    f.g.tapAction(ACTION_OPTION_X);
    ASSERT_TRUE(gUi->textEntry.active);
    f.g.tapKey(SDL_SCANCODE_ESCAPE);
    f.g.steps(80);
    EXPECT_EQ(f.party().slot(0).name, "Ace");
    EXPECT_EQ(f.g.mode(), GM_PARTY_LOGIN);

    // The second player's list follows his own controller.
    f.g.setAction(f.party().slot(1).inputPlayer, ACTION_OPTION_Y, true);
    f.g.steps(1);
    f.g.setAction(f.party().slot(1).inputPlayer, ACTION_OPTION_Y, false);
    f.g.steps(2);
    EXPECT_TRUE(f.screen->shipListOpen(1));
    EXPECT_FALSE(f.screen->shipListOpen(0));
}

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

// OK checks the choice again, and refuses an empty music source; a good
// choice is kept and goes by its music source.
TEST(PartyGameType, OkChecksTheChoiceAgainKeepsItAndGoesByTheMusicSource) {
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
