#include <gtest/gtest.h>

#include "screensFixture.h"
#include "screens/confirm.h"
#include "screens/screenRegistry.h"

namespace {
struct CconfirmFixture {
    CscreensGame g;
    CrecordingScreen menu, options;
    CconfirmScreen& c = *screens::get<CconfirmScreen>();
    CconfirmFixture() {
        g->setScreen(GM_MAIN_MENU, &menu);
        g->setScreen(GM_OPTIONS, &options);
        g->setGameMode(GM_MAIN_MENU);
        gEngine->ui.buttonBar.addButtonByKey("BACK", ACTION_BACK, ICON_BACK);   // the menu's own bar
    }
    // The order every user of the overlay follows.
    void ask(bool allowBack) {
        c.reset();
        c.setMessage("Delete the ship?");
        c.allowBack = allowBack;
        c.addMenuItem("Yes", 0);
        c.addMenuItem("No", 1);
        c.addMenuItem("Later", 2);
        c.enter();
    }
};
}  // namespace

TEST(ConfirmOverlay, AnswersWithTheChosenItemsValueAndStepsAloneMeanwhile) {
    CconfirmFixture f;
    ASSERT_TRUE(f.g.initOk());
    size_t bars = gEngine->ui.buttonBar.depth();
    f.ask(false);
    EXPECT_TRUE(f.c.showing());
    EXPECT_EQ(gEngine->ui.buttonBar.depth(), bars + 1);
    ASSERT_EQ(gEngine->ui.buttonBar.buttons().size(), 1u);   // "OK" only: no way back offered
    EXPECT_EQ(f.c.screen()->findWidget("Title")->getText("TextName"), gEngine->text("ConfirmTitle"));
    EXPECT_EQ(f.c.screen()->findWidget("Message")->getText("TextName"), "Delete the ship?");
    EXPECT_EQ(f.c.screen()->findWidget("Message2")->getText("TextName"), "");
    int before = f.menu.updates;

    f.g.tapKey(SDL_SCANCODE_DOWN);
    f.g.tapKey(SDL_SCANCODE_DOWN);
    EXPECT_FALSE(f.c.chosen);
    f.g.tapAction(ACTION_SELECT);
    EXPECT_TRUE(f.c.chosen);
    EXPECT_FALSE(f.c.showing());
    EXPECT_FLOAT_EQ(f.c.value, 2.0f);
    EXPECT_FALSE(f.c.backedOut);
    // The pushed bar is gone; the menu's own is back.
    EXPECT_EQ(gEngine->ui.buttonBar.depth(), bars);
    EXPECT_TRUE(gEngine->ui.buttonBar.hasAction(ACTION_BACK));
    // The state's screen waited while the question was up.
    EXPECT_EQ(f.menu.updates, before);
    f.g.steps(2);
    EXPECT_GT(f.menu.updates, before);
}

TEST(ConfirmOverlay, BackIsRefusedUnlessAllowedAndIsToldApartFromTheFirstItem) {
    CconfirmFixture f;
    ASSERT_TRUE(f.g.initOk());
    f.ask(false);
    f.g.tapAction(ACTION_BACK);
    EXPECT_TRUE(f.c.showing());
    EXPECT_FALSE(f.c.chosen);

    f.ask(true);
    EXPECT_TRUE(gEngine->ui.buttonBar.hasAction(ACTION_BACK));
    f.g.tapAction(ACTION_BACK);
    EXPECT_TRUE(f.c.chosen);
    EXPECT_FLOAT_EQ(f.c.value, 0.0f);
    EXPECT_TRUE(f.c.backedOut);

    // The first item gives the same value; backedOut says which it was.
    f.ask(true);
    EXPECT_FALSE(f.c.backedOut);
    f.g.tapAction(ACTION_SELECT);
    EXPECT_TRUE(f.c.chosen);
    EXPECT_FLOAT_EQ(f.c.value, 0.0f);
    EXPECT_FALSE(f.c.backedOut);
}

TEST(ConfirmOverlay, PointerClicksAnItemOrTheBarsOk) {
    CconfirmFixture f;
    ASSERT_TRUE(f.g.initOk());
    f.ask(true);
    f.g.settle();
    f.g.click(f.c.menu()->item(1));
    EXPECT_TRUE(f.c.chosen);
    EXPECT_FLOAT_EQ(f.c.value, 1.0f);

    f.ask(true);
    f.g.settle();
    const auto& buttons = gEngine->ui.buttonBar.buttons();
    ASSERT_EQ(buttons.size(), 2u);
    ASSERT_EQ(buttons[0].action, ACTION_SELECT);
    f.g.clickAt(buttons[0].rect.cx(), buttons[0].rect.cy());
    EXPECT_TRUE(f.c.chosen);
    EXPECT_FLOAT_EQ(f.c.value, 0.0f);   // the selected first item
    EXPECT_FALSE(f.c.backedOut);
}

TEST(ConfirmOverlay, DrawnOverTheStateWithTheViewDarkened) {
    CconfirmFixture f;
    ASSERT_TRUE(f.g.initOk());
    f.ask(false);
    f.g.settle();
    Crenderer& r = gEngine->renderer;
    r.beginFrame();
    int before = f.menu.renders;
    f.g->draw();
    EXPECT_EQ(f.menu.renders, before + 1);
    bool darkened = false;
    for (const auto& q : r.quads())
        if (q.width >= gEngine->screenWidth && q.height >= gEngine->screenHeight && q.colour.a == 0.5f &&
            q.colour.r == 0.0f)
            darkened = true;
    EXPECT_TRUE(darkened);
}

TEST(ConfirmState, TheChosenItemNamesTheStateToGoTo) {
    CscreensGame g;
    ASSERT_TRUE(g.initOk());
    CrecordingScreen options;
    g->setScreen(GM_OPTIONS, &options);
    CconfirmStateScreen& cs = *screens::get<CconfirmStateScreen>();
    cs.setMessages();
    cs.setMessage("A newer version is out.");
    cs.addItem("Options", GM_OPTIONS);
    cs.addItem("Nowhere", GM_INIT);
    ASSERT_TRUE(g->setGameMode(GM_CONFIRM));
    EXPECT_EQ(g.mode(), GM_CONFIRM);
    ASSERT_EQ(gEngine->ui.buttonBar.buttons().size(), 1u);
    EXPECT_EQ(gEngine->ui.buttonBar.buttons()[0].text, gEngine->text("OK"));
    g.settle();

    // A choice naming a state without a screen is refused; the message stays up.
    g.tapKey(SDL_SCANCODE_DOWN);
    g.tapAction(ACTION_SELECT);
    EXPECT_EQ(g.mode(), GM_CONFIRM);
    EXPECT_TRUE(g.logHas("Can't set game mode 0 (Init): it has no screen"));
    EXPECT_EQ(cs.screen()->findWidget("Message")->getText("TextName"), "A newer version is out.");

    g.tapKey(SDL_SCANCODE_UP);
    g.tapAction(ACTION_SELECT);
    g.settle();
    EXPECT_EQ(g.mode(), GM_OPTIONS);
    EXPECT_EQ(options.enters, 1);

    cs.setMessages();
    EXPECT_EQ(cs.menu()->itemCount(), 0u);
    EXPECT_EQ(cs.screen()->findWidget("Message")->getText("TextName"), "");
}

// A caller's "Are you sure?" under the default title of the same words is
// said once, not twice; a message of its own stays.
TEST(ConfirmOverlay, AMessageRepeatingTheTitleIsLeftOut) {
    CconfirmFixture f;
    ASSERT_TRUE(f.g.initOk());
    f.c.reset();
    f.c.setMessage("Quit to the main menu?");
    f.c.setMessage2(gEngine->text("AreYouSure"));
    f.c.addMenuItem("Yes", 1);
    f.c.enter();
    Cscreen* s = f.c.screen();
    EXPECT_EQ(s->findWidget("Title")->getText("TextName"), gEngine->text("ConfirmTitle"));
    EXPECT_EQ(s->findWidget("Message")->getText("TextName"), "Quit to the main menu?");
    EXPECT_EQ(s->findWidget("Message2")->getText("TextName"), "");
}
