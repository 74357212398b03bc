#include <gtest/gtest.h>

#include <set>

#include "engine/ui/menu.h"
#include "game/perkMgr.h"
#include "screens/perkMenu.h"
#include "screens/perkUnlock.h"
#include "screens/screenRegistry.h"
#include "screensFixture.h"

namespace {
using K = CperkMenuScreen;

struct CperkMenuFixture {
    CscreensGame g;
    CrecordingScreen mainMenu;
    explicit CperkMenuFixture(int64_t cash = 0, std::initializer_list<int> unlocked = {}) {
        g->setScreen(GM_MAIN_MENU, &mainMenu);
        g->progress.cash = cash;
        for (int id : unlocked) perks().setUnlocked(id, true);
        g->setGameMode(GM_PERK_MENU);
        g.settle(40);
    }
    CperkMenuScreen& screen() { return *screens::get<CperkMenuScreen>(); }
    CperkMgr& perks() { return g->world.perks; }
    Cwidget* item(int id, int kind) { return screen().findItem(id, kind); }
    void press(int id, int kind) {
        Cwidget* w = item(id, kind);
        ASSERT_NE(w, nullptr);
        Cmenu* m = screen().menu();
        m->setSelectedIdx(m->itemIndex(w));
        m->positionItems();
        g.click(w);
        g.settle();
    }
    std::string cashText() { return screens::get<CperkMenuScreen>()->screen()->findWidget("Cash")->getText(); }
};
}  // namespace

TEST(PerkMenu, AFreshProfileShowsItsTwoStartingPerksAndThreeFreeSlots) {
    CperkMenuFixture f(1234);
    ASSERT_TRUE(f.g.initOk());
    Cwidget* life = f.item(PERK_EXTRA_LIFE_1, K::KIND_PERK);
    ASSERT_NE(life, nullptr);
    ASSERT_NE(f.item(PERK_SUPER_BOMB, K::KIND_PERK), nullptr);
    EXPECT_EQ(f.item(PERK_GOODIE_BAG, K::KIND_PERK), nullptr);
    // A bought single-level perk is maxed; the bomb's next level is on offer.
    EXPECT_EQ(life->getText("Upgrade"), "(1 / 1)");
    EXPECT_TRUE(f.item(PERK_EXTRA_LIFE_1, K::KIND_UPGRADE)->hidden);
    EXPECT_EQ(f.item(PERK_SUPER_BOMB, K::KIND_PERK)->getText("Upgrade"), "(1 / 5)");
    EXPECT_EQ(f.cashText(), "$1,234");
    for (int k = 0; k < 4; ++k) EXPECT_NE(f.item(PERK_SUPER_BOMB, K::KIND_BUTTON + k), nullptr);
    // Each row's buttons stand inside the list, which clips what is not.
    EXPECT_EQ(rowPartsOutsideList(*f.screen().menu()), "");
    // Headings only over classes with a perk to show: no empty sections.
    std::set<std::string> headings;
    Cmenu* m = f.screen().menu();
    for (size_t i = 0; i < m->itemCount(); ++i)
        if (m->item(i)->templateName == "BigText") headings.insert(m->item(i)->getText());
    EXPECT_EQ(headings, (std::set<std::string>{gEngine->text(perkClassTag(perkDef(PERK_EXTRA_LIFE_1).perkClass)),
                                               gEngine->text(perkClassTag(perkDef(PERK_SUPER_BOMB).perkClass))}));
}

TEST(PerkMenu, BuyingTakesThePriceAndRaisesTheLevelOnlyWithTheCash) {
    CperkMenuFixture f(300, {PERK_PERK_SLOT, PERK_GOODIE_BAG});
    ASSERT_TRUE(f.g.initOk());
    f.press(PERK_PERK_SLOT, K::KIND_UPGRADE);
    EXPECT_EQ(f.perks().level(PERK_PERK_SLOT), 0);
    EXPECT_EQ(f.g->progress.cash, 75);
    EXPECT_EQ(f.perks().numSlots(), 6);
    EXPECT_EQ(f.cashText(), "$75");

    // Its next level costs 300: too dear now, shown dark red and refused.
    EXPECT_FALSE(f.item(PERK_PERK_SLOT, K::KIND_UPGRADE)->selectable);
    f.press(PERK_PERK_SLOT, K::KIND_UPGRADE);
    EXPECT_EQ(f.perks().level(PERK_PERK_SLOT), 0);
    EXPECT_EQ(f.g->progress.cash, 75);
    // An unbought perk's row can't be chosen with the mouse; buying is by its button.
    EXPECT_FALSE(f.item(PERK_GOODIE_BAG, K::KIND_PERK)->selectable);
    f.press(PERK_GOODIE_BAG, K::KIND_UPGRADE);   // 3 x 5
    EXPECT_TRUE(f.perks().isBought(PERK_GOODIE_BAG));
    EXPECT_EQ(f.g->progress.cash, 60);
}

TEST(PerkMenu, SwitchingPerksOnAndOffKeepsToTheSlots) {
    CperkMenuFixture f(0, {PERK_EXTRA_LIFE_2, PERK_EXTRA_LIFE_3, PERK_MORE_SCORE, PERK_CASH_RAIN});
    ASSERT_TRUE(f.g.initOk());
    for (int id : {PERK_EXTRA_LIFE_2, PERK_EXTRA_LIFE_3, PERK_MORE_SCORE, PERK_CASH_RAIN}) f.perks().buyLevel(id);
    f.screen().buildList();
    f.press(PERK_EXTRA_LIFE_1, K::KIND_PERK);
    EXPECT_FALSE(f.perks().isEnabled(PERK_EXTRA_LIFE_1));
    f.press(PERK_EXTRA_LIFE_1, K::KIND_PERK);
    EXPECT_TRUE(f.perks().isEnabled(PERK_EXTRA_LIFE_1));
    for (int id : {PERK_EXTRA_LIFE_2, PERK_EXTRA_LIFE_3, PERK_MORE_SCORE}) f.press(id, K::KIND_PERK);
    EXPECT_EQ(f.perks().numEnabled(), 5);
    // The sixth is refused: five slots are all taken.
    f.press(PERK_CASH_RAIN, K::KIND_PERK);
    EXPECT_FALSE(f.perks().isEnabled(PERK_CASH_RAIN));
}

TEST(PerkMenu, TwoFirePowerPerksOnOneButtonHoldTheWayBack) {
    CperkMenuFixture f(0, {PERK_MICRO_MISSILES});
    ASSERT_TRUE(f.g.initOk());
    f.perks().buyLevel(PERK_MICRO_MISSILES);
    f.screen().buildList();
    f.press(PERK_SUPER_BOMB, K::KIND_BUTTON + 0);
    // Switched on, the new perk takes the first free button.
    f.press(PERK_MICRO_MISSILES, K::KIND_PERK);
    // The first FirePower perk switched on explains the perk buttons; a click puts it away.
    EXPECT_EQ(gUi->tutorials.current(), "Tut_PerkBindings");
    f.g.clickAt(5, 5);
    f.g.settle();
    EXPECT_EQ(f.perks().getButton(PERK_SUPER_BOMB), 0);
    EXPECT_EQ(f.perks().getButton(PERK_MICRO_MISSILES), 1);
    EXPECT_FALSE(f.screen().bindingConflict());

    // Put on the bomb's button, the two clash: red, and BACK stays here with the warning.
    f.press(PERK_MICRO_MISSILES, K::KIND_BUTTON + 0);
    EXPECT_EQ(f.perks().getButton(PERK_MICRO_MISSILES), 0);
    EXPECT_TRUE(f.screen().bindingConflict());
    f.g.tapAction(ACTION_BACK);
    f.g.settle(60);
    EXPECT_TRUE(f.g->warningOverlay.visible);
    EXPECT_EQ(f.mainMenu.enters, 0);

    f.g->warningOverlay.setVisible(false);
    f.press(PERK_MICRO_MISSILES, K::KIND_BUTTON + 3);
    EXPECT_FALSE(f.screen().bindingConflict());
    f.g.tapAction(ACTION_BACK);
    f.g.settle(80);
    EXPECT_EQ(f.mainMenu.enters, 1);
}

// The perks unlocked at a new rank: locked ones only, the focus on one that
// can be taken, one per rank, then on to the main menu.
TEST(PerkUnlockScreen, OnePerkPerRankThenOnToTheMainMenu) {
    CscreensGame g;
    ASSERT_TRUE(g.initOk());
    CrecordingScreen mainMenu;
    g->setScreen(GM_MAIN_MENU, &mainMenu);
    gUi->tutorials.find("Tut_PerkUnlock1")->seen = true;
    CperkUnlockScreen& screen = *screens::get<CperkUnlockScreen>();
    screen.open(2);
    g.steps(70);   // the fade into the screen
    auto rowOf = [&](int id) { return itemWithValue(screen.menu(), id); };
    const CperkMgr& perks = g->world.perks;
    EXPECT_EQ(rowOf(PERK_SUPER_BOMB), nullptr);
    ASSERT_NE(rowOf(PERK_GOODIE_BAG), nullptr);
    const Cwidget* focus = screen.menu()->getSelectedItem();
    ASSERT_NE(focus, nullptr);
    EXPECT_TRUE(perks.isUnlockable((int)focus->value));

    g.click(rowOf(PERK_GOODIE_BAG));
    g.settle();
    EXPECT_TRUE(perks.isUnlocked(PERK_GOODIE_BAG));
    EXPECT_EQ(rowOf(PERK_GOODIE_BAG), nullptr);
    EXPECT_EQ(mainMenu.enters, 0);
    g.click(rowOf(PERK_START_WITH_COL));
    g.steps(140);
    EXPECT_TRUE(perks.isUnlocked(PERK_START_WITH_COL));
    EXPECT_EQ(mainMenu.enters, 1);
}
