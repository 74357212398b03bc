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
    EXPECT_EQ(w.screen()->findWidget("Title")->getText("TextName"), "Notice");
    EXPECT_EQ(w.screen()->findWidget("Message")->getText("TextName"), "The service is down for a while.");
    // The screen underneath keeps its button bar.
    EXPECT_TRUE(gUi->buttonBar.hasAction(ACTION_BACK));
    g.settle();
    g.tapAction(ACTION_SELECT);
    EXPECT_FALSE(w.visible);
    EXPECT_EQ(menu.chosen, 1);   // the press answered the warning only
    g.settle();
    EXPECT_FALSE(g->overlay(OVERLAY_WARNING)->showing());
    g.tapAction(ACTION_SELECT);
    EXPECT_EQ(menu.chosen, 2);
}

TEST(WarningOverlay, StaysAcrossStateChangesAndFadesAboutTheCentre) {
    CscreensGame g;
    ASSERT_TRUE(g.initOk());
    CrecordingScreen a, b;
    g->setScreen(GM_MAIN_MENU, &a);
    g->setScreen(GM_OPTIONS, &b);
    g->setGameMode(GM_MAIN_MENU);
    CwarningOverlay& w = g->warningOverlay;
    w.setVisible(true);
    g->setGameMode(GM_OPTIONS, true);
    g.steps(70);
    EXPECT_EQ(g.mode(), GM_OPTIONS);
    EXPECT_TRUE(w.visible);

    // Half-way into the fade the panel is drawn smaller, about the screen's centre.
    w.setVisible(false);
    w.setVisible(true);   // a new show replaces the running fade at once
    g.steps(3);
    ASSERT_TRUE(w.fading());
    Crenderer& r = gEngine->renderer;
    r.beginFrame();
    w.render();
    Cwidget* box = w.screen()->findWidget("Box");
    Crect full = box->rect();
    float cx = (float)gEngine->halfScreenWidth, cy = (float)gEngine->halfScreenHeight;
    bool found = false;
    for (const auto& q : r.quads()) {
        if (q.width >= gEngine->screenWidth) continue;   // the darkening
        if (std::abs(q.x - cx) < 1 && std::abs(q.y - cy) < 1 && q.width < full.w && q.width > full.w * 0.2f) {
            found = true;
            break;
        }
    }
    EXPECT_TRUE(found);
    // Widgets are back in place after the draw.
    EXPECT_FLOAT_EQ(box->rect().w, full.w);
    EXPECT_FLOAT_EQ(w.screen()->findWidget("OK")->y, cy + 110 * gUi->scale());
}
