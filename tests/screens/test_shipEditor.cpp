#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cmath>

#include "game/enemies/playerShipDefs.h"
#include "game/progress/playerShipDef.h"
#include "screens/confirm.h"
#include "screens/musicBar.h"
#include "screens/screenRegistry.h"
#include "screens/shipEditor.h"
#include "screensFixture.h"

namespace {

struct CshipEditorFixture {
    CscreensGame g;
    CrecordingScreen hangar, playing;   // where the editor leads
    CplayerShipDef* ship = nullptr;
    std::string files;

    CshipEditorFixture() {
        if (!g.initOk()) return;
        files = makeTempFolder("shipEditor");
        g->setScreen(GM_HANGAR, &hangar);
        g->setScreen(GM_PLAYING, &playing);
        ship = g->playerShips.createCustomShip();
        ship->data.displayName = "Kestrel";
        // The editor's tutorials would hold the keys.
        for (const char* t : {"Tut_ShipEditHelp1", "Tut_ShipEditHelp2"}) gUi->tutorials.find(t)->seen = true;
        openEditor();
    }
    void openEditor() {
        editor().open(g->playerShips.currentIdx, GM_GALLERY);
        waitFor(GM_SHIP_EDITOR);
        g.settle();
    }
    bool waitFor(int mode) { return waitForMode(g, mode); }
    ~CshipEditorFixture() { removeFolderTree(files); }
    std::string png(const char* name, int w, int h) {
        const std::string path = files + "/" + name + ".png";
        SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ABGR8888);
        SDL_FillRect(s, nullptr, SDL_MapRGBA(s->format, 200, 80, 40, 255));
        EXPECT_EQ(IMG_SavePNG(s, path.c_str()), 0) << path;
        SDL_FreeSurface(s);
        return path;
    }
    CshipEditorScreen& editor() { return *screens::get<CshipEditorScreen>(); }
    Cmenu* rows() { return editor().paramMenu(); }
    // A row's place in the list; -1 when the group does not list it.
    int indexOf(int row) {
        for (size_t i = 0; i < rows()->itemCount(); ++i)
            if (rows()->item(i)->value == row) return (int)i;
        return -1;
    }
    bool focus(int row) {
        if (indexOf(row) >= 0) rows()->setSelectedIdx(indexOf(row));
        return indexOf(row) >= 0;
    }
    void step(int row, int times) {
        ASSERT_TRUE(focus(row)) << "row " << row;
        for (int i = 0; i < std::abs(times); ++i) g.tapKey(times > 0 ? SDL_SCANCODE_RIGHT : SDL_SCANCODE_LEFT);
    }
    void press(int row) {
        ASSERT_TRUE(focus(row)) << "row " << row;
        g.tapAction(ACTION_SELECT);
    }
    void tab(const char* name) {
        g.click(editor().screen()->findWidget(name));
        g.steps(2);
    }
    void answer(bool yes) {
        CconfirmScreen* confirm = screens::get<CconfirmScreen>();
        ASSERT_TRUE(confirm->showing());
        confirm->menu()->setSelectedIdx(yes ? 0 : 1);
        g.tapAction(ACTION_SELECT);
        g.steps(2);
    }
    std::string rowValue(int row) {
        return indexOf(row) < 0 ? "(not listed)" : rows()->item(indexOf(row))->findGadget("Value")->text.str();
    }
};
}  // namespace

TEST(ShipEditor, EachKindOfRowEditsTheShipAndThePointsFollow) {
    CshipEditorFixture f;
    ASSERT_TRUE(f.g.initOk());
    ASSERT_NE(f.editor().liveShip(), nullptr);

    // The live ship is drawn at the spot's scale and follows the size row.
    Cwidget* spot = f.editor().screen()->findWidget("ShipSpot");
    const float spotPlane = f.g->world.screenToPlane(0, 0).y - f.g->world.screenToPlane(0, spot->height * spot->uiScale).y;
    const float before = f.editor().liveShip()->size;
    EXPECT_GT(before, std::fabs(spotPlane) * 0.1f);
    EXPECT_LE(before, std::fabs(spotPlane) * 0.5f);
    f.step(4, -2);
    f.g.steps(2);
    EXPECT_LT(f.editor().liveShip()->size, before);

    // Handling: one step of acceleration is 0.5 and costs points.
    float accel = f.ship->data.acceleration;
    int points = f.editor().points;
    f.step(5, 1);
    EXPECT_FLOAT_EQ(f.ship->data.acceleration, accel + 0.5f);
    EXPECT_LT(f.editor().points, points);
    EXPECT_TRUE(f.editor().isDirty());

    // Engine rotation: a value picked in the list is written and shown.
    f.tab("EngineRotationAndScale");
    f.editor().menus.setSelection(49, 36);
    f.step(49, 0);
    f.g.steps(2);
    EXPECT_NEAR(f.ship->data.engines[0].rotation, 0.0f, 1e-5);
    EXPECT_EQ(f.rowValue(49), "0");
    EXPECT_EQ(f.editor().liveShip()->def, f.g->world.ships.findShipDefQuiet(f.ship->name()));
}

TEST(ShipEditor, TheHullImageComesFromTheDialogAndAnOversizedOneIsRefused) {
    CshipEditorFixture f;
    ASSERT_TRUE(f.g.initOk());
    const std::string big = f.png("big", 256, 256), wide = f.png("wide", 257, 20), tall = f.png("tall", 20, 257);
    const std::string fits = f.png("fits", 64, 128);
    const std::vector<uint8_t> before = f.ship->hullImage;

    // Over 256 either way: a warning, and the ship keeps its image.
    for (const std::string& refused : {wide, tall}) {
        EXPECT_FALSE(f.editor().loadHullImage(refused));
        EXPECT_TRUE(f.g->warningOverlay.visible);
        f.g->warningOverlay.setVisible(false);
    }
    EXPECT_EQ(f.ship->hullImage, before);
    EXPECT_FALSE(f.editor().hullChanged());

    // Chosen in the dialog: exactly 256 is taken.
    gEngine->platform.dialogProgram = dialogAnswering(f.files, big);
    f.press(2);
    f.g.steps(5);
    EXPECT_TRUE(f.editor().hullChanged());
    EXPECT_NE(gEngine->sprites.findSprite(f.ship->name(), false), nullptr);

    // A second image, then a cancelled dialog changes nothing.
    EXPECT_TRUE(f.editor().loadHullImage(fits));
    const std::vector<uint8_t> second = f.ship->hullImage;
    gEngine->platform.dialogProgram = dialogAnswering(f.files, "", 1);
    f.press(2);
    f.g.steps(5);
    EXPECT_EQ(f.ship->hullImage, second);
}

TEST(ShipEditor, LeavingRevertsOnlyWhenAskedAndTheBackupSurvivesATestFlight) {
    CshipEditorFixture f;
    ASSERT_TRUE(f.g.initOk());
    // No change: straight to the hangar without a question.
    f.g.tapAction(ACTION_BACK);
    EXPECT_FALSE(screens::get<CconfirmScreen>()->showing());
    EXPECT_TRUE(f.waitFor(GM_HANGAR));

    f.openEditor();
    const std::vector<uint8_t> hullBefore = f.ship->hullImage;
    const std::string spriteBefore = f.ship->hullSprite;
    const float accel = f.ship->data.acceleration;
    ASSERT_TRUE(f.editor().loadHullImage(f.png("hull", 200, 100)));
    f.step(5, 2);
    ASSERT_NE(f.ship->data.acceleration, accel);

    // Test flight: a ShipTest game of the edited ship, back to the editor.
    f.g.tapAction(ACTION_OPTION_X);
    EXPECT_TRUE(f.waitFor(GM_PLAYING));
    const CshipDef* test = f.g->world.ships.findShipDefQuiet(kTestShipRecord);
    ASSERT_NE(test, nullptr);
    EXPECT_FLOAT_EQ(test->acceleration, f.g->world.ships.findShipDefQuiet(f.ship->name())->acceleration);
    f.g->setGameMode(GM_SHIP_EDITOR);
    f.g.settle(60);
    EXPECT_TRUE(f.editor().isDirty());   // the edits are still there

    // "No" stays; "Yes" reverts to the ship as it was before the flight.
    f.g.tapAction(ACTION_BACK);
    f.answer(false);
    f.g.settle();
    EXPECT_EQ(f.g.mode(), GM_SHIP_EDITOR);
    f.g.tapAction(ACTION_BACK);
    f.answer(true);
    EXPECT_TRUE(f.waitFor(GM_HANGAR));
    EXPECT_FLOAT_EQ(f.ship->data.acceleration, accel);
    EXPECT_EQ(f.ship->hullImage, hullBefore);
    EXPECT_EQ(f.ship->hullSprite, spriteBefore);
    EXPECT_EQ(f.g->world.ships.findShipDefQuiet(f.ship->name())->acceleration,
              shipDefFromPlayerShip(*f.ship).acceleration);
}

TEST(ShipEditor, PublishingIsRefusedOutOfBalanceAndOnceFinal) {
    CshipEditorFixture f;
    ASSERT_TRUE(f.g.initOk());
    gEngine->workshop.init();
    // Out of balance: everything at its dearest.
    for (int row : {5, 7, 8, 9, 10}) f.editor().menus.setSelection(row, 100);
    f.g.steps(2);
    ASSERT_LT(f.editor().points, 0);
    f.press(0);
    EXPECT_TRUE(f.g->warningOverlay.visible);
    f.g->warningOverlay.setVisible(false);
    f.press(1);
    EXPECT_FALSE(screens::get<CconfirmScreen>()->showing());
    EXPECT_FALSE(f.editor().previewRunning());
    f.g->warningOverlay.setVisible(false);

    // Balanced again: "No" to leaving, then "Yes" to the final version publishes.
    for (int row : {5, 7, 8, 9, 10}) f.editor().menus.setSelection(row, 0);
    f.g.steps(2);
    ASSERT_GE(f.editor().points, 0);
    f.g.tapAction(ACTION_BACK);
    f.answer(false);
    f.press(1);
    f.answer(true);
    EXPECT_TRUE(f.editor().previewRunning());
    EXPECT_FLOAT_EQ(f.g->music.getBandLevel(0), 0.5f);   // the music holds still for the preview
    EXPECT_EQ(f.ship->data.publishedFinal, 0);   // marked only once the request is made
    f.g.steps(60);
    EXPECT_FALSE(f.editor().previewBytes().empty());
    EXPECT_TRUE(f.waitFor(GM_HANGAR));
    for (int i = 0; i < 200 && f.g->workshop.publishing; ++i) f.g.steps(1);
    EXPECT_TRUE(f.ship->published);
    EXPECT_TRUE(f.ship->finished);   // no longer a work in progress

    // Published as final: both publish rows are refused with no question.
    f.g->warningOverlay.setVisible(false);
    f.openEditor();
    f.press(0);
    f.press(1);
    EXPECT_FALSE(f.editor().previewRunning());
    EXPECT_FALSE(screens::get<CconfirmScreen>()->showing());
}

TEST(ShipEditorMissions, EachTypeWritesOnlyItsOwnFields) {
    CshipEditorFixture f;
    ASSERT_TRUE(f.g.initOk());
    f.tab("Missions");
    ASSERT_EQ(f.editor().group(), (int)SHIPEDIT_MISSIONS);
    EXPECT_EQ(f.rows()->itemCount(), 2u);   // a page without a type: the number and the type

    // Boss rush: the wave row, then the common rows.
    f.step(CmissionEditor::ROW_TYPE, 3);
    ASSERT_EQ(f.ship->data.missions.size(), 1u);
    EXPECT_EQ(f.ship->data.missions[0].type, (uint32_t)MissionType_PlayBossRush);
    EXPECT_FALSE(f.focus(CmissionEditor::ROW_SURVIVAL));
    f.step(CmissionEditor::ROW_WAVE, 3);
    f.step(CmissionEditor::ROW_SCORE, 5);
    f.g.steps(2);
    EXPECT_EQ(f.ship->data.missions[0].bossRushWave, 20);

    // Survival instead: the wave goes, the time comes.
    f.step(CmissionEditor::ROW_TYPE, 1);
    f.step(CmissionEditor::ROW_SURVIVAL, 2);
    f.g.steps(2);
    CshipMission& m = f.ship->data.missions[0];
    EXPECT_EQ(m.type, (uint32_t)MissionType_PlaySurvival);
    EXPECT_EQ(m.bossRushWave, 0);
    EXPECT_EQ(f.rowValue(CmissionEditor::ROW_SURVIVAL), "15:00");

    // A track mission keeps neither the time nor a wave.
    f.step(CmissionEditor::ROW_TYPE, -3);
    f.step(CmissionEditor::ROW_CONDITION, 3);
    f.step(CmissionEditor::ROW_MIN_LENGTH, 3);
    f.g.steps(2);
    EXPECT_EQ(m.type, (uint32_t)MissionType_CompleteTrack);
    EXPECT_EQ(m.survivalTime, 0.0f);
    EXPECT_FLOAT_EQ(m.minTrackLength, 210.0f);
    // The first difficulty item sets no minimum; the next is Hard.
    EXPECT_EQ(m.difficulty, 0u);
    EXPECT_EQ(f.rowValue(CmissionEditor::ROW_DIFFICULTY), gEngine->text("MissionAnyDifficulty"));
    f.step(CmissionEditor::ROW_DIFFICULTY, 1);
    f.g.steps(2);
    EXPECT_EQ(m.difficulty, (uint32_t)DIFFICULTY_HARD);

    f.press(CmissionEditor::ROW_DESCRIPTION);
    ASSERT_TRUE(gUi->textEntry.active);
    gUi->textEntry.text = CbString("Loud and proud");
    gUi->textEntry.finished = true;
    gUi->textEntry.active = false;
    f.g.steps(2);
    EXPECT_EQ(m.name, "Loud and proud");

    // The rank type writes its rank and nothing of the others.
    f.step(CmissionEditor::ROW_TYPE, 1);
    f.step(CmissionEditor::ROW_RANK, 4);
    f.g.steps(2);
    EXPECT_EQ(m.rank, 5);
    EXPECT_EQ(m.minTrackLength, 0.0f);
    EXPECT_EQ(m.score, 0u);

    // The second mission page starts empty; leaving it empty adds no mission.
    f.step(CmissionEditor::ROW_NUMBER, 1);
    EXPECT_EQ(f.rowValue(CmissionEditor::ROW_TYPE), getStringFromMissionType(0));
    f.g.steps(2);
    EXPECT_EQ(f.ship->data.missions.size(), 1u);
    f.step(CmissionEditor::ROW_NUMBER, -1);
    EXPECT_EQ(f.rowValue(CmissionEditor::ROW_RANK), "5");
}

TEST(ShipEditorMissions, StoredValuesShowAtTheirItems) {
    EXPECT_EQ(CmissionEditor::indexOfScore(4000000000u), 9);   // beyond the last: the last
    for (int i = 0; i < CshipEditParams::itemCount(CmissionEditor::ROW_DIFFICULTY); ++i)
        EXPECT_EQ(CmissionEditor::indexOfDifficulty(CmissionEditor::difficultyOfIndex(i)), i);
    // Texts cut to a record's bytes never split a character.
    EXPECT_EQ(fitUtf8("ab\xC3\xA9", 3), "ab");
    EXPECT_EQ(fitUtf8("abc", 3), "abc");
}

// At every window shape: each group's rows, in either mode, stay inside the
// list and the list above the button bar; the live ship's preview (where its
// shots and firing lines are clipped) keeps clear of the tabs, the ship's
// name, the points, the music bar and the button bar.
TEST(ShipEditor, RowsAndPreviewKeepClearOfTheTabsAndTheBars) {
    CshipEditorFixture f;
    ASSERT_TRUE(f.g.initOk());
    CmusicBarScreen* bar = screens::get<CmusicBarScreen>();
    Cscreen* s = f.editor().screen();
    for (const CwindowShape& shape : kWindowShapes) {
        useWindowShape(shape);
        SCOPED_TRACE(std::to_string(shape.w) + "x" + std::to_string(shape.h));
        for (bool basic : {true, false}) {
            if (f.editor().basicMode != basic) f.g.tapAction(ACTION_OPTION_Y);
            for (const char* tab : {"FiringAngles", "TurretPositions", "ShipFlares", "EnginePositions", "EngineHue",
                                    "EngineRotationAndScale", "Missions", "Basic"}) {
                f.tab(tab);
                Cmenu* rows = f.rows();
                ASSERT_TRUE(rows->hasClipRect()) << tab;
                const Crect list = rows->areaRect();
                EXPECT_TRUE(clearOfButtonBar(list)) << tab;
                EXPECT_FALSE(overlapping(list, s->findWidget(tab)->rect())) << tab;
                // The last row, scrolled to, is drawn whole inside the list.
                ASSERT_GT(rows->itemCount(), 0u) << tab;
                rows->setSelectedIdx((int)rows->itemCount() - 1);
                const Crect last = rows->item(rows->itemCount() - 1)->rect();
                EXPECT_GE(last.y, list.y - 0.5f) << tab;
                EXPECT_LE(last.bottom(), list.bottom() + 0.5f) << tab;
            }
        }
        const Crect preview = f.editor().previewArea();
        EXPECT_TRUE(clearOfButtonBar(preview));
        for (const char* w : {"Basic", "Missions", "ShipName", "EditPoints"})
            EXPECT_FALSE(overlapping(preview, s->findWidget(w)->rect())) << w;
        for (Cwidget* w : {bar->bar(), bar->heart(), bar->next()})
            if (w) EXPECT_FALSE(overlapping(preview, w->rect()));
        EXPECT_FALSE(overlapping(preview, f.rows()->areaRect()));
        // The ship itself stands inside it.
        EXPECT_TRUE(preview.contains(s->findWidget("ShipSpot")->x, s->findWidget("ShipSpot")->y));
    }
}
