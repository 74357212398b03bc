#include <gtest/gtest.h>

#include "engine/format.h"
#include "engine/ui/screen.h"
#include "game/gameTypes.h"
#include "game/musicLink.h"
#include "screens/HUD.h"
#include "screens/screenRegistry.h"
#include "screens/shipMissionPanel.h"
#include "game/progress/shipMission.h"
#include "trackRoad.h"

namespace {
struct ChudFixture : CtrackRoad {
    CHUD* hud = nullptr;
    ChudFixture() {
        if (!g.initOk()) return;
        hud = screens::get<CHUD>();
    }
    CgameSession& session() { return g->world.session; }
    void play(int gameType) {
        session().gameType = gameType;
        if (track) session().track = trackInfoFromSong(*track);
        session().startGame();
        g.steps(2);
    }
    Cwidget* widget(const char* name) { return hud->screen()->findWidget(name); }
    std::string text(const char* name) { return widget(name)->getText(); }
    static CreplayRun rival(const char* name, int64_t scorePerSecond) {
        CreplayRun run;
        run.name = name;
        for (int t = 0; t <= 600; ++t) run.samples.push_back({(float)t, scorePerSecond * t, 1});
        return run;
    }
};
}  // namespace

TEST(Hud, IsThePlayHudAndShowsScoreBestAndMultiplier) {
    ChudFixture f;
    ASSERT_TRUE(f.g.initOk());
    ASSERT_NE(f.hud, nullptr);
    ASSERT_TRUE(f.track);
    f.g->trackStats.submitScore(f.track->key, 5000, 1, 0.5f, {}, "");
    f.play(GAMETYPE_STANDARD);
    ASSERT_EQ(f.g.mode(), GM_PLAYING);
    EXPECT_EQ(f.g->playScreen.activeHud(), static_cast<ChudSlot*>(f.hud));
    EXPECT_EQ(f.hud->bestToBeat(), 5000u);
    EXPECT_EQ(f.text("HighScore"), std::string(gEngine->text("HighScore")) + " 5,000");

    // Scoring past the best raises it and pulses the score.
    f.session().addScore(0, 7500);
    int64_t score = f.session().teamScores[0];
    EXPECT_EQ(f.text("Score"), formatThousands64(score));
    EXPECT_EQ(f.hud->bestToBeat(), (uint64_t)score);
    f.g.steps(1);
    EXPECT_GT(f.widget("Score")->scale, 2.0f);
    // It grows from its top left corner: at its largest still on the screen.
    for (const CwindowShape& shape : kWindowShapes) {
        useWindowShape(shape);
        f.session().addScore(0, 1);
        f.g.steps(1);
        const Crect r = f.widget("Score")->rect();
        EXPECT_GT(f.widget("Score")->scale, 2.0f);
        EXPECT_GE(r.x, 0.0f) << shape.w << "x" << shape.h;
        EXPECT_GE(r.y, 0.0f) << shape.w << "x" << shape.h;
        EXPECT_LE(r.right(), (float)shape.w) << shape.w << "x" << shape.h;
    }
    f.g.steps(90);
    EXPECT_FLOAT_EQ(f.widget("Score")->scale, 1.0f);
}

// At every window shape the HUD stands inside the arena's frame: rival rows
// at the top and the foot of their race, the clocks, and the mission card
// of the first seconds, which keeps clear of the track's time. At the
// start every score is zero: the rows still find their places.
TEST(Hud, StandsInsideTheArenaFrameAtEveryWindowShape) {
    ChudFixture f;
    ASSERT_TRUE(f.g.initOk());
    CscoreReplay& replay = f.g->world.replay;
    replay.reset();
    for (const char* name : {"Fast", "Slow", "Idle"}) replay.addRival(ChudFixture::rival(name, name[0] == 'F' ? 100 : 0));
    CshipMissionPanel* card = screens::get<CshipMissionPanel>();
    CshipMission mission;
    mission.name = "ShipWords_FinishTrack";
    for (int gameType : {GAMETYPE_STANDARD, GAMETYPE_SURVIVAL, GAMETYPE_BOSSRUSH}) {
        f.play(gameType);
        card->setMission(0, mission, false);
        card->setShown(true);
        for (const CwindowShape& shape : kWindowShapes) {
            useWindowShape(shape);
            f.session().clock = 0;
            f.g.steps(150);   // the rows ease to their places; the card stays its first seconds
            const std::string where = std::to_string(shape.w) + "x" + std::to_string(shape.h) + " type " +
                                      std::to_string(gameType);
            const Crect arena = f.g->world.arenaScreenRect();
            auto inside = [&](const Crect& r) {
                return r.x >= arena.x - 0.5f && r.y >= arena.y - 0.5f && r.right() <= arena.right() + 0.5f &&
                       r.bottom() <= arena.bottom() + 0.5f;
            };
            // The logo swells with the music, past its place and back: not a place of its own.
            for (auto& w : f.hud->screen()->widgets)
                if (w->visible() && w->name != "Logo") EXPECT_TRUE(inside(w->rect())) << w->name << " at " << where;
            ASSERT_TRUE(card->showing());
            EXPECT_TRUE(inside(card->card()->rect())) << "mission card at " << where;
            EXPECT_FALSE(overlapping(card->card()->rect(), f.hud->trackBarRect())) << where;
        }
        useWindowShape(kWindowShapes[0]);
    }
}
