// A pad's configuration, driven by recorded pad events through the game's own update steps.
#include <gtest/gtest.h>

#include "screens/configFlow.h"
#include "support/testGame.h"

namespace {
struct CflowGame {
    CtestGame g;
    CconfigFlow flow;
    bool confirm = false;
    std::vector<CconfigFlow::Estep> seen;
    CflowGame() {
        g->globalSteps.push_back([this] {
            auto s = flow.step(gEngine->input, (float)gEngine->frameTime, confirm);
            if (s != CconfigFlow::STEP_NONE) seen.push_back(s);
        });
    }
    void tapButton(int pad, int b) {
        g.padButton(pad, b, true);
        g.steps(1);
        g.padButton(pad, b, false);
        g.steps(1);
    }
    // The axis through these values, a step each.
    void moveAxis(int pad, int axis, std::initializer_list<float> values) {
        for (float v : values) {
            g.padAxis(pad, axis, v);
            g.steps(1);
        }
    }
    void sweep(int pad, int axis) { moveAxis(pad, axis, {-1.0f, 1.0f, 0.0f}); }
    int pad(const char* name, int axes, int buttons) {
        int p = g.attachPad(name, axes, buttons, 1);
        g.steps(2);
        return p;
    }
};
}  // namespace

TEST(ConfigFlow, PadCalibratesThenBindsButtonsAndSticks) {
    CflowGame f;
    ASSERT_TRUE(f.g.initOk());
    int pad = f.pad("Test PS4 Pad", 4, 16);
    int slot = f.g.padSlot(pad);
    ASSERT_GE(slot, 0);
    f.flow.prepare(CconfigFlow::DEVICE_JOYSTICK, slot, 4, 4);
    f.flow.begin(gEngine->input);
    EXPECT_TRUE(f.flow.isPs4());
    EXPECT_EQ(f.flow.phase(), CconfigFlow::PHASE_CALIBRATING);
    for (int a = 0; a < 3; ++a) f.sweep(pad, a);
    EXPECT_EQ(f.flow.calibratedAxes(gEngine->input), 3);
    EXPECT_EQ(f.flow.phase(), CconfigFlow::PHASE_CALIBRATING);
    f.sweep(pad, 3);
    EXPECT_EQ(f.flow.phase(), CconfigFlow::PHASE_SETTLING);
    f.g.steps(60 * 5 + 5);
    EXPECT_STREQ(f.flow.row().tag, "ConfigJoySelect");

    // Sixteen button rows: buttons, one of them held across two rows.
    f.g.padButton(pad, 0, true);
    f.g.steps(5);
    EXPECT_EQ(f.flow.bindings().size(), 1u);   // held: the next row waits
    f.g.padButton(pad, 0, false);
    f.g.steps(1);
    for (int b = 1; b < 16; ++b) f.tapButton(pad, b);
    EXPECT_STREQ(f.flow.row().tag, "ConfigJoyRX");
    // Axis rows take no buttons.
    f.tapButton(pad, 3);
    EXPECT_STREQ(f.flow.row().tag, "ConfigJoyRX");
    f.moveAxis(pad, 2, {1.0f, 0.0f});
    f.moveAxis(pad, 3, {1.0f, 0.0f});
    f.moveAxis(pad, 0, {1.0f, 0.0f});    // left stick across: right and left too
    f.moveAxis(pad, 1, {-1.0f, 0.0f});   // left stick up: up and down too
    f.g.steps(1);
    EXPECT_EQ(f.flow.phase(), CconfigFlow::PHASE_COMPLETE);
    const auto& b = f.flow.bindings();
    ASSERT_EQ(b.size(), 16u + 2 + 3 + 3);
    EXPECT_EQ(b[0], CactionBinding::forJoyButton(ACTION_SELECT, 0));
    EXPECT_EQ(b[18], CactionBinding::forAxis(ACTION_LX, 0, false));
    EXPECT_EQ(b[19], CactionBinding::forAxis(ACTION_RIGHT, 0, false));
    EXPECT_EQ(b[20], CactionBinding::forAxis(ACTION_LEFT, 0, true));
    EXPECT_EQ(b[21], CactionBinding::forAxis(ACTION_LY, 1, true));
    EXPECT_EQ(b[22], CactionBinding::forAxis(ACTION_UP, 1, true));
    EXPECT_EQ(b[23], CactionBinding::forAxis(ACTION_DOWN, 1, false));
    f.confirm = true;
    f.g.steps(1);
    EXPECT_EQ(f.flow.phase(), CconfigFlow::PHASE_DONE);
    EXPECT_EQ(f.flow.mappingName(gEngine->input), "Test PS4 Pad");
}
