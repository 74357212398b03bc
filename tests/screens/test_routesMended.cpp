// Roads that used to go astray, taken as a player takes them: each screen
// gets its hand-over from the screen that opened it, and keys and pads reach
// what the mouse reaches.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/inputBinding.h"
#include "game/gameTypes.h"
#include "routeWalker.h"
#include "screens/achievements.h"
#include "screens/confirm.h"
#include "screens/musicBrowser.h"
#include "screens/options.h"
#include "screens/optionsChoices.h"
#include "screens/pressStart.h"

namespace {
struct Chub : CrouteWalker {
    using CrouteWalker::CrouteWalker;
    bool optionsOffers(int value) {
        return itemWithValue(screens::get<CoptionsScreen>()->screen()->findMenu("Menu"), value) != nullptr;
    }
};
using Modes = std::vector<std::string>;
}  // namespace

// After a party, the single player's music roads are their own: from the
// game type the browser offers the playing track and Back returns to the game
// type; from the music list it offers nothing and Back returns to the list.
TEST(RoutesMended, AfterAPartyTheMusicRoadsAreTheSinglePlayers) {
    Chub h;
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
    h.key(SDL_SCANCODE_BACKSPACE);
    h.key(SDL_SCANCODE_BACKSPACE);
    h.key(SDL_SCANCODE_BACKSPACE);
    EXPECT_EQ(h.modes(), (Modes{"PartyLogin", "PartyGameType", "MusicBrowser", "PartyGameType", "PartyLogin", "MainMenu"}));

    h.tile("Play");
    h.row("musicSource", MUSIC_TRACK_LIST);
    h.key(SDL_SCANCODE_RETURN);
    ASSERT_EQ(h.g.mode(), GM_MUSIC_BROWSER);
    EXPECT_TRUE(h.barHas("UseNowPlaying"));
    h.key(SDL_SCANCODE_BACKSPACE);
    h.key(SDL_SCANCODE_BACKSPACE);
    EXPECT_EQ(h.modes(), (Modes{"GameType", "MusicBrowser", "GameType", "MainMenu"}));

    h.tile("MusicBrowser");
    h.row("Menu", 1);   // Your Music
    ASSERT_EQ(h.g.mode(), GM_MUSIC_BROWSER);
    EXPECT_FALSE(h.barHas("UseNowPlaying"));
    h.key(SDL_SCANCODE_BACKSPACE);
    h.key(SDL_SCANCODE_BACKSPACE);
    EXPECT_EQ(h.modes(), (Modes{"MusicTypeList", "MusicBrowser", "MusicTypeList", "MainMenu"}));
}

// "UseNowPlaying" from the game type takes the playing track to the settings.
TEST(RoutesMended, FromTheGameTypeTheRadioOffersThePlayingStation) {
    Chub h;
    ASSERT_TRUE(h.g.initOk());
    h.tile("Play");
    h.row("musicSource", MUSIC_RADIO_LIST);
    h.key(SDL_SCANCODE_RETURN);
    ASSERT_EQ(h.g.mode(), GM_MUSIC_RADIO_BROWSER);
    EXPECT_TRUE(h.barHas("UseNowPlaying"));
    h.key(SDL_SCANCODE_X);
    EXPECT_EQ(h.modes(), (Modes{"GameType", "MusicRadioBrowser", "GameSettings"}));
}

// Options is told on every opening where Back leads: the title's opening
// leaves nothing behind for the main menu's.
TEST(RoutesMended, OptionsFromTheTitleThenFromTheMainMenu) {
    Chub h;
    ASSERT_TRUE(h.g.initOk());
    gGame->setGameMode(GM_PRESS_START);
    h.settle();
    h.modes();
    h.g.click(screens::get<CpressStartScreen>()->screen()->findWidget("Options"));
    h.settle();
    ASSERT_EQ(h.g.mode(), GM_OPTIONS);
    EXPECT_FALSE(h.optionsOffers(OPT_NOTIFICATIONS));
    h.key(SDL_SCANCODE_BACKSPACE);
    EXPECT_EQ(h.modes(), (Modes{"Options", "PressStart"}));

    h.toMainMenu();
    h.tile("Options");
    EXPECT_TRUE(h.optionsOffers(OPT_NOTIFICATIONS));
    h.key(SDL_SCANCODE_BACKSPACE);
    EXPECT_EQ(h.modes(), (Modes{"Options", "MainMenu"}));
}

// "Yes" to the e-mail offer opens the e-mail options, and Back comes home.
TEST(RoutesMended, TheEmailOffersYesComesBackToTheMainMenu) {
    Chub h(true);
    ASSERT_TRUE(h.g.initOk());
    CconfirmScreen* offer = screens::get<CconfirmScreen>();
    ASSERT_TRUE(offer->showing());
    h.g.click(offer->screen()->findMenu("Menu")->item(0));   // "Yes"
    h.settle();
    ASSERT_EQ(h.g.mode(), GM_OPTIONS_NOTIFICATIONS);
    h.key(SDL_SCANCODE_BACKSPACE);
    EXPECT_EQ(h.modes(), (Modes{"OptionsNotifications", "MainMenu"}));
}

// The main menu's board list is the hub's, whatever board was shown last.
TEST(RoutesMended, TheLeaderboardTileAfterATracksBoard) {
    Chub h;
    ASSERT_TRUE(h.g.initOk());
    CsongInfoMgr& lib = h.g->songLibrary;
    CtrackTags t;
    t.title = "Board Track";
    t.album = "Boards";
    t.artist = "Someone";
    t.length = 100;
    lib.addLocalTrack(SONG_LOCAL, t, "/music/board.mp3");
    h.tile("MusicBrowser");
    h.row("Menu", 1);
    h.g.click(h.current()->findWidget("Albums"));
    h.settle();
    h.row("AlbumListMenu", 0);
    Cmenu* tracks = h.current()->findMenu("TrackMenu");
    Cwidget* boardItem = nullptr;
    for (size_t i = 0; i < tracks->itemCount(); ++i)
        if (tracks->item(i)->floatValue == -2.0f) boardItem = tracks->item(i);
    ASSERT_NE(boardItem, nullptr);
    h.g.click(boardItem);
    h.settle();
    ASSERT_EQ(h.g.mode(), GM_LEADERBOARD);
    for (int i = 0; i < 6 && h.g.mode() != GM_MAIN_MENU; ++i) h.key(SDL_SCANCODE_BACKSPACE);
    h.modes();
    h.tile("Leaderboard");
    h.key(SDL_SCANCODE_BACKSPACE);
    EXPECT_EQ(h.modes(), (Modes{"Leaderboard", "MainMenu"}));
}

// The music browser's tabs and the achievement categories by keys and pads.
TEST(RoutesMended, TabsAndCategoriesByKeysAndPads) {
    Chub h;
    ASSERT_TRUE(h.g.initOk());
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
    EXPECT_EQ(browser->view(), VIEW_FILES);
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

// On Find Player the ID box has the focus: typing goes in at once.
TEST(RoutesMended, FindPlayerTakesTypingAtOnce) {
    Chub h;
    ASSERT_TRUE(h.g.initOk());
    h.tile("FriendCompare");
    h.act(ACTION_SELECT);
    ASSERT_EQ(h.g.mode(), GM_FIND_PLAYER);
    ASSERT_TRUE(gUi->textEntry.active);
    typeInto(h.g, "4242");
    h.g.steps(1);
    EXPECT_EQ(gUi->textEntry.text.str(), "4242");
    // Escape lets go of the box; then Back leaves.
    h.key(SDL_SCANCODE_ESCAPE);
    EXPECT_FALSE(gUi->textEntry.active);
    EXPECT_EQ(h.g.mode(), GM_FIND_PLAYER);
    h.key(SDL_SCANCODE_BACKSPACE);
    EXPECT_EQ(h.g.mode(), GM_FRIEND_COMPARE);
}
