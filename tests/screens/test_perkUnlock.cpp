#include <gtest/gtest.h>

#include "engine/ui/menu.h"
#include "game/perkMgr.h"
#include "screens/perkUnlock.h"
#include "screens/screenRegistry.h"
#include "screensFixture.h"

namespace {
struct CperkUnlockFixture {
    CscreensGame g;
    CrecordingScreen mainMenu, shipOffer;
    explicit CperkUnlockFixture(int toUnlock) {
        g->setScreen(GM_MAIN_MENU, &mainMenu);
        g->setScreen(GM_UNLOCK_PROC_SHIP, &shipOffer);
        gUi->tutorials.find("Tut_PerkUnlock1")->seen = true;
        screen().open(toUnlock);
        g.steps(70);   // the fade into the screen
    }
    CperkUnlockScreen& screen() { return *screens::get<CperkUnlockScreen>(); }
    Cwidget* rowOf(int id) { return itemWithValue(screen().menu(), id); }
};
}  // namespace

TEST(PerkUnlockScreen, OnePerkPerRankThenOnToTheMainMenu) {
    CperkUnlockFixture f(2);
    ASSERT_TRUE(f.g.initOk());
    const CperkMgr& perks = f.g->world.perks;
    // Locked perks only: the two that start unlocked are not offered.
    EXPECT_EQ(f.rowOf(PERK_EXTRA_LIFE_1), nullptr);
    EXPECT_EQ(f.rowOf(PERK_SUPER_BOMB), nullptr);
    ASSERT_NE(f.rowOf(PERK_GOODIE_BAG), nullptr);
    ASSERT_NE(f.rowOf(PERK_EXTRA_MICRO_MISSILE), nullptr);
    // The focus starts on a perk that can be taken, never on a heading.
    const Cwidget* focus = f.screen().menu()->getSelectedItem();
    ASSERT_NE(focus, nullptr);
    EXPECT_GE(focus->value, 0);
    EXPECT_TRUE(perks.isUnlockable((int)focus->value));

    f.g.click(f.rowOf(PERK_GOODIE_BAG));
    f.g.settle();
    EXPECT_TRUE(perks.isUnlocked(PERK_GOODIE_BAG));
    EXPECT_EQ(f.rowOf(PERK_GOODIE_BAG), nullptr);
    EXPECT_EQ(f.screen().numToUnlock(), 1);
    EXPECT_EQ(f.mainMenu.enters, 0);

    f.g.click(f.rowOf(PERK_START_WITH_COL));
    f.g.steps(140);
    EXPECT_TRUE(perks.isUnlocked(PERK_START_WITH_COL));
    EXPECT_EQ(f.screen().numToUnlock(), 0);
    EXPECT_EQ(f.mainMenu.enters, 1);
}
