// The controller configuration and the open-mic settings screens, headless.
#include "screens/config.h"
#include "screens/exit.h"
#include "screens/optionsChoices.h"
#include "screens/openMicError.h"
#include "screens/openMicSetting.h"
#include "screens/options.h"
#include "screens/screenRegistry.h"
#include <gtest/gtest.h>

#include "screensFixture.h"

namespace {
struct CdeviceGame : CscreensGame {
    // Long enough for the fade between states.
    void settle(int n = 100) { steps(n); }
    CdeviceGame() {
        gGame->saveLoad.settings.language = 1;
        // Every tutorial seen: they would hold the screens.
        gEngine->ui.tutorials.setSeenNames(
            {"Tut_OpenMic1", "Tut_OpenMic2", "Tut_OpenMic3", "Tut_OpenMic4", "Tut_OpenMic5", "Tut_OpenMicList"});
        seeMainMenuTutorials();
    }
    void open(int state) {
        gGame->setGameMode(state);
        settle();
        EXPECT_EQ(mode(), state);
    }
};

CaudioDeviceInfo device(int id, int kind, const char* name, bool def) {
    CaudioDeviceInfo d;
    d.id = id;
    d.kind = kind;
    d.name = name;
    d.channels = 2;
    d.rate = 48000;
    d.isDefault = def;
    return d;
}
}  // namespace

// Keys set up from the options menu while the first player flies with a pad
// are stored, and go to the player on the keyboard, not to the first player.
TEST(ConfigScreen, KeyboardFromTheOptionsMenuGoesToThePlayerOnTheKeyboard) {
    CdeviceGame g;
    ASSERT_TRUE(g.initOk());
    screens::get<CoptionsScreen>()->open(GM_MAIN_MENU, false);
    g.open(GM_OPTIONS);
    g.click(itemWithValue(screens::get<CoptionsScreen>()->menu(), OPT_CONFIG_KEYBOARD));
    g.settle();
    ASSERT_EQ(g.mode(), GM_CONFIG);
    // A pad joins and takes the first player; a second comes on the keyboard.
    int pad = g.attachPad("Bar Pad", 2, 4, 0);
    g.steps(2);
    CinputPlayer* first = gEngine->input.player(0);
    CinputPlayer* second = gEngine->input.player(1);
    ASSERT_TRUE(first->setDevice(DEVICE_CONTROLLER, g.padSlot(pad)));
    ASSERT_TRUE(second->setDevice(DEVICE_KEYBOARD_MOUSE));
    second->enabled = true;
    const std::vector<CactionBinding> padBindings = first->bindings;
    for (int k : {SDL_SCANCODE_I, SDL_SCANCODE_K, SDL_SCANCODE_J, SDL_SCANCODE_L, SDL_SCANCODE_1, SDL_SCANCODE_2,
                  SDL_SCANCODE_3, SDL_SCANCODE_4})
        g.tapKey(k);
    g.steps(1);
    EXPECT_EQ(screens::get<CconfigScreen>()->widget("Message")->getText(), gEngine->language().text("ConfigComplete"));
    g.tapKey(SDL_SCANCODE_SPACE);
    g.settle();
    EXPECT_EQ(g.mode(), GM_OPTIONS);
    const CinputMapping* map = gEngine->input.mappings.find("Keyboard");
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->bindings[0], CactionBinding::forKey(ACTION_UP, SDL_SCANCODE_I));
    const CactionBinding* up = second->findBinding(ACTION_UP);
    ASSERT_NE(up, nullptr);
    EXPECT_EQ(up->key, SDL_SCANCODE_I);
    EXPECT_EQ(first->bindings, padBindings);
    EXPECT_TRUE(g.logHas("Config: Keyboard stored with 8 bindings"));

    // Escape leaves without storing, and without the exit question.
    screens::get<CconfigScreen>()->open(CconfigFlow::DEVICE_KEYS, -1, GM_OPTIONS, GM_OPTIONS);
    g.open(GM_CONFIG);
    g.tapKey(SDL_SCANCODE_ESCAPE);
    g.settle();
    EXPECT_EQ(g.mode(), GM_OPTIONS);
    EXPECT_FALSE(screens::get<CexitPopup>()->showing());
    EXPECT_EQ(gEngine->input.mappings.find("Keyboard")->bindings[0].key, SDL_SCANCODE_I);
}

TEST(OpenMicSettingsScreen, DevicesSourcesAndTheLineInThatFails) {
    CdeviceGame g;
    ASSERT_TRUE(g.initOk());
    CcaptureFake fake;
    fake.devices = {device(0, OPEN_MIC_DESKTOP, "Monitor of Speakers", true),
                    device(1, OPEN_MIC_LINE_IN, "Line In Rear", true),
                    device(2, OPEN_MIC_MICROPHONE, "USB Mic", true), device(3, OPEN_MIC_MICROPHONE, "Desk Mic", false)};
    CaudioCapture::setFake(&fake);
    CmusicPlayer& music = gGame->music;
    music.captureSource = OPEN_MIC_DESKTOP;
    music.desktopDeviceId = CmusicPlayer::kDesktopNotChosen;
    screens::get<CopenMicSettingsScreen>()->open(GM_OPTIONS, false);
    g.settle();
    CopenMicSettingsScreen& s = *screens::get<CopenMicSettingsScreen>();
    EXPECT_TRUE(music.openMicRunning());
    EXPECT_EQ(s.menu()->itemCount(), 1u);
    EXPECT_EQ(s.widget("CurrentDeviceText")->getText(), "Monitor of Speakers");
    EXPECT_TRUE(s.widget("Desktop")->toggle);

    g.click(s.widget("Microphone"));
    g.settle();
    EXPECT_EQ(s.source(), OPEN_MIC_MICROPHONE);
    ASSERT_EQ(s.menu()->itemCount(), 2u);
    EXPECT_EQ(music.captureDeviceName, "USB Mic");
    g.click(s.menu()->item(1));
    EXPECT_EQ(music.microphoneDeviceName, "Desk Mic");
    EXPECT_EQ(music.captureDeviceName, "Desk Mic");
    EXPECT_FALSE(s.menu()->item(1)->findGadget("Tick")->hidden);

    fake.failing = {"Line In Rear"};
    g.click(s.widget("LineIn"));
    g.settle();
    EXPECT_EQ(s.source(), OPEN_MIC_DESKTOP);
    EXPECT_TRUE(gGame->warningOverlay.visible);
    EXPECT_FALSE(screens::get<CopenMicErrorScreen>()->showing());
    EXPECT_FALSE(s.widget("LineIn")->selectable);
    g.tapKey(SDL_SCANCODE_RETURN);   // the warning read
    g.settle();
    g.click(s.widget("LineIn"));     // can't be chosen again
    EXPECT_EQ(s.source(), OPEN_MIC_DESKTOP);

    // Leaving stops capture, since open mic was not the track before.
    g.tapAction(ACTION_SELECT);
    g.settle();
    EXPECT_EQ(g.mode(), GM_OPTIONS);
    EXPECT_FALSE(music.openMicRunning());
    EXPECT_EQ(gGame->saveLoad.settings.micDevice, "Desk Mic");
    EXPECT_EQ(gGame->saveLoad.settings.captureSource, OPEN_MIC_DESKTOP);
    CaudioCapture::setFake(nullptr);
}
