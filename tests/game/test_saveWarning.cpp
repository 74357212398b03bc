// A game save that keeps failing is told to the player once through the
// warning overlay, and the next save written takes the warning away.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/ui/screen.h"
#include "support/testGame.h"

namespace {
std::string shownMessage(CwarningOverlay& w) {
    Cwidget* m = w.screen() ? w.screen()->findWidget("Message") : nullptr;
    return m ? m->getText("TextName") : std::string();
}
}  // namespace

TEST(SaveWarning, ShownOnceWhileSavesFailAndClearedByASuccess) {
    CtestGame g;
    ASSERT_TRUE(g.initOk());
    ASSERT_TRUE(g->warningOverlay.screen() || g->warningOverlay.load());
    CsaveLoad& save = g->saveLoad;
    double now = 0;
    save.clockMs = [&now] { return now; };
    g->progress.createNewProfile();
    CwarningOverlay& w = g->warningOverlay;
    const std::string blocker = gEngine->savePath("gamesave3.tmp");
    ASSERT_TRUE(std::filesystem::create_directory(blocker));
    // Steps the saves until they stop failing or the tries are used up.
    auto retry = [&](int tries, double stepMs) {
        for (int i = 0; i < tries && (i == 0 || save.gameSaveFailing()); ++i, now += stepMs) {
            save.update();
            save.waitIdle();
        }
    };

    EXPECT_FALSE(save.saveGame(true));
    EXPECT_TRUE(w.visible);
    EXPECT_EQ(shownMessage(w), gEngine->text("SaveFailed"));
    // The player closes it; further failures of the streak don't bring it back.
    w.setVisible(false);
    retry(16, 500);
    EXPECT_TRUE(save.gameSaveFailing());
    EXPECT_FALSE(w.visible);
    // The folder mends: the next try writes and ends the streak.
    std::filesystem::remove(blocker);
    retry(200, 500);
    EXPECT_FALSE(save.gameSaveFailing());

    // A new streak shows it again and the save that works takes it away, but
    // a warning about something else stays up.
    ASSERT_TRUE(std::filesystem::create_directory(blocker));
    g->progress.addCash(1);
    retry(1, 0);
    EXPECT_TRUE(w.visible);
    std::filesystem::remove(blocker);
    retry(10, 1000);
    EXPECT_FALSE(w.visible);
    ASSERT_TRUE(std::filesystem::create_directory(blocker));
    g->progress.addCash(1);
    retry(1, 0);
    w.show("Notice", "Something else");
    std::filesystem::remove(blocker);
    retry(10, 1000);
    EXPECT_TRUE(w.visible);
    EXPECT_EQ(shownMessage(w), "Something else");
}

// The save on the way out has no later try: each failure is in the log, and
// the game ends with a code that is not success.
TEST(SaveWarning, AFailingSaveAtQuitIsLoggedEveryTime) {
    CtestGame g;
    ASSERT_TRUE(g.initOk());
    CsaveLoad& save = g->saveLoad;
    g->progress.createNewProfile();
    const std::string blocker = gEngine->savePath("gamesave3.tmp");
    ASSERT_TRUE(std::filesystem::create_directory(blocker));
    EXPECT_FALSE(save.saveGame(true));   // the streak starts during play
    EXPECT_FALSE(save.saveAtQuit());
    EXPECT_FALSE(save.saveAtQuit());
    EXPECT_EQ(g.logLinesStartingWith("Game save at quit failed: ").size(), 2u);
    g->endGame();
    EXPECT_EQ(g->exitCode, Cgame::kExitSaveFailed);
    std::filesystem::remove(blocker);
}
