// A language chosen from the options, as a player does, reads at once on
// every screen: the options and the main menu, the music bar over them and
// the button bar.
#include "roadFixture.h"
#include "screens/mainMenu.h"
#include "screens/musicBar.h"
#include "screens/options.h"
#include "screensFixture.h"

namespace {
std::vector<std::string> barTexts() {
    std::vector<std::string> v;
    for (auto& b : gUi->buttonBar.buttons())
        if (!b.hidden) v.push_back(b.text);
    return v;
}

std::string gadgetText(Cwidget* w, const char* gadget) {
    Cgadget* g = w ? w->findTextGadget(gadget, false) : nullptr;
    return g ? g->text.str() : std::string("(no gadget)");
}
}  // namespace

TEST_F(RoadTest, GermanChosenInTheOptionsReadsAtOnceOnEveryScreen) {
    makeGame();
    toTitle();
    pressReturn();   // the first run asks for a language: English
    ASSERT_TRUE(reachMode(GM_MAIN_MENU, 30));
    chooseLanguage = false;
    dismissTutorials();
    CmainMenuScreen* mainMenu = screens::get<CmainMenuScreen>();
    CmusicBarScreen* musicBar = screens::get<CmusicBarScreen>();
    Cwidget* play = mainMenu->screen()->findWidget("Play");
    ASSERT_NE(play, nullptr);
    EXPECT_EQ(play->getText(), "PLAY");
    EXPECT_EQ(barTexts(), std::vector<std::string>{"OK"});
    // The playing track finished once on Normal: the bar names the difficulty.
    CsongPackInfo* track = gGame->music.currentTrack;
    ASSERT_NE(track, nullptr);
    gGame->trackStats.submitScore(track->getKey(), 4000, 1, 1.0f, {}, "");
    musicBar->setTrack(track);
    g->steps(2);
    EXPECT_EQ(gadgetText(musicBar->bar(), "Progress"), "100% (Normal)");

    click(mainMenu->screen()->findWidget("Options"));
    ASSERT_TRUE(reachMode(GM_OPTIONS));
    EXPECT_EQ(barTexts(), (std::vector<std::string>{"OK", "BACK"}));
    Cmenu* options = screens::get<CoptionsScreen>()->menu();
    Cwidget* languageItem = itemWithValue(options, 4);
    ASSERT_NE(languageItem, nullptr);
    EXPECT_EQ(languageItem->getText(), "Language");
    click(languageItem);
    ASSERT_TRUE(reachMode(GM_LANGUAGE));
    ClanguageScreen* language = screens::get<ClanguageScreen>();
    ASSERT_TRUE(runUntil([language] { return !language->screen()->entering; }));
    click(itemWithValue(language->menu(), 2));
    ASSERT_TRUE(waitLog("Language = German"));
    // Still leaving the language screen: the bar and the music bar already read German.
    EXPECT_EQ(gadgetText(musicBar->bar(), "Progress"), "100% (Mittel)");
    ASSERT_TRUE(reachMode(GM_OPTIONS));
    EXPECT_EQ(itemWithValue(options, 4)->getText(), "Sprache");
    EXPECT_EQ(barTexts(), (std::vector<std::string>{"OK", "ZURÜCK"}));
    EXPECT_EQ(gadgetText(musicBar->bar(), "Progress"), "100% (Mittel)");

    tapKey(SDL_SCANCODE_BACKSPACE);
    ASSERT_TRUE(reachMode(GM_MAIN_MENU));
    EXPECT_EQ(play->getText(), "SPIELEN");
    EXPECT_EQ(mainMenu->screen()->findWidget("Options")->getText(), "Optionen");
    EXPECT_EQ(barTexts(), std::vector<std::string>{"OK"});
    EXPECT_EQ(mainMenu->screen()->findWidget("Rank")->getText().rfind("Rang: ", 0), 0u)
        << mainMenu->screen()->findWidget("Rank")->getText();
    EXPECT_FALSE(g->logHas("can't find tag"));
}
