// The choice among display modes, with few modes or none to choose from.
#include <gtest/gtest.h>

#include "screens/rezChoice.h"

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
