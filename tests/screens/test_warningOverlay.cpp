#include <gtest/gtest.h>

#include "screensFixture.h"

namespace {
// A screen with a menu whose choices the test counts.
struct CmenuScreen : public CscreenSlot {
    Cscreen* screen = nullptr;
    int chosen = 0;
    void enter() override {
        screen->enterOpening();
        gUi->buttonBar.addButtonByKey("BACK", ACTION_BACK, ICON_BACK);
    }
    void update() override {
        screen->update();
        if (screen->findMenu("Menu")->highlightedItem()) ++chosen;
    }
};
}  // namespace

TEST(WarningOverlay, OkClosesItWithoutActingOnTheScreenUnderneath) {
    CscreensGame g;
    ASSERT_TRUE(g.initOk());
    CmenuScreen menu;
    menu.screen = gUi->loadScreenFromText("menuUnder", "Menu Menu\nPos 0.5 0.3\nItem OK 1\nEndMenu\nEndFile\n");
    ASSERT_NE(menu.screen, nullptr);
    g->setScreen(GM_MAIN_MENU, &menu);
    g->setGameMode(GM_MAIN_MENU);
    g.tapAction(ACTION_SELECT);
    EXPECT_EQ(menu.chosen, 1);

    CwarningOverlay& w = g->warningOverlay;
    w.show("Notice", "The service is down for a while.");
    EXPECT_EQ(w.screen()->findWidget("Message")->getText("TextName"), "The service is down for a while.");
    // The screen underneath keeps its button bar.
    EXPECT_TRUE(gUi->buttonBar.hasAction(ACTION_BACK));
    g.settle();
    g.tapAction(ACTION_SELECT);
    EXPECT_FALSE(w.visible);
    EXPECT_EQ(menu.chosen, 1);   // the press answered the warning only
    g.settle();
    g.tapAction(ACTION_SELECT);
    EXPECT_EQ(menu.chosen, 2);

    // Shown, it stays across a change of state.
    CrecordingScreen options;
    g->setScreen(GM_OPTIONS, &options);
    w.setVisible(true);
    g->setGameMode(GM_OPTIONS, true);
    g.steps(70);
    EXPECT_EQ(g.mode(), GM_OPTIONS);
    EXPECT_TRUE(w.visible);
}
