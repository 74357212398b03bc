#include <gtest/gtest.h>

#include "engine/ui/uiDraw.h"
#include "engine/ui/uiMgr.h"
#include "engine/ui/warningOverlay.h"
#include "uiTestLayouts.h"

namespace {
struct CuiFixture : CuiScreenFixture {
    CuiFixture() : CuiScreenFixture("uiDemo.txt", "Menu") {}
    void type(const std::string& text) {
        CuiInput in;
        in.typed = text;
        step(in);
    }
};
}  // namespace

// Numbers too large for their field are refused with the file and line named,
// and read as 0, instead of being converted out of range.
TEST(Ui, LayoutNumbersOutOfRangeAreRefused) {
    CtestEngine eng;
    gUi->clearProblems();
    Cscreen* s = gUi->loadScreenFromText("huge", R"(
Widget Big
    Use ActionButton
    Value 1e19
    Sound 5e9
    Scale 1e400
EndWidget
Widget Fine
    Use ActionButton
    Value -12
    Sound 3
EndWidget
Menu Menu
    Item OK -1e30
EndMenu
EndFile
)");
    ASSERT_NE(s, nullptr);
    Cwidget *big = s->findWidget("Big"), *fine = s->findWidget("Fine");
    ASSERT_TRUE(big && fine && s->findMenu("Menu"));
    EXPECT_EQ(big->value + big->soundSlot + big->scale + s->findMenu("Menu")->item(0)->value, 0);
    EXPECT_TRUE(fine->value == -12 && fine->soundSlot == 3);
    for (const char* bad : {"line 4: value '1e19'", "line 5: value '5e9'", "line 6: value '1e400'", "line 14: value '-1e30'"})
        EXPECT_TRUE(gEngine->log.contains(std::string("Layout huge: ") + bad + " out of range")) << bad;
    EXPECT_EQ(gUi->problems().size(), 4u);
}

TEST(Ui, MenuByKeyboardControllerAndMouse) {
    CuiFixture f;
    f.idle(30);
    EXPECT_EQ(f.menu->getSelectedIdx(), 0);
    f.press(&CuiInput::down);
    EXPECT_EQ(f.menu->getSelectedIdx(), 1);
    f.press(&CuiInput::up, DEVICE_CONTROLLER);
    f.press(&CuiInput::up, DEVICE_CONTROLLER);   // wraps to the last
    EXPECT_EQ(f.menu->getSelectedIdx(), 2);
    f.act(ACTION_SELECT, DEVICE_CONTROLLER);
    ASSERT_NE(f.menu->highlightedItem(), nullptr);
    EXPECT_TRUE(f.menu->highlightedItem()->value == 30 && gUi->action() == ACTION_SELECT);
    f.idle(1);
    EXPECT_EQ(f.menu->highlightedItem(), nullptr);

    // The mouse: hovering selects, releasing over an item activates it.
    Cwidget* second = f.menu->item(1);
    f.click(second->x, second->y, &CuiInput::pointerMoved);
    EXPECT_EQ(f.menu->getSelectedIdx(), 1);
    f.click(second->x, second->y);
    EXPECT_TRUE(f.menu->findPressedItem() == second && f.menu->highlightedItem() == second);

    // A locked item plays the refusal and changes nothing.
    int sound = -1;
    gUi->playSound = [&](int slot) { sound = slot; };
    f.menu->item(0)->floatValue = -1;
    f.menu->item(0)->value = -1;
    f.menu->setSelectedIdx(0);
    f.idle(30);
    f.act(ACTION_SELECT);
    EXPECT_EQ(f.menu->highlightedItem(), nullptr);
    EXPECT_EQ(sound, 7);
    gUi->playSound = nullptr;

    // A requested selection settles one step per call.
    f.menu->requestSelectedIdx(2);
    f.menu->applyRequestedSelection();
    EXPECT_EQ(f.menu->getSelectedIdx(), 1);
    f.menu->applyRequestedSelection();
    EXPECT_EQ(f.menu->getSelectedIdx(), 2);
    f.menu->requestSelectedIdx(9);   // out of range: ignored
    f.menu->applyRequestedSelection();
    EXPECT_EQ(f.menu->getSelectedIdx(), 2);
}

TEST(Ui, ScreenButtonsByPointerAndPad) {
    CuiFixture f;
    f.menu->setFocused(false);
    f.idle(30);
    Cwidget* quit = f.screen->findWidget("Quit");
    f.click(quit->x, quit->y, &CuiInput::pointerReleased);
    EXPECT_TRUE(f.screen->wasPressed("Quit") && f.screen->pressedWidget() == quit);
    f.idle(1);
    EXPECT_FALSE(f.screen->wasPressed("Quit"));
    // Pads: the first move picks the top-left button, right moves on.
    f.press(&CuiInput::right, DEVICE_CONTROLLER);
    EXPECT_EQ(f.screen->highlightedWidget(), f.screen->findWidget("Play"));
    f.press(&CuiInput::right, DEVICE_CONTROLLER);
    EXPECT_EQ(f.screen->highlightedWidget(), quit);
    f.act(ACTION_SELECT, DEVICE_CONTROLLER);
    EXPECT_TRUE(f.screen->wasPressed(quit));
}

TEST(Ui, ButtonBarActionsPushAndPop) {
    CuiFixture f;
    f.screen->enterOpening();
    gUi->buttonBar.addButtonByKey("OK", ACTION_SELECT, ICON_OK);
    gUi->buttonBar.addButtonByKey("BACK", ACTION_BACK, ICON_BACK);
    ASSERT_EQ(gUi->buttonBar.buttons().size(), 2u);
    f.click(gUi->buttonBar.buttons()[1].rect.cx(), gUi->buttonBar.buttons()[1].rect.cy());
    EXPECT_EQ(gUi->action(), ACTION_BACK);
    f.act(ACTION_OPTION_X);
    EXPECT_EQ(gUi->action(), ACTION_OPTION_X);

    gUi->buttonBar.push();
    gUi->buttonBar.addButton("Only", ACTION_SELECT, ICON_OK);
    gUi->buttonBar.pop();
    EXPECT_EQ(gUi->buttonBar.buttons().size(), 2u);
    gUi->buttonBar.pop();   // popping the last bar only clears it
    EXPECT_EQ(gUi->buttonBar.depth(), 1u);
}

TEST(Ui, TextEntryTypesMasksAndCancels) {
    CuiFixture f;
    CtextEntry& te = gUi->textEntry;
    te.mask = true;
    te.begin(5, "ab");
    f.type("c\xC3\xA9" "defg");   // é counts as one character
    EXPECT_EQ(te.text.str(), "abc\xC3\xA9" "d");
    EXPECT_EQ(te.masked.str(), "*****");
    EXPECT_TRUE(gUi->inputHeld());
    EXPECT_EQ(f.menu->highlightedItem(), nullptr);
    f.press(&CuiInput::backspace);
    f.press(&CuiInput::backspace);
    EXPECT_EQ(te.text.str(), "abc");
    // On the keyboard Back is Backspace: it deletes and leaves the entry open.
    f.act(ACTION_BACK);
    EXPECT_TRUE(te.active && !te.cancelled);
    EXPECT_EQ(te.text.str(), "abc");
    f.press(&CuiInput::escape);
    EXPECT_TRUE(te.cancelled && !te.active);
    te.begin(10);
    f.type("pilot");
    f.press(&CuiInput::enter);
    EXPECT_TRUE(te.finished && !te.cancelled);
    EXPECT_EQ(te.text.str(), "pilot");
    // Scripts wait on the entry's opening and end; what was typed (a
    // password, maybe) never reaches the log.
    EXPECT_TRUE(gEngine->log.contains("Text entry: open") && gEngine->log.contains("Text entry: done"));
    EXPECT_FALSE(gEngine->log.containsPart("pilot") || gEngine->log.containsPart("abc"));
    // A controller's Back cancels.
    te.begin(10, "x");
    f.act(ACTION_BACK, DEVICE_CONTROLLER);
    EXPECT_TRUE(te.cancelled && !te.active);
}

// A key typed many times over comes through at once while an entry is open
// (a Return typed after it is not left queued behind), and what is drawn of
// a long text is its end, inside the box.
TEST(Ui, TypedKeysNeverQueueAndLongTextStaysInTheBox) {
    CuiFixture f;
    auto keyDown = [](SDL_Keycode sym, SDL_Scancode sc) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.keysym.sym = sym;
        e.key.keysym.scancode = sc;
        return e;
    };
    const struct {
        bool typing;
        SDL_Keycode sym;
        SDL_Scancode sc;
        bool waits;
    } rows[] = {
        {false, SDLK_1, SDL_SCANCODE_1, true},   // a second press would merge with the first
        {true, SDLK_1, SDL_SCANCODE_1, false},
        {true, SDLK_SPACE, SDL_SCANCODE_SPACE, false},
        {true, SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, false},   // held down for each capital typed
        {true, SDLK_RETURN, SDL_SCANCODE_RETURN, true},
        {true, SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, true},
    };
    for (const auto& r : rows) {
        Cinput& in = gEngine->input;
        in.endStep();
        in.endStep();
        in.typingText = r.typing;
        in.handleEvent(keyDown(r.sym, r.sc));
        EXPECT_EQ(in.mustWait(keyDown(r.sym, r.sc)), r.waits) << SDL_GetKeyName(r.sym) << " typing " << r.typing;
    }
    CtextEntry& te = gUi->textEntry;
    te.begin(30);
    EXPECT_TRUE(gEngine->input.typingText);
    te.placeBox(300, 200, 160);
    f.type(std::string(10000, 'W'));
    ASSERT_EQ(te.text.str(), std::string(30, 'W'));
    const float room = 160.0f - 24.0f;
    const std::string shown = te.visibleTail(te.text.str(), room);
    EXPECT_EQ(shown.rfind("\xE2\x80\xA6", 0), 0u) << shown;   // starts with the ellipsis
    EXPECT_EQ(te.visibleTail("W\xE6\x97\xA5", room), "W\xE6\x97\xA5");
    for (size_t n = 1; n <= 30; ++n)   // with the caret, at every length, also just past the box
        EXPECT_LE(uiDraw::measureText(te.font, te.visibleTail(std::string(n, 'W'), room) + "_", 1.0f).x, room) << n;
    te.end();
    EXPECT_FALSE(gEngine->input.typingText);
}

TEST(Ui, TutorialShownOnceAndQueued) {
    CuiFixture f;
    EXPECT_TRUE(gUi->tutorials.show("Tut_A") && gUi->tutorials.show("Tut_B"));
    EXPECT_EQ(gUi->tutorials.current(), "Tut_A");   // B queued
    f.idle(30);
    f.act(ACTION_SELECT);
    EXPECT_EQ(f.menu->highlightedItem(), nullptr);   // the tutorial took the press
    EXPECT_EQ(gUi->tutorials.current(), "Tut_B");
    EXPECT_TRUE(gEngine->log.contains("Help box put away: Tut_A") && gEngine->log.contains("Help box shown: Tut_B"));
    f.idle(30);
    f.act(ACTION_BACK);
    EXPECT_FALSE(gUi->tutorials.isShowingOrQueued());
    EXPECT_FALSE(gUi->tutorials.show("Tut_A"));   // seen: never again
    // A box taken down by a reset is put away too, so the log's shown and
    // put away lines always pair up.
    EXPECT_TRUE(gUi->tutorials.show("Tut_C"));
    gUi->tutorials.resetAll();
    EXPECT_TRUE(gEngine->log.contains("Help box put away: Tut_C"));
}

// Popups share one place and free their widgets when done: the banner holds
// 1.5 s, a message (even an empty one) 5 s, and a second message waits for
// the first. Warnings play their sound, messages none.
TEST(Ui, PopupsQueueHoldTheirTimeAndShowTheirTexts) {
    CuiFixture f;
    std::vector<int> played;
    gUi->playSound = [&played](int slot) { played.push_back(slot); };
    gUi->spotEffects.clear();
    gUi->popups.showMessage("");
    gUi->popups.showMessage("Second");
    gUi->popups.showTitleBanner();
    gUi->popups.showAchievementProgress("Title", 0.999f, "");
    gUi->popups.showIncomingMass(12345678);
    ASSERT_EQ(gUi->spotEffects.count(), 6u);
    EXPECT_EQ(gUi->spotEffects.widget(3)->getText("Progress"), std::string(gEngine->text("AchievementProgress")) + ": 99%");
    EXPECT_EQ(gUi->spotEffects.widget(5)->getText(), std::string("12,345 ") + gEngine->text("Kilotons"));
    gUi->popups.showIncomingMassSnake(5000);
    ASSERT_EQ(played.size(), 3u);   // banner, mass, snake
    EXPECT_NE(played[0], played[1]);
    EXPECT_EQ(played[1], played[2]);
    gUi->playSound = nullptr;
    gUi->spotEffects.clear();
    gUi->popups.showMessage("");
    gUi->popups.showMessage("Second");
    gUi->popups.showTitleBanner();
    Cwidget* second = gUi->spotEffects.widget(1);
    f.idle(60 * 2);
    EXPECT_FALSE(second->visible());
    EXPECT_EQ(gUi->spotEffects.count(), 2u);   // the banner has gone
    f.idle(60 * 4);
    ASSERT_EQ(gUi->spotEffects.count(), 1u);
    EXPECT_EQ(gUi->spotEffects.widget(0)->getText("Title"), "Second");
    f.idle(60 * 6);
    EXPECT_EQ(gUi->spotEffects.count(), 0u);
}

TEST(Ui, WidgetEffectsAreDrawListEntries) {
    CuiFixture f;
    Cwidget* w = f.screen->findWidget("Play");
    ASSERT_NE(w, nullptr);
    const Crect plain = w->rect();
    size_t before = gEngine->drawList.size();
    w->startEffect(EFFECT_FADE_IN, 0, nullptr, 0.1f, 0.2f);
    EXPECT_FALSE(w->visible());   // a show waits hidden
    f.idle(20);
    EXPECT_TRUE(w->visible() && !w->effectRunning());
    EXPECT_EQ(gEngine->drawList.size(), before);

    // Taking the effect off the draw list leaves the widget as it rests.
    w->startEffect(EFFECT_POP_IN, 0, nullptr, 0.5f, 0.2f);
    EXPECT_FALSE(w->visible());
    gEngine->drawList.remove(w->effect);
    EXPECT_TRUE(w->visible() && !w->effectRunning());
    EXPECT_FLOAT_EQ(w->rect().w, plain.w);

    // A screen leaving waits for its widgets' hide effects.
    f.screen->transitionOut();
    EXPECT_FALSE(f.screen->transitionDone());
    f.idle(14);
    EXPECT_TRUE(f.screen->transitionDone() && f.screen->left);
    EXPECT_FALSE(w->visible());
}

// A message that is null shows empty. (Closing on OK is the screens' warning test.)
TEST(Ui, WarningOverlayTakesANullMessage) {
    CuiFixture f;
    CwarningOverlay w;
    ASSERT_TRUE(w.load());
    w.setMessage(nullptr);
    EXPECT_EQ(w.screen()->findWidget("Message")->getText("TextName"), "");
}
