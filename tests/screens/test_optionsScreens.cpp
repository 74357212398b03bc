// The options screens, headless, driven as a player drives them: the menu,
// volume and detail, notifications, thumb sticks, texts after a language
// change, credits and the resolution screen.
#include "screens/confirm.h"
#include "screens/credits.h"
#include "screens/gameSettings.h"
#include "screens/mainMenu.h"
#include "screens/options.h"
#include "screens/optionsNotifications.h"
#include "screens/optionsVirtualThumbSticks.h"
#include "screens/optionsVolume.h"
#include "screens/setRez.h"
#include "screens/screenRegistry.h"
#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "screensFixture.h"
#include "support/heldTask.h"

namespace {
struct CoptionsGame : CscreensGame {
    void settle(int n = 100) { steps(n); }
    CoptionsGame() {
        gEngine->ui.tutorials.resetAll();
        gGame->saveLoad.settings.language = 1;
    }
    void open(int state) {
        gGame->setGameMode(state);
        settle();
        EXPECT_EQ(mode(), state);
    }
    void toOptions(int returnState = GM_MAIN_MENU) {
        screens::get<CoptionsScreen>()->open(returnState, false);
        open(GM_OPTIONS);
    }
    void chooseValue(Cmenu* m, int64_t value) {
        Cwidget* w = itemWithValue(m, value, true);
        ASSERT_NE(w, nullptr) << "no item " << value;
        click(w);
    }
    void type(const char* text) {
        typeInto(*this, text);
        tapKey(SDL_SCANCODE_RETURN);
        steps(2);
    }
    // Reads the settings file back over what is held.
    Csettings reloaded() {
        Csettings held = gGame->saveLoad.settings;
        gGame->saveLoad.settings.setDefaults();
        EXPECT_TRUE(gGame->saveLoad.loadSettings());
        Csettings fromFile = gGame->saveLoad.settings;
        gGame->saveLoad.settings = held;
        return fromFile;
    }
};
}  // namespace

// Volumes are heard at once; Back puts them back, OK writes them with the
// detail and the auto shots. Keys step along a row and down to the next one.
TEST(OptionsScreen, VolumesHeardAtOnceCancelRestoresConfirmKeeps) {
    CoptionsGame g;
    ASSERT_TRUE(g.initOk());
    Csettings& s = g->saveLoad.settings;
    s.musicVolume = s.sfxVolume = 0.5f;
    gEngine->audio.setMusicVolume(0.5f);
    gEngine->audio.setSfxVolume(0.5f);
    g.open(GM_OPTIONS_VOLUME);
    CoptionsVolumeScreen& v = *screens::get<CoptionsVolumeScreen>();
    g.chooseValue(v.menu(CoptionsVolumeScreen::MUSIC), 9);
    g.chooseValue(v.menu(CoptionsVolumeScreen::DETAIL), 0);
    EXPECT_FLOAT_EQ(gEngine->audio.musicVolume, 0.9f);
    g.tapAction(ACTION_BACK);
    g.settle();
    EXPECT_EQ(g.mode(), GM_OPTIONS);
    EXPECT_NE(s.graphicsDetail, 0.0f);
    EXPECT_FLOAT_EQ(gEngine->audio.musicVolume, 0.5f);

    g.open(GM_OPTIONS_VOLUME);
    g.tapKey(SDL_SCANCODE_RIGHT);
    EXPECT_FLOAT_EQ(gEngine->audio.musicVolume, 0.6f);
    g.tapKey(SDL_SCANCODE_DOWN);
    g.tapKey(SDL_SCANCODE_LEFT);
    EXPECT_FLOAT_EQ(gEngine->audio.sfxVolume, 0.4f);
    g.chooseValue(v.menu(CoptionsVolumeScreen::DETAIL), 0);
    g.chooseValue(v.menu(CoptionsVolumeScreen::AUTO_SHOTS), 0);
    g.tapAction(ACTION_SELECT);
    g.settle();
    EXPECT_EQ(g.mode(), GM_OPTIONS);
    Csettings file = g.reloaded();
    EXPECT_FLOAT_EQ(file.musicVolume, 0.6f);
    EXPECT_FLOAT_EQ(file.sfxVolume, 0.4f);
    EXPECT_FLOAT_EQ(file.graphicsDetail, 0.0f);
    EXPECT_FALSE(file.autoShots);
}

// A Steam sign-in keeps the Steam id where the e-mail goes: the box shows no
// address, and leaving it empty keeps the id. A typed address is stored, but
// analytics hear only whether one is set; three characters clear it.
TEST(OptionsScreen, NotificationsStoreTheAddressButTellAnalyticsOnlyWhetherSet) {
    CoptionsGame g;
    ASSERT_TRUE(g.initOk());
    g->progress.createNewProfile();
    gEngine->analytics.isSignedIn = [] { return true; };
    CoptionsNotificationsScreen& n = *screens::get<CoptionsNotificationsScreen>();
    const std::string id = std::to_string(gEngine->steamId);
    gGame->saveLoad.login = {id, "secret", id};
    g.steps(1);
    n.open(GM_OPTIONS, false);
    g.open(GM_OPTIONS_NOTIFICATIONS);
    EXPECT_EQ(n.textBox()->getText("TextName"), "");
    g.tapAction(ACTION_BACK);
    g.settle();
    EXPECT_EQ(gGame->saveLoad.login.email, id);

    g.open(GM_OPTIONS_NOTIFICATIONS);
    g.click(n.textBox());
    ASSERT_TRUE(gUi->textEntry.active);
    g.type("pilot@example.com");
    EXPECT_EQ(n.address(), "pilot@example.com");
    // Hits leave the queue only while no other task runs: a task held over
    // the press keeps every hit of Back in the queue to be read.
    CheldTask hold;
    size_t before = gEngine->analytics.queued();
    g.tapAction(ACTION_BACK);
    bool sawSet = false;
    for (size_t i = before; i < gEngine->analytics.queued(); ++i) {
        const std::string& hit = gEngine->analytics.queuedPayload(i);
        EXPECT_EQ(hit.find("example.com"), std::string::npos) << hit;
        if (hit.find("ec=PCSetEmailNote") != std::string::npos) sawSet = hit.find("ea=Set") != std::string::npos;
    }
    EXPECT_TRUE(sawSet);
    hold.release();
    g.settle();
    EXPECT_EQ(g.mode(), GM_OPTIONS);
    CloginData login;
    ASSERT_TRUE(loadLoginData(login));
    EXPECT_EQ(login.email, "pilot@example.com");

    g.open(GM_OPTIONS_NOTIFICATIONS);
    g.tapAction(ACTION_OPTION_X);
    ASSERT_TRUE(gUi->textEntry.active);
    for (int i = 0; i < 20; ++i) g.tapKey(SDL_SCANCODE_BACKSPACE);
    g.type("a@b");
    EXPECT_EQ(n.address(), "");
    g.tapAction(ACTION_BACK);
    g.settle();
    ASSERT_TRUE(loadLoginData(login));
    EXPECT_EQ(login.email, "");
}

// Only a touch player is offered the on-screen sticks. They lay out as
// changed, Back restores them, OK writes them.
TEST(OptionsScreen, ThumbSticksLayOutAsChangedAndCancelRestores) {
    CoptionsGame g;
    ASSERT_TRUE(g.initOk());
    g.toOptions(GM_PRESS_START);
    EXPECT_EQ(itemWithValue(screens::get<CoptionsScreen>()->menu(), OPT_VIRTUAL_STICKS), nullptr);
    gEngine->input.player(0)->setDevice(DEVICE_TOUCH);
    Csettings& s = g->saveLoad.settings;
    s.stickSize = 5;
    g.toOptions(GM_PRESS_START);
    g.chooseValue(screens::get<CoptionsScreen>()->menu(), OPT_VIRTUAL_STICKS);
    g.settle();
    ASSERT_EQ(g.mode(), GM_OPTIONS_VIRTUAL_THUMB_STICKS);
    CoptionsVirtualThumbSticksScreen& v = *screens::get<CoptionsVirtualThumbSticksScreen>();
    for (int i = 0; i < CoptionsVirtualThumbSticksScreen::COUNT; ++i)
        EXPECT_EQ(v.menu(i) ? rowPartsOutsideList(*v.menu(i)) : std::string(), "");
    const float r0 = gEngine->input.sticks.stick(0).radius;
    g.chooseValue(v.menu(CoptionsVirtualThumbSticksScreen::SIZE), 9);   // size 10
    g.steps(1);
    EXPECT_EQ(s.stickSize, 10);
    EXPECT_NE(gEngine->input.sticks.stick(0).radius, r0);
    g.tapAction(ACTION_BACK);
    g.settle();
    EXPECT_EQ(s.stickSize, 5);
    g.open(GM_OPTIONS_VIRTUAL_THUMB_STICKS);
    g.chooseValue(v.menu(CoptionsVirtualThumbSticksScreen::STICK_TYPE), 1);
    g.tapAction(ACTION_SELECT);
    g.settle();
    EXPECT_EQ(g.reloaded().stickType, 1);
}

// A screen seen in Russian and seen again after Japanese was chosen reads
// no Russian, no English the Japanese table translates and no bare text tag:
// whatever code filled is filled again.
TEST(OptionsScreen, TextsCodeFilledReadInTheLanguageChosenSince) {
    CoptionsGame g;
    ASSERT_TRUE(g.initOk());
    struct Crow {
        int mode;
        Clayout* (*layout)();
    };
    const Crow rows[] = {
        {GM_OPTIONS, [] { return (Clayout*)screens::get<CoptionsScreen>(); }},
        {GM_OPTIONS_VOLUME, [] { return (Clayout*)screens::get<CoptionsVolumeScreen>(); }},
        {GM_OPTIONS_NOTIFICATIONS, [] { return (Clayout*)screens::get<CoptionsNotificationsScreen>(); }},
        {GM_OPTIONS_VIRTUAL_THUMB_STICKS, [] { return (Clayout*)screens::get<CoptionsVirtualThumbSticksScreen>(); }},
        {GM_MAIN_MENU, [] { return (Clayout*)screens::get<CmainMenuScreen>(); }},
        {GM_GAME_SETTINGS, [] { return (Clayout*)screens::get<CgameSettingsScreen>(); }},
    };
    gEngine->setLanguage(13);
    // English texts and tags Japanese reads otherwise, by the English table's lines: Tag "text".
    std::set<std::string> english;
    std::ifstream in(gEngine->dataPath("textFiles/stringsGameEnglish.txt"));
    for (std::string line; std::getline(in, line);) {
        const size_t q = line.find('"'), tagEnd = line.find_first_of(" \t");
        if (q == std::string::npos || line.back() != '"' || tagEnd == std::string::npos) continue;
        const std::string text = line.substr(q + 1, line.size() - q - 2), tag = line.substr(0, tagEnd);
        if (text.size() > 1 && text != gEngine->language().text(tag)) english.insert(text);
        if (tag != gEngine->language().text(tag)) english.insert(tag);
    }
    ASSERT_GT(english.size(), 500u);
    auto leftOver = [&](Cscreen* s) {
        std::string out;
        auto scan = [&](const Cwidget& w) {
            if (w.name == "ShipName") return;   // a name reads the same in every language
            for (const auto& gd : w.gadgets) {
                if (gd.kind != GADGET_TEXT) continue;
                const std::string& t = gd.text.str();
                const bool cyrillic = t.find("\xD0") != std::string::npos || t.find("\xD1") != std::string::npos;
                if (cyrillic || english.count(t)) out += w.name + ": " + t + "\n";
            }
        };
        for (auto& w : s->widgets) scan(*w);
        for (auto& m : s->menus)
            for (auto& it : m->items) scan(*it);
        return out;
    };
    for (const Crow& r : rows) {
        gEngine->setLanguage(6);
        g.open(r.mode);
        g.open(GM_MAIN_MENU);
        gEngine->setLanguage(13);
        g.open(r.mode);
        EXPECT_EQ(leftOver(r.layout()->screen()), "") << gameModeName(r.mode);
    }
    gEngine->setLanguage(1);
}

// Back from one of its screens (the credits), the options menu has the item
// the player chose.
TEST(OptionsScreen, KeepsItsItemWhenThePlayerComesBackAndStoresTheResolution) {
    CoptionsGame g;
    ASSERT_TRUE(g.initOk());
    g.toOptions(GM_MAIN_MENU);
    Cmenu* m = screens::get<CoptionsScreen>()->menu();
    for (int i = 0; i < 20 && m->getSelectedItemInt() != OPT_CREDITS; ++i) g.tapKey(SDL_SCANCODE_DOWN);
    ASSERT_EQ(m->getSelectedItemInt(), OPT_CREDITS);
    g.tapKey(SDL_SCANCODE_RETURN);
    g.settle();
    ASSERT_EQ(g.mode(), GM_CREDITS);
    // The credits scroll with the keys until their last line shows, drawn inside the list's box.
    Cmenu* list = screens::get<CcreditsScreen>()->list();
    ASSERT_GT(list->itemCount(), 60u);
    const Crect area = list->areaRect();
    Cwidget* last = list->item(list->itemCount() - 1);
    for (int i = 0; i < 400 && last->rect().bottom() > area.bottom() + 0.5f; ++i) g.tapKey(SDL_SCANCODE_DOWN);
    EXPECT_NEAR(last->rect().bottom(), area.bottom(), 0.5f);
    g.tapAction(ACTION_BACK);
    g.settle();
    ASSERT_EQ(g.mode(), GM_OPTIONS);
    EXPECT_TRUE(m->getSelectedItem()->highlighted);
    EXPECT_EQ(m->getSelectedItemInt(), OPT_CREDITS);
    g.toOptions(GM_MAIN_MENU);
    EXPECT_EQ(m->getSelectedIdx(), 0);

    // A resolution unchanged goes straight back; a new one is stored, with
    // the message that it takes a restart.
    CsetRezScreen& rez = *screens::get<CsetRezScreen>();
    g->video = CvideoSettings();
    g->video.width = 1280;
    g->video.height = 720;
    rez.clearModes();
    rez.addResolution(0, 1920, 1080);
    rez.addResolution(0, 1600, 900);
    rez.addResolution(0, 1280, 720);
    g.open(GM_SET_REZ);
    EXPECT_TRUE(rez.rezButton(2)->toggle);
    EXPECT_TRUE(rez.rezButton(3)->hidden);
    g.tapAction(ACTION_SELECT);
    g.settle();
    EXPECT_EQ(g.mode(), GM_OPTIONS);

    g.open(GM_SET_REZ);
    g.click(rez.modeButton(REZ_BORDERLESS));   // the native size
    EXPECT_TRUE(rez.rezButton(0)->toggle);
    g.click(rez.rezButton(1));                 // a window again
    g.tapAction(ACTION_SELECT);
    g.settle();
    EXPECT_EQ(g.mode(), GM_CONFIRM);
    Csettings file = g.reloaded();
    EXPECT_EQ(file.width, 1600);
    EXPECT_FALSE(file.fullScreen);
    EXPECT_FALSE(file.borderless);
    Cmenu* cm = screens::get<CconfirmStateScreen>()->menu();
    ASSERT_EQ(cm->itemCount(), 1u);
    EXPECT_EQ(cm->item(0)->value, GM_REALLY_EXIT);
}
