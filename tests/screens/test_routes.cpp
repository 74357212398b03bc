// Every road from the main menu, taken as a player takes it: tiles, rows and
// buttons clicked and keys pressed on the real screens, then Back until the
// main menu. Each road is one row of the table below with the exact states
// the game asks for on the way ("GameMode = ..."); a new screen adds its
// roads as rows. Roads that need more than the table are tests of their own:
// each screen gets its hand-over from the screen that opened it, and keys
// and pads reach what the mouse reaches.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/inputBinding.h"
#include "game/gameTypes.h"
#include "routeWalker.h"
#include "screens/achievements.h"
#include "screens/confirm.h"
#include "screens/musicBrowser.h"
#include "screens/optionsChoices.h"
#include "screens/pressStart.h"

namespace {
// One thing a player does.
struct Cstep {
    enum Ekind { TILE, ITEM, ITEM_TAG, WIDGET, KEY, ACTION } kind;
    std::string name;      // tile, menu or widget name
    int64_t value = 0;     // item value, key scan code or action
    float tag = 0;         // item kind (a row's sub-button)
};
Cstep tile(const char* name) { return {Cstep::TILE, name}; }
// A row of the named menu, by its value.
Cstep item(const char* menu, int64_t value) { return {Cstep::ITEM, menu, value}; }
// The first row part of the named menu with this kind (a row's own button).
Cstep itemTag(const char* menu, float tag) { return {Cstep::ITEM_TAG, menu, 0, tag}; }
Cstep widget(const char* name) { return {Cstep::WIDGET, name}; }
Cstep key(int scanCode) { return {Cstep::KEY, "", scanCode}; }
Cstep action(int a) { return {Cstep::ACTION, "", a}; }

struct Croute {
    const char* name;
    std::vector<Cstep> steps;
    std::vector<std::string> modes;   // every state asked for, the way there and back
};

// The roads. Back is Backspace, except where a player must use Escape
// (the controller set-up, a text box that has the focus).
const std::vector<Croute>& routeTable() {
    static const std::vector<Croute> table = {
        {"Play", {tile("Play")}, {"GameType", "MainMenu"}},
        {"Play, My Music", {tile("Play"), item("musicSource", MUSIC_TRACK_LIST), action(ACTION_SELECT)},
         {"GameType", "MusicBrowser", "GameType", "MainMenu"}},
        {"Play, Internet Radio", {tile("Play"), item("musicSource", MUSIC_RADIO_LIST), action(ACTION_SELECT)},
         {"GameType", "MusicRadioBrowser", "GameType", "MainMenu"}},
        // From the game type the radio offers the playing station for the game.
        {"Play, Internet Radio, Use Now Playing",
         {tile("Play"), item("musicSource", MUSIC_RADIO_LIST), key(SDL_SCANCODE_RETURN), key(SDL_SCANCODE_X)},
         {"GameType", "MusicRadioBrowser", "GameSettings", "MusicRadioBrowser", "GameType", "MainMenu"}},
        {"Music", {tile("MusicBrowser")}, {"MusicTypeList", "MainMenu"}},
        {"Music, Your Music", {tile("MusicBrowser"), item("Menu", 1)}, {"MusicTypeList", "MusicBrowser", "MusicTypeList", "MainMenu"}},
        {"Music, Radio", {tile("MusicBrowser"), item("Menu", 2)},
         {"MusicTypeList", "MusicRadioBrowser", "MusicTypeList", "MainMenu"}},
        {"Music, Find Music", {tile("MusicBrowser"), item("Menu", 0)}, {"MusicTypeList", "FindMusic", "MusicTypeList", "MainMenu"}},
        {"Music, Open Mic Settings", {tile("MusicBrowser"), item("Menu", 4)},
         {"MusicTypeList", "OpenMicSettings", "MusicTypeList", "MainMenu"}},
        {"Ships", {tile("ShipHangar")}, {"Gallery", "MainMenu"}},
        {"Ships, Details", {tile("ShipHangar"), itemTag("Menu", 2.0f)}, {"Gallery", "Hangar", "Gallery", "MainMenu"}},
        {"Ships, New Ship", {tile("ShipHangar"), action(ACTION_LB)},
         {"Gallery", "ShipEditor", "Hangar", "Gallery", "MainMenu"}},
        {"Ship Details", {tile("ShipDetails")}, {"Hangar", "MainMenu"}},
        {"Perks", {tile("Perks")}, {"PerkMenu", "MainMenu"}},
        {"Daily Tracks", {tile("DailyTracks")}, {"DailyTracks", "MainMenu"}},
        {"Party", {tile("PartyMode")}, {"PartyLogin", "MainMenu"}},
        // A track's board from the browser; the tile's list after it is still the hub's.
        {"Music, a track's board",
         {tile("MusicBrowser"), item("Menu", 1), widget("Albums"), item("AlbumListMenu", 0), itemTag("TrackMenu", -2.0f)},
         {"MusicTypeList", "MusicBrowser", "Leaderboard", "MusicBrowser", "MusicTypeList", "MainMenu"}},
        {"Leaderboard", {tile("Leaderboard")}, {"Leaderboard", "MainMenu"}},
        {"Friends", {tile("FriendCompare")}, {"FriendCompare", "MainMenu"}},
        {"Friends, Find Player", {tile("FriendCompare"), action(ACTION_SELECT)},
         {"FriendCompare", "FindPlayer", "FriendCompare", "MainMenu"}},
        {"Achievements", {tile("Achievements")}, {"Achievements", "MainMenu"}},
        {"Twitter", {tile("Twitter")}, {"OptionsTwitter", "MainMenu"}},
        {"Options", {tile("Options")}, {"Options", "MainMenu"}},
        {"Options, Language", {tile("Options"), item("Menu", OPT_LANGUAGE)}, {"Options", "Language", "Options", "MainMenu"}},
        {"Options, Resolution", {tile("Options"), item("Menu", OPT_SCREEN_REZ)}, {"Options", "SetRez", "Options", "MainMenu"}},
        {"Options, Keyboard", {tile("Options"), item("Menu", OPT_CONFIG_KEYBOARD)}, {"Options", "Config", "Options", "MainMenu"}},
        {"Options, Volume", {tile("Options"), item("Menu", OPT_VOLUME)}, {"Options", "OptionsVolume", "Options", "MainMenu"}},
        {"Options, E-mail", {tile("Options"), item("Menu", OPT_NOTIFICATIONS)},
         {"Options", "OptionsNotifications", "Options", "MainMenu"}},
        {"Options, Open Mic", {tile("Options"), item("Menu", OPT_OPEN_MIC)}, {"Options", "OpenMicSettings", "Options", "MainMenu"}},
        {"Options, Twitter", {tile("Options"), item("Menu", OPT_TWITTER)}, {"Options", "OptionsTwitter", "Options", "MainMenu"}},
        {"Options, Credits", {tile("Options"), item("Menu", OPT_CREDITS)}, {"Options", "Credits", "Options", "MainMenu"}},
        // Tiles that open no state of their own.
        {"Visualiser", {tile("Visualiser"), key(SDL_SCANCODE_RETURN)}, {}},
        {"Instructions", {tile("Instructions")}, {}},
    };
    return table;
}

using Modes = std::vector<std::string>;

struct CtableWalker : CrouteWalker {
    explicit CtableWalker(bool emailOffer = false) : CrouteWalker(emailOffer) {
        CtrackTags t;
        t.title = "Board Track";
        t.album = "Boards";
        t.length = 100;
        g->songLibrary.addLocalTrack(SONG_LOCAL, t, "/music/board.mp3");
    }
    void take(const Cstep& s) {
        switch (s.kind) {
            case Cstep::TILE: tile(s.name.c_str()); return;
            case Cstep::ITEM: row(s.name.c_str(), s.value); return;
            case Cstep::ITEM_TAG: {
                Cwidget* w = findRowPart(s.name, s.tag);
                ASSERT_NE(w, nullptr) << "no row part " << s.tag << " in " << s.name;
                g.click(w);
                break;
            }
            case Cstep::WIDGET: g.click(current()->findWidget(s.name)); break;
            case Cstep::KEY: g.tapKey((int)s.value); break;
            case Cstep::ACTION: g.tapAction((int)s.value); break;
        }
        settle();
    }
    // Back as a player goes back: Backspace, or Escape where that is the way out.
    void backToMainMenu() {
        for (int i = 0; i < 8 && g.mode() != GM_MAIN_MENU; ++i)
            key(gUi->textEntry.active || g.mode() == GM_CONFIG ? SDL_SCANCODE_ESCAPE : SDL_SCANCODE_BACKSPACE);
    }
};
}  // namespace

TEST(Routes, EveryRoadFromTheMainMenuLeadsThereAndBack) {
    CtableWalker w;
    ASSERT_TRUE(w.g.initOk());
    ASSERT_EQ(w.g.mode(), GM_MAIN_MENU);
    for (const Croute& r : routeTable()) {
        SCOPED_TRACE(r.name);
        for (const Cstep& s : r.steps) w.take(s);
        w.backToMainMenu();
        if (w.menu.inVisualiser()) w.menu.toggleVisualiser();
        EXPECT_EQ(w.modes(), r.modes);
        EXPECT_EQ(w.g.mode(), GM_MAIN_MENU);
        if (w.g.mode() != GM_MAIN_MENU) w.toMainMenu();
    }
}

// After a party, the single player's music roads are their own: from the
// game type the browser offers the playing track and Back returns to the game
// type; from the music list it offers nothing and Back returns to the list.
TEST(RoutesMended, AfterAPartyTheMusicRoadsAreTheSinglePlayers) {
    CtableWalker h;
    ASSERT_TRUE(h.g.initOk());
    gEngine->input.mappings.store({"Party Pad", defaultControllerBindings()});
    int pad = h.g.attachPad("Party Pad");
    h.g.steps(2);
    h.tile("PartyMode");
    for (int i = 0; i < 2 && h.g->world.party.numJoined() < 2; ++i) {
        h.g.padButton(pad, 0, true);
        h.g.steps(2);
        h.g.padButton(pad, 0, false);
        h.g.steps(4);
    }
    ASSERT_GE(h.g->world.party.numJoined(), 2);
    h.settle();
    h.key(SDL_SCANCODE_RETURN);
    ASSERT_EQ(h.g.mode(), GM_PARTY_GAME_TYPE);
    h.row("musicSource", MUSIC_TRACK_LIST);
    h.key(SDL_SCANCODE_RETURN);
    ASSERT_EQ(h.g.mode(), GM_MUSIC_BROWSER);
    EXPECT_TRUE(h.barHas("UseNowPlaying"));
    h.backToMainMenu();
    EXPECT_EQ(h.modes(), (Modes{"PartyLogin", "PartyGameType", "MusicBrowser", "PartyGameType", "PartyLogin", "MainMenu"}));

    for (const Croute& r : routeTable()) {
        if (r.name != std::string("Play, My Music") && r.name != std::string("Music, Your Music")) continue;
        for (const Cstep& s : r.steps) h.take(s);
        EXPECT_EQ(h.barHas("UseNowPlaying"), r.steps[0].name == "Play") << r.name;
        h.backToMainMenu();
        EXPECT_EQ(h.modes(), r.modes) << r.name;
    }
}

// Options is told on every opening where Back leads: the title's opening
// leaves nothing behind for the main menu's. On Find Player the ID box has
// the focus, and the music browser's tabs and the achievement categories
// answer keys and pads.
TEST(RoutesMended, OptionsFromTheTitleFindPlayerTypingAndTabsByKeysAndPads) {
    CtableWalker h;
    ASSERT_TRUE(h.g.initOk());
    gGame->setGameMode(GM_PRESS_START);
    h.settle();
    h.modes();
    h.g.click(screens::get<CpressStartScreen>()->screen()->findWidget("Options"));
    h.settle();
    ASSERT_EQ(h.g.mode(), GM_OPTIONS);
    h.key(SDL_SCANCODE_BACKSPACE);
    EXPECT_EQ(h.modes(), (Modes{"Options", "PressStart"}));

    h.toMainMenu();
    h.tile("Options");
    h.key(SDL_SCANCODE_BACKSPACE);
    EXPECT_EQ(h.modes(), (Modes{"Options", "MainMenu"}));

    // On Find Player the ID box has the focus: typing goes in at once.
    h.tile("FriendCompare");
    h.act(ACTION_SELECT);
    ASSERT_EQ(h.g.mode(), GM_FIND_PLAYER);
    typeInto(h.g, "4242");
    EXPECT_EQ(gUi->textEntry.text.str(), "4242");
    // Escape lets go of the box; then Back leaves.
    h.key(SDL_SCANCODE_ESCAPE);
    EXPECT_EQ(h.g.mode(), GM_FIND_PLAYER);
    h.key(SDL_SCANCODE_BACKSPACE);
    EXPECT_EQ(h.g.mode(), GM_FRIEND_COMPARE);

    h.toMainMenu();
    h.tile("MusicBrowser");
    h.row("Menu", 1);
    CmusicBrowserScreen* browser = screens::get<CmusicBrowserScreen>();
    ASSERT_EQ(browser->view(), VIEW_FILES);
    h.key(SDL_SCANCODE_TAB);
    EXPECT_EQ(browser->view(), VIEW_ALBUMS);
    h.act(ACTION_RB);   // a pad's right shoulder
    EXPECT_EQ(browser->view(), VIEW_ARTISTS);
    h.act(ACTION_LB);
    h.act(ACTION_LB);
    h.act(ACTION_LB);   // round to the last tab
    EXPECT_EQ(browser->view(), VIEW_RECENT);
    h.toMainMenu();

    h.tile("Achievements");
    CachievementsScreen* list = screens::get<CachievementsScreen>();
    int first = list->category();
    ASSERT_FALSE(list->rightArrow()->hidden);
    h.key(SDL_SCANCODE_TAB);
    EXPECT_EQ(list->category(), first + 1);
    h.act(ACTION_LB);
    EXPECT_EQ(list->category(), first);
}

// "Yes" to the e-mail offer opens the e-mail options, and Back comes home.
TEST(RoutesMended, TheEmailOffersYesComesBackToTheMainMenu) {
    CtableWalker h(true);
    ASSERT_TRUE(h.g.initOk());
    CconfirmScreen* offer = screens::get<CconfirmScreen>();
    ASSERT_TRUE(offer->showing());
    h.g.click(offer->screen()->findMenu("Menu")->item(0));   // "Yes"
    h.settle();
    ASSERT_EQ(h.g.mode(), GM_OPTIONS_NOTIFICATIONS);
    h.key(SDL_SCANCODE_BACKSPACE);
    EXPECT_EQ(h.modes(), (Modes{"OptionsNotifications", "MainMenu"}));
}

