// Open-mic device choices over a stand-in capture layer, and the game's
// hooks: a capture that fails brings up the error pop-up.
#include "screens/openMicError.h"
#include "screens/screenRegistry.h"
#include <gtest/gtest.h>

#include "game/progress/settings.h"
#include "screens/openMicDevices.h"
#include "screensFixture.h"

namespace {
CaudioDeviceInfo device(int id, int kind, const char* name, bool def = false) {
    CaudioDeviceInfo d;
    d.id = id;
    d.kind = kind;
    d.name = name;
    d.channels = kind == OPEN_MIC_MICROPHONE ? 1 : 2;
    d.rate = 44100 + id;
    d.isDefault = def;
    return d;
}

struct CfakeCapture {
    CcaptureFake fake;
    CfakeCapture() {
        fake.devices = {device(0, OPEN_MIC_DESKTOP, "Monitor of Speakers"),
                        device(1, OPEN_MIC_DESKTOP, "Monitor of HDMI", true),
                        device(2, OPEN_MIC_LINE_IN, "Line In Rear"),
                        device(3, OPEN_MIC_MICROPHONE, "USB Mic", true),
                        device(4, OPEN_MIC_MICROPHONE, "Webcam Mic")};
        CaudioCapture::setFake(&fake);
    }
    ~CfakeCapture() { CaudioCapture::setFake(nullptr); }
};
}  // namespace

TEST(OpenMicDevices, ListsTheSourceStoresItsDefaultAndFailsOverOrSaysWhy) {
    CscreensGame g;
    ASSERT_TRUE(g.initOk());
    CfakeCapture cap;
    CmusicPlayer& m = g->music;
    m.desktopDeviceId = CmusicPlayer::kDesktopNotChosen;
    m.lineInDeviceName.clear();
    m.microphoneDeviceName.clear();
    m.queryDevices();

    auto desk = openMicDevices::fill(m, OPEN_MIC_DESKTOP);
    ASSERT_EQ(desk.size(), 2u);
    EXPECT_EQ(m.desktopDeviceId, 1);   // the default output, chosen once
    EXPECT_TRUE(desk[1].ticked);

    auto mics = openMicDevices::fill(m, OPEN_MIC_MICROPHONE);
    ASSERT_EQ(mics.size(), 2u);
    EXPECT_EQ(m.microphoneDeviceName, "USB Mic");
    EXPECT_TRUE(openMicDevices::choose(m, OPEN_MIC_MICROPHONE, mics[1].index));
    EXPECT_EQ(m.microphoneDeviceName, "Webcam Mic");
    EXPECT_FALSE(openMicDevices::choose(m, OPEN_MIC_MICROPHONE, desk[0].index));   // not a microphone
    EXPECT_FALSE(openMicDevices::choose(m, OPEN_MIC_MICROPHONE, 99));

    m.desktopDeviceId = 0;
    openMicDevices::fill(m, OPEN_MIC_DESKTOP);
    EXPECT_EQ(m.desktopDeviceId, 0);

    // Settings carry the choices across a restart.
    Csettings s;
    openMicDevices::toSettings(m, s);
    EXPECT_EQ(s.micDevice, "Webcam Mic");
    EXPECT_EQ(s.desktopDeviceId, 0);

    // A line in or a microphone that fails falls back to the desktop.
    EXPECT_EQ(openMicDevices::switchTo(m, OPEN_MIC_LINE_IN), openMicDevices::SWITCH_OK);
    EXPECT_EQ(m.captureDeviceName, "Line In Rear");

    cap.fake.failing = {"Line In Rear", "Webcam Mic"};
    screens::get<CopenMicErrorScreen>()->quiet = 1;   // the settings screen explains it itself
    EXPECT_EQ(openMicDevices::switchTo(m, OPEN_MIC_LINE_IN), openMicDevices::SWITCH_FELL_BACK);
    EXPECT_EQ(m.captureSource, OPEN_MIC_DESKTOP);
    EXPECT_TRUE(m.openMicRunning());
    m.microphoneDeviceName = "Webcam Mic";
    EXPECT_EQ(openMicDevices::switchTo(m, OPEN_MIC_MICROPHONE), openMicDevices::SWITCH_FELL_BACK);
    EXPECT_EQ(m.captureSource, OPEN_MIC_DESKTOP);
    EXPECT_FALSE(screens::get<CopenMicErrorScreen>()->showing());
    screens::get<CopenMicErrorScreen>()->quiet = 0;
    m.stopOpenMic();

    // Elsewhere a capture that fails brings up the error pop-up, once.
    cap.fake.failing = {"Monitor of HDMI", "Monitor of Speakers"};
    g->music.captureSource = OPEN_MIC_DESKTOP;
    g->music.desktopDeviceId = 1;
    EXPECT_FALSE(g->music.startOpenMic());
    ASSERT_TRUE(screens::get<CopenMicErrorScreen>()->showing());
    Cwidget* err = screens::get<CopenMicErrorScreen>()->widget("Error");
    ASSERT_NE(err, nullptr);
    EXPECT_NE(err->getText().find("Monitor of HDMI"), std::string::npos);
    // A second failure while it shows does not stack another.
    EXPECT_FALSE(g->music.startOpenMic());
    g.settle();
    g.click(screens::get<CopenMicErrorScreen>()->widget("Close"));
    g.settle();
    EXPECT_FALSE(screens::get<CopenMicErrorScreen>()->showing());

    cap.fake.devices.erase(cap.fake.devices.begin() + 2);
    m.queryDevices();
    EXPECT_FALSE(openMicDevices::hasKind(m, OPEN_MIC_LINE_IN));
    EXPECT_TRUE(openMicDevices::fill(m, OPEN_MIC_LINE_IN).empty());
}

