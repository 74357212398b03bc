#include <gtest/gtest.h>

#include "screensFixture.h"
#include "screens/exit.h"
#include "screens/screenRegistry.h"

namespace {
struct CexitFixture {
    CscreensGame g;
    CrecordingScreen menu;
    CexitPopup& popup = *screens::get<CexitPopup>();
    int saves = 0;
    CexitFixture() {
        g->setScreen(GM_MAIN_MENU, &menu);
        g->setGameMode(GM_MAIN_MENU);
        g->saveGameFiles = [this] { return ++saves > 0; };
    }
};
}  // namespace

// Yes, on the pop-up or on the exit state, ends the game with its save; No
// with the pointer stays in the game and saves nothing.
TEST(Exit, YesEndsTheGameWithItsSaveAndNoStays) {
    for (bool popup : {true, false}) {
        SCOPED_TRACE(popup ? "pop-up" : "state");
        CexitFixture f;
        ASSERT_TRUE(f.g.initOk());
        auto open = [&] {
            if (popup) f.g.tapKey(SDL_SCANCODE_ESCAPE);
            else f.g->setGameMode(GM_EXIT);
            f.g.settle();
            return popup ? f.popup.screen() : screens::get<CexitScreen>()->screen();
        };
        f.g.click(open()->findWidget("No"));
        f.g.settle(70);
        EXPECT_FALSE(f.popup.showing());
        EXPECT_EQ(f.g.mode(), GM_MAIN_MENU);
        EXPECT_EQ(f.saves, 0);
        f.g.click(open()->findWidget("Yes"));
        f.g.settle();
        EXPECT_TRUE(f.g->quit);
        EXPECT_EQ(f.saves, 1);
        if (popup) EXPECT_TRUE(f.g.logHas("GameMode = ReallyExit"));
    }
}
