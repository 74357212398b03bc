#include <gtest/gtest.h>

#include <string>

#include "support/testGame.h"

namespace {
CinputPlayer& player(int i) { return *gEngine->input.player(i); }
}  // namespace

TEST(Input, KeyboardAndMouseHaveOneStepEdges) {
    CtestGame g;
    ASSERT_TRUE(g.initOk());
    CinputPlayer& p = player(0);
    ASSERT_TRUE(p.enabled);
    ASSERT_TRUE(g.setAction(0, ACTION_SELECT, true));
    g.steps(1);
    EXPECT_TRUE(p.wasActionPressed(ACTION_SELECT) && p.isActionDown(ACTION_SELECT));
    g.steps(1);
    EXPECT_TRUE(!p.wasActionPressed(ACTION_SELECT) && p.isActionDown(ACTION_SELECT));
    g.setAction(0, ACTION_SELECT, false);
    g.steps(1);
    EXPECT_TRUE(p.wasActionReleased(ACTION_SELECT) && !p.isActionDown(ACTION_SELECT));
    g.steps(1);
    EXPECT_FALSE(p.wasActionReleased(ACTION_SELECT));

    // A tap inside one step is still one press and one release.
    g.keyDown(SDL_SCANCODE_BACKSPACE);
    g.keyUp(SDL_SCANCODE_BACKSPACE);
    g.steps(1);
    EXPECT_TRUE(p.wasActionPressed(ACTION_BACK));
    g.steps(1);
    EXPECT_TRUE(p.wasActionReleased(ACTION_BACK));

    // Three taps of one key inside one step (a slow frame, a script) are
    // three presses, with a step without the key between them.
    g.steps(1);
    for (int tap = 0; tap < 3; ++tap) {
        g.keyDown(SDL_SCANCODE_BACKSPACE);
        g.keyUp(SDL_SCANCODE_BACKSPACE);
    }
    int presses = 0;
    for (int i = 0; i < 10; ++i) {
        g.steps(1);
        presses += p.wasActionPressed(ACTION_BACK) ? 1 : 0;
    }
    EXPECT_EQ(presses, 3);

    // A mouse click fires.
    g.mouseButton(0, true);
    g.steps(1);
    EXPECT_TRUE(p.wasActionPressed(ACTION_FIRE));
    g.mouseButton(0, false);
    g.steps(1);
    EXPECT_TRUE(p.wasActionReleased(ACTION_FIRE));

    Cmouse& m = gEngine->input.mouse;
    // A window twice the screen's size: positions arrive halved.
    gEngine->input.setScreenScale(1280, 720, 2560, 1440);
    g.mouseMove(200, 100);
    g.steps(1);
    EXPECT_TRUE(gEngine->mouseX == 100.0f && gEngine->mouseY == 50.0f);
    m.resetTravel();
    g.mouseMove(200, 180);
    g.steps(1);
    EXPECT_FLOAT_EQ(m.travel(), 40.0f);

    g.mouseButton(0, true);
    gEngine->platform.pollEvents();
    EXPECT_TRUE(m.wasPressed(0));
    m.clearPressed();
    EXPECT_TRUE(!m.wasPressed(0) && m.isDown(0));
}

TEST(Input, BindingsFindAndRemap) {
    CtestGame g;
    ASSERT_TRUE(g.initOk());
    CinputPlayer& p = player(0);
    EXPECT_NE(p.findBinding(ACTION_SELECT), nullptr);
    EXPECT_EQ(p.findBinding(ACTION_LX), nullptr);   // the keyboard has no stick
    EXPECT_EQ(p.findBinding(99), nullptr);

    // Every default binding names a real action and one input.
    for (const auto* table : {&defaultKeyboardBindings(), &defaultControllerBindings()})
        for (const auto& d : *table) {
            EXPECT_TRUE(isValidAction(d.action));
            EXPECT_EQ(d.keyFlag + d.mouseFlag + d.joyButtonFlag + d.axisFlag, 1);
        }

    // A set-up replaces the bindings of the actions it asked for and keeps every
    // other default; rows naming nothing or no action are dropped.
    CinputMapping m{"Keyboard",
                    {CactionBinding::forKey(ACTION_UP, SDL_SCANCODE_K), CactionBinding::forKey(ACTION_LT, SDL_SCANCODE_9),
                     CactionBinding(), CactionBinding::forKey(77, SDL_SCANCODE_J)}};
    p.applyMapping(m);
    p.applyMapping(m);   // applied again (a restart), nothing piles up
    EXPECT_EQ(p.bindings.size(), defaultKeyboardBindings().size() - 1);   // three defaults out, two in
    struct {
        int key;
        int action;   // what the key does now, 0 nothing
    } const keys[] = {{SDL_SCANCODE_K, ACTION_UP},          {SDL_SCANCODE_W, 0},
                      {SDL_SCANCODE_UP, 0},                 {SDL_SCANCODE_9, ACTION_LT},
                      {SDL_SCANCODE_1, 0},                  {SDL_SCANCODE_RETURN, ACTION_SELECT},
                      {SDL_SCANCODE_SPACE, ACTION_SELECT},  {SDL_SCANCODE_BACKSPACE, ACTION_BACK},
                      {SDL_SCANCODE_S, ACTION_DOWN},        {SDL_SCANCODE_P, ACTION_START},
                      {SDL_SCANCODE_X, ACTION_OPTION_X},    {SDL_SCANCODE_2, ACTION_RT}};
    for (const auto& k : keys) {
        g.keyDown(k.key);
        g.steps(1);
        EXPECT_EQ(p.firstPressedAction(), k.action) << SDL_GetScancodeName((SDL_Scancode)k.key);
        g.keyUp(k.key);
        g.steps(1);
    }
    ASSERT_NE(p.findBinding(ACTION_FIRE), nullptr);
    EXPECT_EQ(p.findBinding(ACTION_FIRE)->mouseFlag, 1);
}

TEST(Input, ControllerButtonsHatSticksAndMovedAxes) {
    CtestGame g;
    ASSERT_TRUE(g.initOk());
    int pad = g.attachPad("Test Pad");
    g.steps(1);
    int slot = g.padSlot(pad);
    ASSERT_GE(slot, 0);
    CinputPlayer& p = player(0);
    ASSERT_TRUE(p.setDevice(DEVICE_CONTROLLER, slot));

    g.padButton(pad, 0, true);
    g.steps(1);
    EXPECT_TRUE(p.wasActionPressed(ACTION_SELECT));
    EXPECT_EQ(gEngine->input.joysticks.findJoystickWithButtonDown(), slot);
    g.padButton(pad, 0, false);
    g.steps(1);
    EXPECT_TRUE(p.wasActionReleased(ACTION_SELECT));

    // The hat's directions are buttons 32 to 35.
    g.padHat(pad, SDL_HAT_LEFT);
    g.steps(1);
    EXPECT_EQ(gEngine->input.joysticks.slot(slot)->firstPressed(), 35);
    EXPECT_TRUE(p.wasActionPressed(ACTION_LEFT));
    g.padHat(pad, SDL_HAT_CENTERED);

    // Sticks: a signed value, and the directions past half way.
    g.padAxis(pad, 0, -0.8f);
    g.padAxis(pad, 1, 0.3f);
    g.steps(1);
    EXPECT_NEAR(p.actionValue(ACTION_LX), -0.8f, 1e-3);
    EXPECT_NEAR(p.actionValue(ACTION_LY), 0.3f, 1e-3);
    EXPECT_TRUE(p.isActionDown(ACTION_LEFT) && !p.isActionDown(ACTION_RIGHT) && !p.isActionDown(ACTION_DOWN));
    EXPECT_NEAR(p.actionValue(ACTION_RIGHT), 0.0f, 1e-6);   // never negative for a button action

    // A move for the set-up screen counts past seven tenths from rest.
    Cjoysticks& js = gEngine->input.joysticks;
    int axis = -1;
    float value = 0;
    g.padAxis(pad, 0, 0.0f);
    g.padAxis(pad, 1, 0.69f);
    g.steps(1);
    EXPECT_FALSE(js.findMovedAxis(slot, axis, value));
    g.padAxis(pad, 1, -0.72f);
    g.steps(1);
    ASSERT_TRUE(js.findMovedAxis(slot, axis, value));
    EXPECT_EQ(axis, 1);
    EXPECT_NEAR(value, -0.72f, 1e-3);

    // A trigger resting at -1: measured from rest, so pressing it part way
    // moves it the positive way.
    g.padAxis(pad, 1, 0.0f);
    g.padAxis(pad, 2, -1.0f);
    g.steps(1);
    js.captureRestPositions(slot);
    g.padAxis(pad, 2, -0.2f);
    g.steps(1);
    ASSERT_TRUE(js.findMovedAxis(slot, axis, value));
    EXPECT_EQ(axis, 2);
    EXPECT_NEAR(value, 0.8f, 1e-3);
    // A disabled axis is passed over.
    js.slot(slot)->axisEnabled[2] = false;
    EXPECT_FALSE(js.findMovedAxis(slot, axis, value));
    // Unknown joystick slots never match.
    EXPECT_FALSE(js.findMovedAxis(25, axis, value) || js.findMovedAxis(-1, axis, value));
    EXPECT_STREQ(js.getName(25), "");
}

// Devices, players and pads past their slots are refused, never written.
TEST(Input, ExtraControllersAndOutOfRangeSlotsAreRefused) {
    CtestGame g;
    ASSERT_TRUE(g.initOk());
    Cinput& in = gEngine->input;
    CinputPlayer& second = *in.player(1);
    EXPECT_FALSE(second.setDevice(DEVICE_CONTROLLER, 25) || second.setDevice(DEVICE_CONTROLLER, -1) ||
                 second.setDevice(3));
    EXPECT_EQ(second.device, DEVICE_KEYBOARD_MOUSE);
    EXPECT_TRUE(second.setDevice(DEVICE_CONTROLLER, 24));
    EXPECT_EQ(second.bindings, defaultControllerBindings());
    EXPECT_FALSE(second.setJoystick(25));
    EXPECT_EQ(second.joystick, 24);
    EXPECT_TRUE(in.player(4) == nullptr && in.player(-1) == nullptr);
    second.setDevice(DEVICE_KEYBOARD_MOUSE);

    for (int i = 0; i < kMaxJoysticks + 1; ++i) g.attachPad(("Pad " + std::to_string(i)).c_str(), 2, 2, 0);
    g.steps(1);
    EXPECT_EQ(in.joysticks.count(), kMaxJoysticks);
    EXPECT_EQ(g.padSlot(kMaxJoysticks), -1);
    EXPECT_TRUE(g.logHas("Joystick ignored, every slot is in use: Pad 25"));
    // Its buttons reach no player.
    g.padButton(kMaxJoysticks, 0, true);
    g.steps(1);
    EXPECT_EQ(in.joysticks.findJoystickWithButtonDown(), -1);

    // Four players take four controllers; a fifth finds no player.
    EXPECT_EQ(in.findFreePlayer(), 1);   // player 1 is on from the start
    for (int i = 0; i < Cinput::kPlayers; ++i) {
        CinputPlayer* p = in.player(i);
        p->enabled = true;
        ASSERT_TRUE(p->setDevice(DEVICE_CONTROLLER, g.padSlot(i)));
    }
    EXPECT_EQ(in.findFreePlayer(), -1);
    EXPECT_EQ(in.findPlayerWithJoystick(g.padSlot(4)), -1);
    EXPECT_EQ(in.findPlayerWithJoystick(g.padSlot(2)), 2);
}

TEST(Input, NoGrabKeepsTheMouseFree) {
    CtestGame g(false, "-nograb");
    ASSERT_TRUE(g.initOk());
    gEngine->input.mouse.setCaptured(true);
    EXPECT_FALSE(gEngine->input.mouse.captured());
}

TEST(Touch, VirtualSticksLayoutDriveAndFingerSlots) {
    CtestGame g;
    ASSERT_TRUE(g.initOk());
    Cinput& in = gEngine->input;
    CvirtualSticks& vs = in.sticks;
    CstickSettings s;
    s.swap = 1;
    vs.layout(s, 1280, 720);   // swapped: the move stick on the right
    EXPECT_GT(vs.stick(CvirtualSticks::STICK_MOVE).home.x, 640.0f);
    EXPECT_LT(vs.stick(CvirtualSticks::STICK_AIM).home.x, 640.0f);

    // A touch player steers with the move stick (its centre at x 190).
    CstickSettings drive;
    drive.fixedX = 10;
    vs.layout(drive, 1280, 720);
    vs.setEnabled(true, &in.joysticks);
    CinputPlayer& p = player(0);
    ASSERT_TRUE(p.setDevice(DEVICE_TOUCH));
    g.finger(SDL_FINGERDOWN, 7, 190.0f / 1280.0f, 580.0f / 720.0f);
    g.steps(1);
    g.finger(SDL_FINGERMOTION, 7, 0.0f, 580.0f / 720.0f);   // dragged past the rim
    g.steps(1);
    EXPECT_NEAR(p.actionValue(ACTION_LX), -1.0f, 1e-3);
    EXPECT_TRUE(p.isActionDown(ACTION_LEFT));
    EXPECT_NEAR(vs.stick(0).knob.x, 10.0f, 0.5f);
    g.finger(SDL_FINGERUP, 7, 0.0f, 580.0f / 720.0f);
    g.steps(1);
    EXPECT_NEAR(p.actionValue(ACTION_LX), 0.0f, 1e-6);
    EXPECT_TRUE(p.wasActionReleased(ACTION_LEFT));

    // Fingers past the slots, or moving without having gone down, are ignored.
    CtouchMgr& t = in.touch;
    for (int i = 0; i < CtouchMgr::kMaxFingers + 3; ++i) g.finger(SDL_FINGERDOWN, 100 + i, 0.1f, 0.1f);
    g.finger(SDL_FINGERMOTION, 999, 0.2f, 0.2f);
    gEngine->platform.pollEvents();
    for (int i = 0; i < CtouchMgr::kMaxFingers; ++i) EXPECT_EQ(t.finger(i).id, 100 + i);
    EXPECT_EQ(t.findSlot(100 + CtouchMgr::kMaxFingers), -1);
}

// A stored set-up reaches its pad's player; a name too long for a stored
// row is kept as the row holds it and still found. (The table's limits are
// the settings tests'.)
TEST(Input, StoredMappingsApplyAndLongNamesAreKeptAsStored) {
    CinputMappings store;
    CinputPlayer p;
    p.setDevice(DEVICE_CONTROLLER, 0);
    EXPECT_FALSE(store.applyTo(p, "Pad"));
    EXPECT_EQ(p.bindings, defaultControllerBindings());
    ASSERT_TRUE(store.store({"Pad", {CactionBinding::forJoyButton(ACTION_SELECT, 5)}}));
    ASSERT_TRUE(store.applyTo(p, "Pad"));
    ASSERT_NE(p.findBinding(ACTION_SELECT), nullptr);
    EXPECT_EQ(p.findBinding(ACTION_SELECT)->joyButton, 5);
    EXPECT_FALSE(store.store({"", {}}));
    const std::string longName(200, 'x');
    ASSERT_TRUE(store.store({longName, {}}));
    EXPECT_EQ(store.rows.back().name.size(), CinputMappings::kNameBytes - 1);
    EXPECT_TRUE(store.isKnown(longName));
}

TEST(Input, MenusReadTheFirstPlayersReleasedActionsAndTyping) {
    CtestGame g;
    ASSERT_TRUE(g.initOk());
    g.setAction(0, ACTION_OPTION_X, true);
    g.steps(1);
    EXPECT_EQ(gEngine->ui.action(), ACTION_NONE);   // menus act on release
    g.setAction(0, ACTION_OPTION_X, false);
    g.steps(1);
    EXPECT_EQ(gEngine->ui.action(), ACTION_OPTION_X);
    g.steps(1);
    EXPECT_EQ(gEngine->ui.action(), ACTION_NONE);

    g.keyDown(SDL_SCANCODE_DOWN);
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    snprintf(e.text.text, sizeof e.text.text, "%s", "\xc3\xa9t\xc3\xa9");
    SDL_PushEvent(&e);
    g.steps(1);
    const CuiInput& u = gEngine->ui.input();
    EXPECT_TRUE(u.down && !u.up);
    EXPECT_EQ(u.typed, "\xc3\xa9t\xc3\xa9");
    g.steps(1);
    EXPECT_FALSE(gEngine->ui.input().down);   // a press, not a hold
    EXPECT_EQ(gEngine->ui.input().typed, "");

    // On touch the first finger is the pointer.
    ASSERT_TRUE(gEngine->input.player(0)->setDevice(DEVICE_TOUCH));
    g.finger(SDL_FINGERDOWN, 3, 0.25f, 0.5f);
    g.steps(1);
    EXPECT_TRUE(gEngine->ui.input().pointerPressed && gEngine->ui.input().pointerX == 320.0f);
    g.steps(1);
    EXPECT_TRUE(!gEngine->ui.input().pointerPressed && gEngine->ui.input().pointerDown);
    g.finger(SDL_FINGERUP, 3, 0.25f, 0.5f);
    g.steps(1);
    EXPECT_TRUE(gEngine->ui.input().pointerReleased);
}
