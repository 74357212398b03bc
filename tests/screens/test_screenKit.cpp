// What every screen is built on: the layout base with its binding table and
// the registry that makes and binds the screens.
#include <gtest/gtest.h>

#include "screens/exit.h"
#include "screens/layoutScreen.h"
#include "screens/screenRegistry.h"
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
}  // namespace

// Every registered screen binds completely against the shipped layouts; a
// table naming what a layout lacks fails the load in one log line.
TEST(ScreenBindings, MissingNamesFailTheLoadInOneLogLine) {
    CscreensGame g;
    ASSERT_TRUE(g.initOk());
    EXPECT_EQ(screens::checkBindings(), std::vector<std::string>{});
    EXPECT_FALSE(g.logPrefix("Can't bind "));
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
    EXPECT_EQ(probe.no_, probe.screen()->findWidget("No"));
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
    ASSERT_TRUE(g->setGameMode(GM_CREDITS));
    EXPECT_EQ(g.mode(), GM_OPTIONS);   // fading out first
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
    EXPECT_EQ(g->overlay(OVERLAY_EXIT), static_cast<CoverlaySlot*>(screens::get<CexitPopup>()));
    EXPECT_EQ(g->screen(GM_PLAYING), &g->playScreen);
    for (int m = 0; m < GM_COUNT; ++m)
        EXPECT_EQ(g->screen(m) != nullptr, gameModeHasScreen(m)) << gameModeName(m);
}
