#include <gtest/gtest.h>

#include "engine/format.h"
#include "engine/ui/screen.h"
#include "game/gameTypes.h"
#include "game/musicLink.h"
#include "game/powerUps.h"
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
    EXPECT_FALSE(f.widget("HighScore")->hidden);
    EXPECT_EQ(f.text("Multiplier"), "X1");

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

// Each game type beats its own best: none in chill-out, the boss rush's and
// survival's for the ship's kind; rival rows race the standard game only.
TEST(Hud, EachGameTypeBeatsItsOwnBest) {
    ChudFixture f;
    ASSERT_TRUE(f.g.initOk());
    f.g->progress.bossRushBest = 111;
    f.g->progress.bossRushBestCustom = 222;
    f.g->progress.survivalBest = 333;
    f.g->world.replay.reset();
    f.g->world.replay.addRival(ChudFixture::rival("Fast", 100));
    f.g->standardShipFlag = 0;
    f.play(GAMETYPE_BOSSRUSH);
    EXPECT_EQ(f.hud->bestToBeat(), 222u);
    EXPECT_FALSE(f.widget("BossRushWave")->hidden);
    EXPECT_TRUE(f.widget("SurvivalTimer")->hidden);
    // A new track of the run keeps the boss-rush best.
    f.hud->resetBest();
    EXPECT_EQ(f.hud->bestToBeat(), 222u);

    f.g->standardShipFlag = 1;
    f.play(GAMETYPE_SURVIVAL);
    EXPECT_EQ(f.hud->bestToBeat(), 333u);
    EXPECT_EQ(f.hud->numRows(), 0);
    EXPECT_TRUE(f.widget("BossRushTimer")->hidden);
    f.session().clock = 65.4;
    f.g.steps(1);
    EXPECT_EQ(f.text("SurvivalTimer").substr(0, 4), "01:0");

    f.play(GAMETYPE_CHILLOUT);
    EXPECT_TRUE(f.widget("HighScore")->hidden);
    f.session().addScore(0, 9000);
    EXPECT_EQ(f.hud->bestToBeat(), 0u);
}

TEST(Hud, BossTimerTextGrowsAndDropsInTheLastTwentySeconds) {
    for (auto [t, text] : {std::pair{19.5f, "19.50"}, {75.25f, "01:15.20"}, {3725.0f, "01h 02m 05s.00"}, {-3.0f, "0.00"}})
        EXPECT_EQ(CHUD::bossTimerText(t), text);
    for (auto [t, scale, drop] : {std::tuple{25.0f, 0.5f, 0.0f}, {19.5f, 0.55f, 0.75f}, {0.0f, 2.5f, 30.0f}}) {
        EXPECT_NEAR(CHUD::bossTimerScale(t), scale, 1e-5f) << t;
        EXPECT_NEAR(CHUD::bossTimerDrop(t), drop, 1e-5f) << t;
    }
}

TEST(Hud, SpecialWeaponsTakeTheWidgetsInOrderWithTheirStock) {
    ChudFixture f;
    ASSERT_TRUE(f.g.initOk());
    CperkMgr& perks = f.g->world.perks;
    for (int id : {PERK_EMP, PERK_SUPER_BOMB}) {
        perks.setUnlocked(id, true);
        if (perks.level(id) < 0) perks.buyLevel(id);
    }
    perks.setEnabled(PERK_EMP, true);
    perks.setEnabled(PERK_SUPER_BOMB, true);
    f.play(GAMETYPE_STANDARD);
    const auto& slots = f.hud->weaponSlots();
    EXPECT_EQ(slots[0], PU_SUPER_BOMB);
    EXPECT_EQ(slots[1], PU_EMP);
    EXPECT_EQ(slots[2], -1);
    EXPECT_EQ(f.text("Weapon1"), gEngine->text("SuperBombs"));
    EXPECT_EQ(f.text("Weapon2"), gEngine->text("EMP"));
    EXPECT_TRUE(f.widget("Weapon3")->hidden);

    CpowerUpRecord& rec = f.g->world.powerUps.team(0);
    rec[PU_SUPER_BOMB] = 7;
    rec[PU_EMP] = 5;
    f.g.steps(2);
    EXPECT_EQ(f.text("Weapon1Num"), "x7");
    EXPECT_EQ(f.text("Weapon2Num"), "");
    EXPECT_EQ(CHUD::weaponIcons(7), 1);
    EXPECT_EQ(CHUD::weaponIcons(5), 5);
    EXPECT_EQ(CHUD::weaponIcons(0), 0);
}

TEST(Hud, RivalRowsRaceTheScoreAndKeepTheirDistance) {
    ChudFixture f;
    ASSERT_TRUE(f.g.initOk());
    CscoreReplay& replay = f.g->world.replay;
    replay.reset();
    replay.addRival(ChudFixture::rival("Fast", 100));
    replay.addRival(ChudFixture::rival("Slow", 10));
    replay.addRival(ChudFixture::rival("Twin", 10));
    f.play(GAMETYPE_STANDARD);
    ASSERT_EQ(f.hud->numRows(), 4);
    EXPECT_FALSE(f.hud->replayRow(3)->hidden);
    EXPECT_TRUE(f.hud->replayRow(4)->hidden);
    EXPECT_EQ(f.hud->replayRow(1)->getText("Name"), "Fast");

    f.session().clock = 60;
    f.g.steps(1);
    const auto& order = f.hud->displayOrder();
    EXPECT_EQ(order[0], 1);   // "Fast" leads
    // "Slow" and "Twin" score the same: they never swap.
    EXPECT_EQ(order[1], 2);
    EXPECT_EQ(order[2], 3);
    EXPECT_EQ(f.hud->replayRow(1)->getText("Rank"), ordinalText(1));
    const Crect frame = f.hud->screen()->frame();
    const float s = f.hud->screen()->frameScale();
    EXPECT_FLOAT_EQ(f.hud->rowTargetY(1), frame.y + CHUD::kRowEdge * s);
    // Below half the leader's score the rows sit at the foot, 50 layout pixels apart.
    EXPECT_FLOAT_EQ(f.hud->rowTargetY(0), frame.bottom() - CHUD::kRowEdge * s);
    for (int k = 1; k < 4; ++k)
        EXPECT_GE(f.hud->rowTargetY(order[k]) - f.hud->rowTargetY(order[k - 1]), CHUD::kRowGap * s - 0.01f);
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
