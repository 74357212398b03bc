// What every screen is built on: the layout base with its binding table, the
// registry that makes and binds the screens, the stand-in for states without
// a screen, and the typed hand-over between screens.
#include <gtest/gtest.h>

#include "screens/exit.h"
#include "screens/language.h"
#include "screens/layoutScreen.h"
#include "screens/mainMenu.h"
#include "screens/musicBar.h"
#include "screens/placeholder.h"
#include "screens/screenRegistry.h"
#include "screens/signIn.h"
#include "screensFixture.h"

namespace {
// A screen on the exit question's layout that counts its hooks.
class CprobeScreen : public ClayoutScreen {
public:
    explicit CprobeScreen(Eleave leave = LEAVE_FADING);

    bool onLoaded() override { return ++loaded > 0; }
    void onEnter() override {
        barOnEnter = gUi->buttonBar.buttons().size();
        gUi->buttonBar.addButtonByKey("OK", ACTION_SELECT, ICON_OK);
    }
    void onUpdate() override { ++updated; }

    static const CwidgetBinding kBindings[];
    Cwidget* yes_ = nullptr;
    Cwidget* no_ = nullptr;
    int loaded = 0, updated = 0;
    size_t barOnEnter = 99;
};
const CwidgetBinding CprobeScreen::kBindings[] = {{&CprobeScreen::yes_, "Yes"}, {&CprobeScreen::no_, "No"}};
CprobeScreen::CprobeScreen(Eleave leave) : ClayoutScreen("exit.txt", kBindings, leave) {}

// A table naming a widget the layout lacks, and a widget as a menu.
class CbrokenScreen : public ClayoutScreen {
public:
    CbrokenScreen();
    bool onLoaded() override { return hookRan = true; }

    static const CwidgetBinding kBindings[];
    Cwidget* yes_ = nullptr;
    Cwidget* maybe_ = nullptr;
    Cmenu* no_ = nullptr;
    bool hookRan = false;
};
const CwidgetBinding CbrokenScreen::kBindings[] = {
    {&CbrokenScreen::yes_, "Yes"}, {&CbrokenScreen::maybe_, "Maybe"}, {&CbrokenScreen::no_, "No"}};
CbrokenScreen::CbrokenScreen() : ClayoutScreen("exit.txt", kBindings) {}

std::string joined(const std::vector<std::string>& names) {
    std::string out;
    for (const std::string& n : names) out += n + "; ";
    return out;
}
}  // namespace

TEST(ScreenBindings, EveryRegisteredScreenBindsCompletelyAgainstTheShippedLayouts) {
    CscreensGame g;
    ASSERT_TRUE(g.initOk());
    std::vector<std::string> missing = screens::checkBindings();
    EXPECT_TRUE(missing.empty()) << joined(missing);
    EXPECT_FALSE(g.logPrefix("Can't bind "));
}

TEST(ScreenBindings, MissingNamesFailTheLoadInOneLogLine) {
    CscreensGame g;
    ASSERT_TRUE(g.initOk());
    CbrokenScreen broken;
    EXPECT_EQ(broken.missingBindings(), (std::vector<std::string>{"Yes", "Maybe", "No"}));   // nothing loaded yet
    EXPECT_FALSE(broken.load());
    EXPECT_FALSE(broken.hookRan);
    EXPECT_EQ(g.logLinesStartingWith("Can't bind "), (std::vector<std::string>{"Can't bind exit.txt: missing Maybe, No"}));
    EXPECT_FALSE(g.logPrefix("Can't find widget: Maybe"));
    EXPECT_NE(broken.yes_, nullptr);
    EXPECT_EQ(broken.missingBindings(), (std::vector<std::string>{"Maybe", "No"}));

    CprobeScreen probe;
    ASSERT_TRUE(probe.load());
    EXPECT_EQ(probe.loaded, 1);
    EXPECT_EQ(probe.yes_, probe.screen()->findWidget("Yes"));
    EXPECT_EQ(probe.no_, probe.screen()->findWidget("No"));
    EXPECT_TRUE(probe.missingBindings().empty());
}

TEST(LayoutScreen, OpensForItsOwnButtonsAndTakesNoInputWhileFadingOut) {
    CscreensGame g;
    ASSERT_TRUE(g.initOk());
    CprobeScreen probe;
    CrecordingScreen next;
    ASSERT_TRUE(probe.load());
    g->setScreen(GM_OPTIONS, &probe);
    g->setScreen(GM_CREDITS, &next);
    gUi->buttonBar.addButtonByKey("BACK", ACTION_BACK, ICON_BACK);   // the screen before's

    ASSERT_TRUE(g->setGameMode(GM_OPTIONS));
    EXPECT_EQ(probe.barOnEnter, 0u);
    ASSERT_EQ(gUi->buttonBar.buttons().size(), 1u);
    EXPECT_EQ(gUi->buttonBar.buttons()[0].action, ACTION_SELECT);
    g.steps(3);
    EXPECT_GE(probe.updated, 3);

    ASSERT_TRUE(g->setGameMode(GM_CREDITS));
    EXPECT_EQ(g.mode(), GM_OPTIONS);   // fading out first
    EXPECT_TRUE(probe.screen()->leaving);
    const int updated = probe.updated;
    g.steps(1);
    EXPECT_EQ(probe.updated, updated);
    g.settle();
    EXPECT_EQ(g.mode(), GM_CREDITS);
    EXPECT_EQ(next.enters, 1);

    // A screen made to go at once lets the next state in on the same call.
    CprobeScreen quick(ClayoutScreen::LEAVE_AT_ONCE);
    ASSERT_TRUE(quick.load());
    g->setScreen(GM_OPTIONS, &quick);
    ASSERT_TRUE(g->setGameMode(GM_OPTIONS));
    ASSERT_TRUE(g->setGameMode(GM_CREDITS));
    EXPECT_EQ(g.mode(), GM_CREDITS);
    EXPECT_EQ(next.enters, 2);
}

TEST(ScreenRegistry, BindsEachScreenToItsSlotAndOneStandInToTheRest) {
    CtestGame g;
    ASSERT_TRUE(g.initOk());
    EXPECT_EQ(g->screen(GM_SIGN_IN), static_cast<CscreenSlot*>(screens::get<CsignInScreen>()));
    EXPECT_EQ(g->screen(GM_EXIT), static_cast<CscreenSlot*>(screens::get<CexitScreen>()));
    EXPECT_EQ(g->overlay(OVERLAY_EXIT), static_cast<CoverlaySlot*>(screens::get<CexitPopup>()));
    EXPECT_EQ(g->screen(GM_PLAYING), &g->playScreen);
    CscreenSlot* standIn = screens::get<CplaceholderScreen>();
    ASSERT_NE(standIn, nullptr);
    for (int m = 0; m < GM_COUNT; ++m)
        EXPECT_EQ(g->screen(m) != nullptr, gameModeHasScreen(m)) << gameModeName(m);
    EXPECT_EQ(g->screen(GM_MAIN_MENU), static_cast<CscreenSlot*>(screens::get<CmainMenuScreen>()));
    EXPECT_EQ(g->overlay(OVERLAY_MUSIC_BAR), static_cast<CoverlaySlot*>(screens::get<CmusicBarScreen>()));
}

TEST(StandIn, NamesTheStateAndBackNeverLeavesThePlayerStuck) {
    CscreensGame g;
    ASSERT_TRUE(g.initOk());
    CrecordingScreen title, startUp, menu;
    g->setScreen(GM_PRESS_START, &title);
    g->setScreen(GM_START_UP, &startUp);
    g->setScreen(GM_MAIN_MENU, &menu);
    CplaceholderScreen& standIn = *screens::get<CplaceholderScreen>();
    // States shown by the stand-in here, though each has a screen of its own by now.
    for (int m : {GM_GALLERY, GM_HANGAR, GM_SHARE_MOMENT, GM_EDIT_MODULES, GM_SHIP_EDITOR, GM_UNLOCK_TB_SHIP}) g->setScreen(m, &standIn);
    // No state of the game needs it any more, so the loading never loaded it.
    ASSERT_TRUE(standIn.load());
    auto back = [&g] {
        ASSERT_TRUE(gUi->buttonBar.hasAction(ACTION_BACK));
        g.tapAction(ACTION_BACK);
    };

    // To where the player came from.
    g->setGameMode(GM_PRESS_START);
    g->setGameMode(GM_EDIT_MODULES);
    EXPECT_EQ(standIn.screen()->findWidget("Title")->getText("TextName"), gameModeName(GM_EDIT_MODULES));
    EXPECT_EQ(standIn.backState(), GM_PRESS_START);
    back();
    EXPECT_EQ(g.mode(), GM_PRESS_START);
    EXPECT_EQ(title.enters, 2);

    // A state passed through is not gone back to: the main menu instead.
    g->setGameMode(GM_START_UP);
    g->setGameMode(GM_UNLOCK_TB_SHIP);
    back();
    EXPECT_EQ(g.mode(), GM_MAIN_MENU);
    EXPECT_EQ(menu.enters, 1);
    EXPECT_EQ(startUp.enters, 1);
}

TEST(LanguageChoice, OpenTakesWhereToGoAndAChoiceLeadsThere) {
    CscreensGame g;
    ASSERT_TRUE(g.initOk());
    CrecordingScreen region;
    g->setScreen(GM_CHINA_CHECK, &region);
    ClanguageScreen& choice = *screens::get<ClanguageScreen>();
    choice.open(GM_CHINA_CHECK, GM_PRESS_START);
    EXPECT_EQ(choice.choiceState(), GM_CHINA_CHECK);
    EXPECT_EQ(choice.backState(), GM_PRESS_START);
    g.settle();
    EXPECT_EQ(g.mode(), GM_LANGUAGE);
    g.tapAction(ACTION_SELECT);   // English, at the top
    EXPECT_TRUE(g.logHas("Language = English"));
    EXPECT_EQ(g->saveLoad.settings.language, 1);
    g.steps(70);   // the fade
    EXPECT_EQ(g.mode(), GM_CHINA_CHECK);
    EXPECT_EQ(region.enters, 1);
}
