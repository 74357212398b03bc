#include <gtest/gtest.h>

#include <fstream>

#include "engine/ui/uiDraw.h"
#include "engine/ui/uiMgr.h"
#include "engine/ui/warningOverlay.h"
#include "support/testEngine.h"
#include "uiTestLayouts.h"

namespace {
const char* kDemo = R"(
Widget Heading
    Use TitleText
    Pos 0.5 0.1
    Text TextName
        String "Demo"
    EndText
EndWidget
Widget Play
    Use ActionButton
    Pos 0.25 0.9
EndWidget
Widget Quit
    Use ActionButton
    Pos 0.75 0.9
EndWidget
Menu Menu
    Pos 0.5 0.25
    Size 440 300
    Item OK 10
    Item BACK 20
    Item CANCEL 30
EndMenu
EndFile
)";

struct CuiFixture {
    CtestEngine eng;
    Cscreen* screen = nullptr;
    Cmenu* menu = nullptr;
    CuiFixture() {
        screen = gUi->loadScreenFromText("demo", kDemo);
        if (screen) menu = screen->findMenu("Menu");
    }
    // One update step with the given input.
    void step(const CuiInput& in) {
        gUi->beginStep(in, 1.0f / 60.0f);
        screen->update();
    }
    void stepKey(void (*set)(CuiInput&), int device = DEVICE_KEYBOARD_MOUSE) {
        CuiInput in;
        in.device = device;
        set(in);
        step(in);
    }
    void idle(int steps) {
        for (int i = 0; i < steps; ++i) step(CuiInput());
    }
};
}  // namespace

TEST(Ui, LayoutLoadsWidgetsMenusAndTemplates) {
    CuiFixture f;
    ASSERT_NE(f.screen, nullptr);
    ASSERT_NE(f.menu, nullptr);
    Cwidget* heading = f.screen->findWidget("Heading");
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->getText(), "Demo");
    EXPECT_EQ(heading->templateName, "TitleText");
    EXPECT_FLOAT_EQ(heading->x, 640.0f);
    EXPECT_FLOAT_EQ(heading->y, 72.0f);
    EXPECT_EQ(f.menu->itemCount(), 3u);
    EXPECT_EQ(f.menu->item(1)->getText(), "BACK");
    EXPECT_EQ(f.menu->item(2)->value, 30);
    EXPECT_EQ(f.screen->findWidget("Nope"), nullptr);
    EXPECT_TRUE(gEngine->log.contains("Can't find widget: Nope in demo"));
    EXPECT_EQ(f.screen->findMenu("Nope"), nullptr);
    EXPECT_EQ(gUi->createWidget("NoSuchTemplate"), nullptr);
    EXPECT_TRUE(gEngine->log.contains("Can't find template: NoSuchTemplate"));
    // Positions follow the window size.
    gEngine->setScreenSize(1920, 1080);
    f.screen->layout();
    EXPECT_FLOAT_EQ(heading->x, 960.0f);
    EXPECT_FLOAT_EQ(heading->uiScale, 1.5f);
}

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
    Cwidget* big = s->findWidget("Big");
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(big->value, 0);
    EXPECT_EQ(big->soundSlot, 0);
    EXPECT_FLOAT_EQ(big->scale, 0.0f);
    Cwidget* fine = s->findWidget("Fine");
    ASSERT_NE(fine, nullptr);
    EXPECT_EQ(fine->value, -12);
    EXPECT_EQ(fine->soundSlot, 3);
    ASSERT_NE(s->findMenu("Menu"), nullptr);
    EXPECT_EQ(s->findMenu("Menu")->item(0)->value, 0);
    EXPECT_TRUE(gEngine->log.contains("Layout huge: line 4: value '1e19' out of range"));
    EXPECT_TRUE(gEngine->log.contains("Layout huge: line 5: value '5e9' out of range"));
    EXPECT_TRUE(gEngine->log.contains("Layout huge: line 6: value '1e400' out of range"));
    EXPECT_TRUE(gEngine->log.contains("Layout huge: line 14: value '-1e30' out of range"));
    EXPECT_EQ(gUi->problems().size(), 4u);
}

TEST(Ui, MenuByKeyboardControllerAndMouse) {
    CuiFixture f;
    f.idle(30);
    EXPECT_EQ(f.menu->getSelectedIdx(), 0);
    f.stepKey([](CuiInput& in) { in.down = true; });
    EXPECT_EQ(f.menu->getSelectedIdx(), 1);
    f.stepKey([](CuiInput& in) { in.up = true; }, DEVICE_CONTROLLER);
    f.stepKey([](CuiInput& in) { in.up = true; }, DEVICE_CONTROLLER);   // wraps to the last
    EXPECT_EQ(f.menu->getSelectedIdx(), 2);
    f.stepKey([](CuiInput& in) { in.setAction(ACTION_SELECT); }, DEVICE_CONTROLLER);
    ASSERT_NE(f.menu->highlightedItem(), nullptr);
    EXPECT_EQ(f.menu->highlightedItem()->value, 30);
    EXPECT_EQ(gUi->action(), ACTION_SELECT);
    f.idle(1);
    EXPECT_EQ(f.menu->highlightedItem(), nullptr);

    // The mouse: hovering selects, releasing over an item activates it.
    Cwidget* second = f.menu->item(1);
    CuiInput hover;
    hover.pointerX = second->x;
    hover.pointerY = second->y;
    hover.pointerMoved = true;
    f.step(hover);
    EXPECT_EQ(f.menu->getSelectedIdx(), 1);
    CuiInput click = hover;
    click.pointerMoved = false;
    click.pointerReleased = true;
    f.step(click);
    EXPECT_EQ(f.menu->findPressedItem(), second);
    EXPECT_EQ(f.menu->highlightedItem(), second);
    EXPECT_EQ(f.menu->getSelectedItemInt(), 20);
}

TEST(Ui, LockedItemsPlayTheRefusalAndChangeNothing) {
    CuiFixture f;
    int sound = -1;
    gUi->playSound = [&](int slot) { sound = slot; };
    Cwidget* item = f.menu->item(0);
    item->floatValue = -1;
    item->value = -1;
    f.idle(30);
    f.stepKey([](CuiInput& in) { in.setAction(ACTION_SELECT); });
    EXPECT_EQ(f.menu->highlightedItem(), nullptr);
    EXPECT_EQ(sound, 7);
}

TEST(Ui, RequestedSelectionSettlesOneStepPerCall) {
    CuiFixture f;
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
    CuiInput click;
    click.pointerX = quit->x;
    click.pointerY = quit->y;
    click.pointerReleased = true;
    f.step(click);
    EXPECT_TRUE(f.screen->wasPressed("Quit"));
    EXPECT_EQ(f.screen->pressedWidget(), quit);
    f.idle(1);
    EXPECT_FALSE(f.screen->wasPressed("Quit"));
    // Pads: the first move picks the top-left button, right moves on.
    f.stepKey([](CuiInput& in) { in.right = true; }, DEVICE_CONTROLLER);
    EXPECT_EQ(f.screen->highlightedWidget(), f.screen->findWidget("Play"));
    f.stepKey([](CuiInput& in) { in.right = true; }, DEVICE_CONTROLLER);
    EXPECT_EQ(f.screen->highlightedWidget(), quit);
    f.stepKey([](CuiInput& in) { in.setAction(ACTION_SELECT); }, DEVICE_CONTROLLER);
    EXPECT_TRUE(f.screen->wasPressed(quit));
}

TEST(Ui, ButtonBarActionsPushAndPop) {
    CuiFixture f;
    f.screen->enterOpening();
    EXPECT_TRUE(f.screen->entering);
    gUi->buttonBar.addButtonByKey("OK", ACTION_SELECT, ICON_OK);
    gUi->buttonBar.addButtonByKey("BACK", ACTION_BACK, ICON_BACK);
    ASSERT_EQ(gUi->buttonBar.buttons().size(), 2u);
    Crect back = gUi->buttonBar.buttons()[1].rect;
    CuiInput click;
    click.pointerX = back.cx();
    click.pointerY = back.cy();
    click.pointerReleased = true;
    f.step(click);
    EXPECT_EQ(gUi->action(), ACTION_BACK);
    f.stepKey([](CuiInput& in) { in.setAction(ACTION_OPTION_X); });
    EXPECT_EQ(gUi->action(), ACTION_OPTION_X);

    gUi->buttonBar.push();
    EXPECT_TRUE(gUi->buttonBar.buttons().empty());
    gUi->buttonBar.addButton("Only", ACTION_SELECT, ICON_OK);
    gUi->buttonBar.pop();
    EXPECT_EQ(gUi->buttonBar.buttons().size(), 2u);
    gUi->buttonBar.removeSelectButtons();
    EXPECT_FALSE(gUi->buttonBar.hasAction(ACTION_SELECT));
    gUi->buttonBar.setButtonHidden(ACTION_BACK, true);
    EXPECT_FALSE(gUi->buttonBar.hasAction(ACTION_BACK));
    gUi->buttonBar.pop();   // popping the last bar only clears it
    EXPECT_EQ(gUi->buttonBar.depth(), 1u);
}

// A text longer than its box shows its end, where the caret is, and fits.
TEST(Ui, TextEntryShowsTheEndOfALongText) {
    CuiFixture f;
    CtextEntry& te = gUi->textEntry;
    const std::string text = "A mission with a very long name typed into a small box \xE6\x97\xA5";
    const float boxW = 200;
    const std::string shown = te.visibleTail(text, boxW);
    EXPECT_EQ(te.visibleTail("Short", boxW), "Short");
    EXPECT_EQ(shown.rfind("\xE2\x80\xA6", 0), 0u) << shown;   // starts with the ellipsis
    EXPECT_EQ(text.substr(text.size() - (shown.size() - 3)), shown.substr(3));
    EXPECT_LE(uiDraw::measureText(te.font, shown + "_", 1.0f).x, boxW);
}

TEST(Ui, TextEntryTypesMasksAndCancels) {
    CuiFixture f;
    CtextEntry& te = gUi->textEntry;
    te.mask = true;
    te.begin(5, "ab");
    CuiInput in;
    in.typed = "c\xC3\xA9" "defg";   // é counts as one character
    f.step(in);
    EXPECT_EQ(te.text.str(), "abc\xC3\xA9" "d");
    EXPECT_EQ(te.masked.str(), "*****");
    EXPECT_TRUE(gUi->inputHeld());
    EXPECT_EQ(f.menu->highlightedItem(), nullptr);
    CuiInput bs;
    bs.backspace = true;
    f.step(bs);
    f.step(bs);
    EXPECT_EQ(te.text.str(), "abc");
    // On the keyboard Back is Backspace: it deletes and leaves the entry open.
    CuiInput keyBack;
    keyBack.setAction(ACTION_BACK);
    f.step(keyBack);
    EXPECT_TRUE(te.active);
    EXPECT_FALSE(te.cancelled);
    EXPECT_EQ(te.text.str(), "abc");
    CuiInput esc;
    esc.escape = true;
    f.step(esc);
    EXPECT_TRUE(te.cancelled);
    EXPECT_FALSE(te.active);
    te.begin(10);
    CuiInput typed;
    typed.typed = "pilot";
    f.step(typed);
    CuiInput enter;
    enter.enter = true;
    f.step(enter);
    EXPECT_TRUE(te.finished);
    EXPECT_FALSE(te.cancelled);
    EXPECT_EQ(te.text.str(), "pilot");
    // Scripts wait on the entry's opening and end; what was typed (a
    // password, maybe) never reaches the log.
    EXPECT_TRUE(gEngine->log.contains("Text entry: open"));
    EXPECT_TRUE(gEngine->log.contains("Text entry: done"));
    EXPECT_FALSE(gEngine->log.containsPart("pilot"));
    EXPECT_FALSE(gEngine->log.containsPart("abc"));
    // A controller's Back cancels.
    te.begin(10, "x");
    CuiInput padBack;
    padBack.device = DEVICE_CONTROLLER;
    padBack.setAction(ACTION_BACK);
    f.step(padBack);
    EXPECT_TRUE(te.cancelled);
    EXPECT_FALSE(te.active);
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
    CuiInput in;
    in.typed = std::string(10000, 'W');
    f.step(in);
    ASSERT_EQ(te.text.str(), std::string(30, 'W'));
    const std::string shown = te.visibleTail(te.text.str(), 160.0f - 24.0f);
    EXPECT_FALSE(shown.empty());
    EXPECT_LT(shown.size(), te.text.str().size());
    EXPECT_LE(uiDraw::measureText(te.font, shown + "_", 1.0f).x, 160.0f - 24.0f);
    te.text = CbString("WW");
    EXPECT_EQ(te.visibleTail(te.text.str(), 160.0f - 24.0f), "WW");
    te.end();
    EXPECT_FALSE(gEngine->input.typingText);
}

TEST(Ui, TutorialShownOnceAndQueued) {
    CuiFixture f;
    EXPECT_TRUE(gUi->tutorials.show("Tut_A"));
    EXPECT_TRUE(gUi->tutorials.show("Tut_B"));
    EXPECT_TRUE(gUi->tutorials.isShowing());
    EXPECT_EQ(gUi->tutorials.current(), "Tut_A");
    EXPECT_TRUE(gEngine->log.contains("Help box shown: Tut_A"));
    EXPECT_FALSE(gEngine->log.contains("Help box shown: Tut_B"));   // queued, not shown
    f.idle(30);
    EXPECT_TRUE(gUi->inputHeld());
    f.stepKey([](CuiInput& in) { in.setAction(ACTION_SELECT); });
    EXPECT_EQ(f.menu->highlightedItem(), nullptr);   // the tutorial took the press
    EXPECT_EQ(gUi->tutorials.current(), "Tut_B");
    EXPECT_TRUE(gEngine->log.contains("Help box put away: Tut_A"));
    EXPECT_TRUE(gEngine->log.contains("Help box shown: Tut_B"));
    f.idle(30);
    f.stepKey([](CuiInput& in) { in.setAction(ACTION_BACK); });
    EXPECT_FALSE(gUi->tutorials.isShowingOrQueued());
    EXPECT_TRUE(gEngine->log.contains("Help box put away: Tut_B"));
    EXPECT_FALSE(gUi->tutorials.show("Tut_A"));
    EXPECT_TRUE(gUi->tutorials.find("Tut_B")->seen);
    EXPECT_EQ(gUi->tutorials.seenNames().size(), 2u);
    // A box taken down by a reset is put away too, so shown and put away
    // always pair up.
    EXPECT_TRUE(gUi->tutorials.show("Tut_C"));
    gUi->tutorials.resetAll();
    EXPECT_FALSE(gUi->tutorials.find("Tut_A")->seen);
    EXPECT_TRUE(gEngine->log.contains("Help box put away: Tut_C"));
}

TEST(Ui, SpotEffectsOwnAndFreeTheirWidgets) {
    CuiFixture f;
    gUi->popups.showMessage("Hello");
    gUi->popups.showTitleBanner();
    EXPECT_EQ(gUi->spotEffects.count(), 2u);
    for (int i = 0; i < 60 * 2; ++i) f.idle(1);
    EXPECT_EQ(gUi->spotEffects.count(), 1u);   // the banner holds 1.5 s
    for (int i = 0; i < 60 * 5; ++i) f.idle(1);
    EXPECT_EQ(gUi->spotEffects.count(), 0u);
}

// Two messages at once ("Signed in as ...", "Can't reach ...") share one
// place: the second waits until the first has gone.
TEST(Ui, MessagesShowOneAfterAnother) {
    CuiFixture f;
    gUi->spotEffects.clear();
    gUi->popups.showMessage("First");
    gUi->popups.showMessage("Second");
    ASSERT_EQ(gUi->spotEffects.count(), 2u);
    Cwidget* second = gUi->spotEffects.widget(1);
    for (int i = 0; i < 60; ++i) f.idle(1);
    EXPECT_TRUE(gUi->spotEffects.widget(0)->visible());
    EXPECT_FALSE(second->visible());
    for (int i = 0; i < 60 * 6; ++i) f.idle(1);
    ASSERT_EQ(gUi->spotEffects.count(), 1u);
    EXPECT_TRUE(gUi->spotEffects.widget(0)->visible());
    EXPECT_EQ(gUi->spotEffects.widget(0)->getText("Title"), "Second");
}

TEST(Ui, WarningPopupsPlayTheirSoundAndMessagesNone) {
    CuiFixture f;
    std::vector<int> played;
    gUi->playSound = [&played](int slot) { played.push_back(slot); };
    gUi->popups.showMessage("Hello");
    gUi->popups.showAchievementAwarded("Title", "");
    EXPECT_TRUE(played.empty());
    gUi->popups.showIncomingMass(5000);
    gUi->popups.showIncomingMassSnake(5000);
    gUi->popups.showTitleBanner();
    ASSERT_EQ(played.size(), 3u);
    EXPECT_EQ(played[0], played[1]);
    EXPECT_NE(played[0], played[2]);
    gUi->playSound = nullptr;
}

TEST(Ui, PopupTextsShowWholePercentsAndKilotons) {
    CuiFixture f;
    gUi->spotEffects.clear();
    gUi->popups.showAchievementProgress("Title", 0.999f, "");
    gUi->popups.showIncomingMass(12345678);
    gUi->popups.showMessage("");
    ASSERT_EQ(gUi->spotEffects.count(), 4u);
    EXPECT_EQ(gUi->spotEffects.widget(0)->getText("Progress"), std::string(gEngine->text("AchievementProgress")) + ": 99%");
    EXPECT_EQ(gUi->spotEffects.widget(1)->getText(), gEngine->text("IncomingMass"));
    EXPECT_EQ(gUi->spotEffects.widget(2)->getText(), std::string("12,345 ") + gEngine->text("Kilotons"));
    // An empty message still holds its 5 s.
    for (int i = 0; i < 60 * 4; ++i) f.idle(1);
    EXPECT_EQ(gUi->spotEffects.count(), 4u);
    for (int i = 0; i < 60 * 2; ++i) f.idle(1);
    EXPECT_EQ(gUi->spotEffects.count(), 0u);
}

TEST(Ui, WidgetEffectsAreDrawListEntries) {
    CuiFixture f;
    Cwidget* w = f.screen->findWidget("Play");
    ASSERT_NE(w, nullptr);
    const Crect plain = w->rect();
    size_t before = gEngine->drawList.size();
    w->startEffect(EFFECT_FADE_IN, 0, nullptr, 0.1f, 0.2f);
    ASSERT_TRUE(w->effect);
    EXPECT_EQ(w->effect->type, DRAW_FX_FADE_IN);
    EXPECT_EQ(gEngine->drawList.size(), before + 1);
    EXPECT_FALSE(w->visible());   // a show waits hidden
    f.idle(8);
    EXPECT_TRUE(w->visible());
    EXPECT_TRUE(w->effectRunning());
    f.idle(12);
    EXPECT_FALSE(w->effectRunning());
    EXPECT_EQ(gEngine->drawList.size(), before);

    // The popup queue's own kinds: 5 fades out, 7 shrinks away; both end hidden.
    w->startEffect(EFFECT_FADE_OUT, 0, nullptr, 0, 0.2f);
    EXPECT_EQ(w->effect->type, DRAW_FX_FADE_IN);
    EXPECT_TRUE(w->effect->hiding);
    f.idle(13);
    EXPECT_FALSE(w->visible());
    w->startEffect(EFFECT_SHRINK_OUT, 0, nullptr, 0, 0.2f);
    EXPECT_TRUE(w->visible());
    f.idle(6);
    EXPECT_LT(w->rect().w, plain.w);
    f.idle(7);
    EXPECT_FALSE(w->visible());

    // Taking the effect off the draw list leaves the widget as it rests.
    w->startEffect(EFFECT_POP_IN, 0, nullptr, 0.5f, 0.2f);
    EXPECT_FALSE(w->visible());
    gEngine->drawList.remove(w->effect);
    EXPECT_TRUE(w->visible());
    EXPECT_FALSE(w->effectRunning());
    EXPECT_FLOAT_EQ(w->rect().w, plain.w);

    // A screen leaving waits for its widgets' hide effects.
    f.screen->transitionOut();
    EXPECT_FALSE(f.screen->transitionDone());
    f.idle(14);
    EXPECT_TRUE(f.screen->transitionDone());
    EXPECT_TRUE(f.screen->left);
    EXPECT_FALSE(w->visible());
}

TEST(Ui, WarningOverlayShowsAndClosesOnOk) {
    CuiFixture f;
    CwarningOverlay w;
    ASSERT_TRUE(w.load());
    w.setTitle("Careful");
    w.setMessage(nullptr);
    EXPECT_EQ(w.screen()->findWidget("Title")->getText("TextName"), "Careful");
    EXPECT_EQ(w.screen()->findWidget("Message")->getText("TextName"), "");
    w.setVisible(true);
    EXPECT_TRUE(w.fading());
    w.setVisible(true);   // a second show replaces the running fade
    for (int i = 0; i < 30; ++i) {
        gUi->beginStep(CuiInput(), 1.0f / 60.0f);
        w.update();
    }
    EXPECT_FALSE(w.fading());
    EXPECT_TRUE(w.visible);
    CuiInput ok;
    ok.setAction(ACTION_SELECT);
    gUi->beginStep(ok, 1.0f / 60.0f);
    w.update();
    EXPECT_FALSE(w.visible);
}

TEST(UiData, EveryLayoutLoadsWithItsTemplatesAndTags) {
    CtestEngine eng;
    std::vector<std::string> files = layoutFiles(gEngine->dataPath("textFiles/layouts"));
    ASSERT_FALSE(files.empty());
    // Template files first, so screens can name their templates.
    for (const char* t : {"uiStyles.txt", "uiTemplates.txt", "popup.txt"}) EXPECT_TRUE(gUi->loadTemplates(t)) << t;
    gUi->clearProblems();
    for (auto& f : files) EXPECT_NE(gUi->loadScreen(f), nullptr) << f;
    // The tests' own layouts use the same grammar.
    std::vector<std::string> testFiles = layoutFiles(testLayoutFolder());
    EXPECT_FALSE(testFiles.empty());
    for (auto& f : testFiles) EXPECT_NE(loadTestLayout(f), nullptr) << f;
    for (auto& p : gUi->problems()) ADD_FAILURE() << p;
}

// Every list of every screen keeps its rows inside its box, at every window
// shape.
TEST(UiData, EveryListClipsToItsBoxAtEveryWindowShape) {
    CtestEngine eng;
    for (const char* t : {"uiStyles.txt", "uiTemplates.txt", "popup.txt"}) gUi->loadTemplates(t);
    std::vector<Cscreen*> screens;
    for (auto& f : layoutFiles(gEngine->dataPath("textFiles/layouts")))
        if (Cscreen* s = gUi->loadScreen(f)) screens.push_back(s);
    ASSERT_FALSE(screens.empty());
    const struct {
        int w, h;
    } shapes[] = {{1280, 720}, {1280, 800}, {1024, 768}};
    for (const auto& shape : shapes) {
        gEngine->setScreenSize(shape.w, shape.h);
        for (Cscreen* s : screens) {
            s->layout();
            for (auto& m : s->menus) {
                const Crect area = m->areaRect(), clip = m->clipRect();
                EXPECT_TRUE(m->hasClipRect()) << s->name << ": " << m->name;
                EXPECT_TRUE(clip.x == area.x && clip.y == area.y && clip.w == area.w && clip.h == area.h)
                    << s->name << ": " << m->name << " at " << shape.w << " x " << shape.h;
            }
        }
    }
}

// The reader stops at EndFile: whatever stands after it is never read.
TEST(UiData, NothingButCommentsAfterEndFile) {
    CtestEngine eng;
    const std::string folder = gEngine->dataPath("textFiles/layouts");
    for (const std::string& f : layoutFiles(folder)) {
        std::ifstream in(folder + "/" + f);
        std::string line;
        bool ended = false;
        while (std::getline(in, line)) {
            const size_t first = line.find_first_not_of(" \t\r");
            if (first == std::string::npos || line[first] == ';') continue;
            if (ended) {
                ADD_FAILURE() << f << ": after EndFile: " << line;
                break;
            }
            ended = line.compare(first, 7, "EndFile") == 0;
        }
    }
}

// Every English text of every layout fits its box at 1280 x 720 without being
// scaled down, measured with the game's own fonts.
TEST(UiData, EveryEnglishTextFitsItsBox) {
    CtestEngine eng;
    gEngine->setScreenSize(1280, 720);
    ASSERT_TRUE(gEngine->fonts.load());
    ASSERT_FALSE(gEngine->fonts.findFont("FontMedium")->isPlaceholder());
    std::vector<std::string> files = layoutFiles(gEngine->dataPath("textFiles/layouts"));
    for (const char* t : {"uiStyles.txt", "uiTemplates.txt", "popup.txt"}) gUi->loadTemplates(t);
    std::vector<Cscreen*> screens;
    for (auto& f : files)
        if (Cscreen* s = gUi->loadScreen(f)) screens.push_back(s);
    for (auto& f : layoutFiles(testLayoutFolder()))
        if (Cscreen* s = loadTestLayout(f)) screens.push_back(s);
    auto check = [](const std::string& where, Cwidget& w) {
        for (auto& g : w.gadgets) {
            if (g.kind != GADGET_TEXT || g.hidden || g.text.str().empty()) continue;
            const uiDraw::CfittedText& fit = w.fittedText(g);
            Cvec2 box = w.textBox(g);
            Cvec2 natural = uiDraw::measureText(g.font, g.text.str(), g.textScale);
            if (fit.scale < g.textScale * 0.999f)
                ADD_FAILURE() << where << ": " << w.name << "." << g.name << " \"" << g.text.str() << "\" ("
                              << natural.x << " x " << natural.y << ") does not fit its box (" << box.x << " x "
                              << box.y << ")";
        }
    };
    size_t checked = 0;
    for (Cscreen* s : screens) {
        for (auto& w : s->widgets) check(s->name, *w), ++checked;
        for (auto& m : s->menus) {
            if (Cwidget* h = m->header()) check(s->name, *h);
            for (auto& it : m->items) check(s->name, *it), ++checked;
        }
    }
    EXPECT_GT(checked, 50u);
}
