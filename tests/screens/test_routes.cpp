// Every road from the main menu, taken as a player takes it: tiles, rows and
// buttons clicked and keys pressed on the real screens, then Back until the
// main menu. Each road is one row of the table below with the exact states
// the game asks for on the way ("GameMode = ..."); a new screen adds its
// roads as rows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/gameTypes.h"
#include "routeWalker.h"
#include "screens/optionsChoices.h"

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

struct CtableWalker : CrouteWalker {
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
