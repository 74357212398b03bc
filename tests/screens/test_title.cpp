// The title screen.
#include "screens/config.h"
#include "roadFixture.h"
#include "screens/exit.h"
#include "screens/pressStart.h"
#include "screens/screenRegistry.h"

class TitleTest : public RoadTest {
protected:
    void SetUp() override {
        RoadTest::SetUp();
        CpressStartScreen::firstVisit = true;
    }
    Cwidget* w(const char* name) { return screens::get<CpressStartScreen>()->screen()->findWidget(name); }
};

TEST_F(TitleTest, EnterShowsTheIdAndAnimatesSoonerOnTheSecondVisit) {
    makeGame("-SteamBoards");
    toTitle();
    EXPECT_GT(w("SmileLogo")->effect->delay(), 1.45f);
    EXPECT_TRUE(w("YourId")->hidden);   // no account: no id
    // A second visit, with an account: its id, and the marks come in sooner.
    ASSERT_TRUE(gGame->setGameMode(GM_ACHIEVEMENTS));
    ASSERT_TRUE(reachMode(GM_ACHIEVEMENTS));
    writeLogin("pilot@example.com", "hunter2");
    ASSERT_TRUE(gGame->setGameMode(GM_PRESS_START));
    ASSERT_TRUE(reachMode(GM_PRESS_START));
    EXPECT_EQ(w("GUID")->getText("TextName"), std::to_string((long long)gEngine->steamId));
    EXPECT_LT(w("SmileLogo")->effect->delay(), 0.5f);
}

TEST_F(TitleTest, EscapeResetsVideoAndLanguageAndQuitsKeepingTheSave) {
    makeGame("-SteamBoards");
    writeSave(800, true);
    Csettings& s = gGame->saveLoad.settings;
    s.width = 1920;
    s.fullScreen = true;
    s.language = 1;
    ASSERT_TRUE(gGame->saveLoad.saveSettings());
    Cbytes before;
    ASSERT_TRUE(readFile(savePath("gamesave3"), before));
    toTitle();
    tapKey(SDL_SCANCODE_ESCAPE);
    EXPECT_TRUE(gGame->quit);
    Cbytes after;
    ASSERT_TRUE(readFile(savePath("gamesave3"), after));
    EXPECT_EQ(after, before);
    // The settings file holds the defaults for the next start.
    Csettings& live = gGame->saveLoad.settings;
    live.width = 1;
    ASSERT_TRUE(gGame->saveLoad.loadSettings());
    EXPECT_EQ(live.width, 1280);
    EXPECT_FALSE(live.fullScreen);
    EXPECT_EQ(live.language, 0);
}

// A pad pressed at the title: one without mappings is set up first, with its
// glyphs; one with mappings starts the game on the player's own buttons.
TEST_F(TitleTest, AGamepadIsSetUpFirstOrStartsTheGameOnItsMappings) {
    const struct { const char* name; bool mapped; int button, mode, glyphs; } rows[] = {
        {"PS4 Controller", false, 0, GM_CONFIG, CbuttonBar::PAD_GLYPHS_PLAYSTATION},
        {"Generic Pad", true, 1, GM_MAIN_MENU, CbuttonBar::PAD_GLYPHS_XBOX}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        g.reset();
        makeGame("-SteamBoards");
        int pad = g->attachPad(r.name);
        if (r.mapped) ASSERT_TRUE(gEngine->input.mappings.store({r.name, {CactionBinding::forJoyButton(ACTION_SELECT, 3)}}));
        toTitle();
        g->padButton(pad, r.button, true);
        g->steps(2);
        g->padButton(pad, r.button, false);
        ASSERT_TRUE(reachMode(r.mode));
        EXPECT_EQ(gUi->buttonBar.padGlyphs, r.glyphs);
        if (!r.mapped) {
            EXPECT_FALSE(g->logHas("GameMode = StartUp"));
            // The set-up works on that pad and comes back to the title.
            const CconfigFlow& flow = screens::get<CconfigScreen>()->flow();
            EXPECT_EQ(flow.joystick(), g->padSlot(pad));
            EXPECT_EQ(flow.doneState(), GM_PRESS_START);
            continue;
        }
        EXPECT_FALSE(gEngine->platform.cursorShown());
        // Select on button 3 in place of 0, the other buttons as they were.
        const CinputPlayer& p = *gEngine->input.player(0);
        ASSERT_NE(p.findBinding(ACTION_SELECT), nullptr);
        EXPECT_EQ(p.findBinding(ACTION_SELECT)->joyButton, 3);
        EXPECT_EQ(p.bindings.size(), defaultControllerBindings().size());
    }
}

// Return presses the button under the pointer, but not the Exit button the
// exit question was asked from.
TEST_F(TitleTest, ReturnPressesTheHighlightedButtonButNotTheOneThatAskedToExit) {
    makeGame("-SteamBoards");
    toTitle();
    g->steps(200);   // the buttons have come in
    Cwidget* options = w("Options");
    g->mouseMove((int)options->x, (int)options->y);
    g->steps(2);
    ASSERT_TRUE(options->highlighted);
    pressReturn();
    ASSERT_TRUE(reachMode(GM_OPTIONS));
    EXPECT_FALSE(g->logHas("GameMode = StartUp"));

    ASSERT_TRUE(gGame->setGameMode(GM_PRESS_START));
    ASSERT_TRUE(reachMode(GM_PRESS_START));
    g->steps(200);
    CexitPopup* popup = screens::get<CexitPopup>();
    click(w("Exit"));
    ASSERT_TRUE(popup->showing());
    g->steps(30);
    click(popup->screen()->findWidget("No"));
    g->steps(32);
    ASSERT_FALSE(popup->showing());
    EXPECT_FALSE(w("Exit")->highlighted);
    pressReturn();
    g->steps(2);
    EXPECT_FALSE(popup->showing());
    EXPECT_TRUE(reachMode(GM_MAIN_MENU));
}
