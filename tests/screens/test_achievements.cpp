#include <gtest/gtest.h>

#include "engine/ui/menu.h"
#include "game/progress/achievementDefs.h"
#include "screens/achievements.h"
#include "screens/screenRegistry.h"
#include "screensFixture.h"

namespace {
struct CachievementsFixture {
    CscreensGame g;
    CrecordingScreen mainMenu;
    explicit CachievementsFixture(int waiting) {
        g->setScreen(GM_MAIN_MENU, &mainMenu);
        for (int i = 0; i < waiting && i < (int)g->achievements.defs.size(); ++i)
            g->progress.waitingAchievements.push_back({g->achievements.defs[(size_t)i].name, 1});
        g->setGameMode(GM_ACHIEVEMENTS);
        g.settle();
    }
    CachievementsScreen& screen() { return *screens::get<CachievementsScreen>(); }
};
}  // namespace

TEST(AchievementsScreen, NothingToClaimOpensOnTheFirstCategory) {
    CachievementsFixture f(0);
    ASSERT_TRUE(f.g.initOk());
    EXPECT_EQ(f.screen().category(), 1);
    EXPECT_TRUE(f.screen().leftArrow()->hidden);
    EXPECT_FALSE(f.screen().rightArrow()->hidden);
    EXPECT_EQ((int)f.screen().menu()->itemCount(), f.g->achievements.getNumInCategory(1));

    // Right to the last category: its right arrow hides.
    int last = f.g->achievements.getNumCategories() - 1;
    for (int c = 1; c < last; ++c) {
        f.g.click(f.screen().rightArrow());
        f.g.settle();
    }
    EXPECT_EQ(f.screen().category(), last);
    EXPECT_TRUE(f.screen().rightArrow()->hidden);
    EXPECT_FALSE(f.screen().leftArrow()->hidden);
}

TEST(AchievementsScreen, WaitingMilestonesAreClaimedOneByOne) {
    CachievementsFixture f(2);
    ASSERT_TRUE(f.g.initOk());
    ASSERT_EQ(f.screen().category(), 0);
    EXPECT_TRUE(f.screen().leftArrow()->hidden);
    ASSERT_EQ(f.screen().menu()->itemCount(), 4u);   // two rows, each with its claim button
    Cwidget* claim = f.screen().menu()->item(1);
    f.g.click(claim);
    f.g.settle();
    EXPECT_EQ(f.g->progress.waitingAchievements.size(), 1u);
    EXPECT_EQ(f.screen().menu()->itemCount(), 2u);
    f.g.click(f.screen().menu()->item(1));
    f.g.settle();
    // The last claimed: the list moves on to the first category.
    EXPECT_TRUE(f.g->progress.waitingAchievements.empty());
    EXPECT_EQ(f.screen().category(), 1);
}
