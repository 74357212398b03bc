#include <gtest/gtest.h>

#include <algorithm>

#include "screens/gallery.h"
#include "screens/screenRegistry.h"
#include "screens/shipList.h"
#include "trackRoad.h"

namespace {
struct CgalleryFixture : CtrackRoad {
    CrecordingScreen hangar, editor;
    CgalleryScreen* screen = nullptr;
    std::vector<int> made;   // indices of the ships made here
    CgalleryFixture() {
        if (!g.initOk()) return;
        g->setScreen(GM_HANGAR, &hangar);
        g->setScreen(GM_SHIP_EDITOR, &editor);
        CplayerShipMgr& ships = g->playerShips;
        int current = ships.currentIdx;
        for (float t : {50.0f, 400.0f, 120.0f}) {
            CplayerShipDef* s = ships.createCustomShip();
            if (!s) continue;
            s->timePlayed = t;
            made.push_back(ships.numShips() - 1);
        }
        ships.setCurrentShipIdx(current);
        // The gallery's help boxes are seen once; here they are out of the way.
        for (const char* tut : {"Tut_ShipHangar1", "Tut_ShipHangar2a"}) gUi->tutorials.find(tut)->seen = true;
        enter(GM_GALLERY);
        screen = screens::get<CgalleryScreen>();
    }
    // Selects the ship's row part of this kind.
    void selectRow(int ship, float kind) {
        Cmenu* m = screen->menu();
        for (size_t i = 0; i < m->itemCount(); ++i)
            if (m->item(i)->value == ship && m->item(i)->floatValue == kind) m->setSelectedIdx((int)i);
    }
};
}  // namespace

TEST(Gallery, SelectMakesTheShipCurrentAndReturnsToTheMainMenu) {
    CgalleryFixture f;
    ASSERT_TRUE(f.g.initOk());
    ASSERT_EQ(f.made.size(), 3u);
    int wanted = f.made[1];
    ASSERT_NE(f.g->playerShips.currentIdx, wanted);
    // Each ship row and its two buttons stand side by side inside the list.
    for (const CwindowShape& shape : kWindowShapes) {
        useWindowShape(shape);
        EXPECT_EQ(rowPartsOutsideList(*f.screen->menu()), "") << shape.w << "x" << shape.h;
    }
    useWindowShape(kWindowShapes[0]);
    f.selectRow(wanted, CgalleryScreen::kRowSelect);
    f.press(ACTION_SELECT);
    EXPECT_EQ(f.g->playerShips.currentIdx, wanted);
    EXPECT_EQ(f.mainMenu.enters, 1);

    // Details goes to the hangar; a new ship to the editor.
    f.enter(GM_GALLERY);
    f.selectRow(f.made[0], CgalleryScreen::kRowDetails);
    f.press(ACTION_SELECT);
    EXPECT_EQ(f.hangar.enters, 1);
    EXPECT_EQ(f.g->playerShips.currentIdx, f.made[0]);
    f.enter(GM_GALLERY);
    int before = f.g->playerShips.numShips();
    f.press(ACTION_LB);
    EXPECT_EQ(f.editor.enters, 1);
    EXPECT_EQ(f.g->playerShips.numShips(), before + 1);
    EXPECT_EQ(f.g->playerShips.currentIdx, before);   // the editor has the new ship
}
