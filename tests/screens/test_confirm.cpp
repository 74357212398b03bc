#include <gtest/gtest.h>

#include "screensFixture.h"
#include "screens/confirm.h"
#include "screens/exit.h"
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
        // The caller's "Are you sure?" under the title of the same words is said once.
        c.setMessage2(gEngine->text("AreYouSure"));
        c.allowBack = allowBack;
        c.addMenuItem("Yes", 1);
        c.addMenuItem("No", 0);
        c.addMenuItem("Later", 2);
        c.enter();
    }
};
}  // namespace

TEST(ConfirmOverlay, AnswersWithTheChosenItemsValueByKeyOrPointerAndStepsAloneMeanwhile) {
    CconfirmFixture f;
    ASSERT_TRUE(f.g.initOk());
    size_t bars = gEngine->ui.buttonBar.depth();
    f.ask(false);
    EXPECT_TRUE(f.c.showing());
    EXPECT_EQ(gEngine->ui.buttonBar.depth(), bars + 1);
    EXPECT_EQ(f.c.screen()->findWidget("Message2")->getText("TextName"), "");
    int before = f.menu.updates;

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

    // The pointer clicks an item, or the bar's OK for the selected safe item.
    f.ask(true);
    f.g.settle();
    f.g.click(f.c.menu()->item(0));
    EXPECT_TRUE(f.c.chosen);
    EXPECT_FLOAT_EQ(f.c.value, 1.0f);
    f.ask(true);
    f.g.settle();
    const auto& buttons = gEngine->ui.buttonBar.buttons();
    ASSERT_EQ(buttons.size(), 2u);
    ASSERT_EQ(buttons[0].action, ACTION_SELECT);
    f.g.clickAt(buttons[0].rect.cx(), buttons[0].rect.cy());
    EXPECT_TRUE(f.c.chosen);
    EXPECT_FLOAT_EQ(f.c.value, 0.0f);
    EXPECT_FALSE(f.c.backedOut);
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
}

// Every question and warning opens with its safe choice focused and drawn
// so, and Back (Backspace, pad B) answers it as No.
TEST(Questions, OpenOnTheSafeChoiceAndBackAnswersNo) {
    CconfirmFixture f;
    ASSERT_TRUE(f.g.initOk());
    CexitPopup& popup = *screens::get<CexitPopup>();
    CwarningOverlay& warning = f.g->warningOverlay;
    struct {
        const char* name;
        std::function<void()> open;
        std::function<Cwidget*()> safe;
        std::function<bool()> answeredNo;
    } const questions[] = {
        {"exit pop-up", [] { gGame->overlay(OVERLAY_EXIT)->show(); },
         [&popup] { return popup.screen()->findWidget("No"); },
         [&popup, &f] { return !popup.showing() && !f.g->quit && f.g.mode() == GM_MAIN_MENU; }},
        {"exit state", [] { gGame->setGameMode(GM_EXIT); },
         [] { return screens::get<CexitScreen>()->screen()->findWidget("No"); },
         [&f] { return f.g.mode() == GM_MAIN_MENU && !f.g->quit; }},
        {"warning", [&warning] { warning.show("Notice", "Later."); },
         [&warning] { return warning.screen()->findWidget("OK"); }, [&warning] { return !warning.visible; }},
        {"question without Back of its own", [&f] { f.ask(false); }, [&f] { return f.c.menu()->item(1); },
         [&f] { return f.c.chosen && f.c.backedOut && f.c.value == 0.0f; }},
    };
    for (const auto& q : questions) {
        q.open();
        f.g.settle();
        Cwidget* safe = q.safe();
        ASSERT_NE(safe, nullptr) << q.name;
        EXPECT_TRUE(safe->highlighted) << q.name;
        f.g.tapKey(SDL_SCANCODE_BACKSPACE);
        f.g.settle(70);
        EXPECT_TRUE(q.answeredNo()) << q.name;
        f.g->setGameMode(GM_MAIN_MENU);
        f.g.settle();
    }
}
