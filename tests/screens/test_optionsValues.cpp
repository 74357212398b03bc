// The values behind the options screens: what the menu offers, the sticks'
// ranges, display modes and the choice among them.
#include <gtest/gtest.h>

#include <algorithm>

#include "game/gameModes.h"
#include "game/progress/settings.h"
#include "screens/optionsChoices.h"
#include "screens/rezChoice.h"

namespace {
bool offers(const std::vector<CoptionsItem>& items, int value) {
    return std::any_of(items.begin(), items.end(), [value](const CoptionsItem& i) { return i.value == value; });
}
}  // namespace

TEST(OptionsMenu, ItemsFollowTheDeviceAndTheOpener) {
    const struct {
        EinputDevice device;
        int opener;
        std::vector<int> offered, notOffered;
    } rows[] = {
        {DEVICE_KEYBOARD_MOUSE, GM_MAIN_MENU, {OPT_CONFIG_KEYBOARD, OPT_NOTIFICATIONS, OPT_RESET_TUTORIAL},
         {OPT_CONFIG_GAMEPAD, OPT_VIRTUAL_STICKS}},
        {DEVICE_CONTROLLER, GM_MAIN_MENU, {OPT_CONFIG_GAMEPAD}, {OPT_CONFIG_KEYBOARD, OPT_VIRTUAL_STICKS}},
        {DEVICE_TOUCH, GM_MAIN_MENU, {OPT_VIRTUAL_STICKS}, {OPT_CONFIG_GAMEPAD}},
        {DEVICE_KEYBOARD_MOUSE, GM_PRESS_START, {OPT_LANGUAGE}, {OPT_NOTIFICATIONS}},
    };
    for (const auto& r : rows) {
        const auto items = optionsMenuItems(r.device, r.opener);
        for (int v : r.offered) EXPECT_TRUE(offers(items, v)) << r.device << " " << v;
        for (int v : r.notOffered) EXPECT_FALSE(offers(items, v)) << r.device << " " << v;
        for (const auto& i : items) EXPECT_STREQ(i.itemTemplate, i.value == OPT_TWITTER ? "MenuItemTwitter" : "MenuItem");
    }
}

TEST(RezChoice, FewOrNoModesNeverIndexOutside) {
    CrezList one;
    one.addResolution(0, 1920, 1080);
    CrezChoice c;
    c.begin(&one, {0, 800, 450, REZ_WINDOWED}, 1, false);
    EXPECT_EQ(c.index(), 0);   // the second entry does not exist
    c.chooseMode(REZ_BORDERLESS);
    c.chooseMode(REZ_WINDOWED);
    EXPECT_EQ(c.index(), 0);
    EXPECT_TRUE(c.canConfirm());

    CrezList none;
    c.begin(&none, {0, 1280, 720, REZ_WINDOWED}, 1, false);
    EXPECT_EQ(c.index(), -1);
    EXPECT_FALSE(c.canConfirm());
    c.chooseIndex(0);
    c.chooseMode(REZ_BORDERLESS);
    EXPECT_EQ(c.result().width, 1280);   // the size in use stays

    // A second display without modes of its own.
    c.begin(&one, {0, 1920, 1080, REZ_FULLSCREEN}, 2, false);
    c.chooseDisplay(1);
    EXPECT_FALSE(c.canConfirm());
    c.chooseDisplay(5);   // not there
    EXPECT_EQ(c.display(), 1);
    c.chooseDisplay(0);
    EXPECT_TRUE(c.canConfirm());
}
