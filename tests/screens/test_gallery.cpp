#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "screens/gallery.h"
#include "screens/screenRegistry.h"
#include "screens/shipList.h"
#include "trackRoad.h"

namespace {
CplayerShipDef makeShip(int maker, float seconds, bool favourite = false, int missions = 0, int complete = 0) {
    CplayerShipDef s;
    s.data.manufacturer = (uint8_t)maker;
    s.timePlayed = seconds;
    s.favourite = favourite;
    s.data.missions.resize((size_t)missions);
    for (int i = 0; i < complete; ++i) s.missionComplete[i] = 1;
    return s;
}

// The order of a set of ships under a sort mode, as indices into the set.
std::vector<int> order(int mode, const std::vector<CplayerShipDef>& ships) {
    std::vector<int> idx(ships.size());
    for (size_t i = 0; i < idx.size(); ++i) idx[i] = (int)i;
    std::stable_sort(idx.begin(), idx.end(),
                     [&](int a, int b) { return gallerySortKey(mode, ships[a]) < gallerySortKey(mode, ships[b]); });
    return idx;
}

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
        const float times[] = {50, 400, 120};
        for (float t : times) {
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
};
}  // namespace

TEST(Gallery, EachSortModeOrdersByItsKey) {
    std::vector<CplayerShipDef> ships;
    ships.push_back(makeShip(3, 100));
    ships.push_back(makeShip(1, 50, true, 4, 4));
    ships.push_back(makeShip(1, 500, false, 4, 1));
    ships.push_back(makeShip(8, 10, true, 4, 4));
    ships.push_back(makeShip(3, 700, false, 2, 0));
    // By maker, the longest used first within a maker.
    EXPECT_EQ(order(SORT_MANUFACTURER, ships), (std::vector<int>{2, 1, 4, 0, 3}));
    // Favourites first, each group longest used first.
    EXPECT_EQ(order(SORT_FAVOURITES, ships), (std::vector<int>{1, 3, 4, 2, 0}));
    EXPECT_EQ(order(SORT_MOST_USED, ships), (std::vector<int>{4, 2, 0, 1, 3}));
    EXPECT_EQ(order(SORT_LEAST_USED, ships), (std::vector<int>{3, 1, 0, 2, 4}));
    // All missions complete first, then fewer; ties to the ship used longest.
    EXPECT_EQ(order(SORT_MISSIONS, ships), (std::vector<int>{1, 3, 2, 4, 0}));
    // Workshop ships ahead of every maker.
    EXPECT_EQ(order(SORT_WORKSHOP, ships), (std::vector<int>{3, 2, 1, 4, 0}));
}

TEST(Gallery, ALockedSpecialShipIsNeitherListedNorCounted) {
    CgalleryFixture f;
    ASSERT_TRUE(f.g.initOk());
    CplayerShipMgr& ships = f.g->playerShips;
    int vessik = ships.findShipIdx("Vessik");
    ASSERT_GE(vessik, 0);
    ships.getShip(vessik)->timePlayed = 3600;
    f.g->progress.ves5 = false;
    f.screen->buildList();
    std::vector<int> listed = f.screen->listedShips();
    EXPECT_EQ(std::count(listed.begin(), listed.end(), vessik), 0);
    int count = f.screen->totalShips();
    float time = f.screen->totalPlayTime();
    EXPECT_EQ(count, (int)listed.size());
    EXPECT_LT(time, 3600.0f);

    f.g->progress.ves5 = true;
    f.screen->buildList();
    listed = f.screen->listedShips();
    EXPECT_EQ(std::count(listed.begin(), listed.end(), vessik), 1);
    EXPECT_EQ(f.screen->totalShips(), count + 1);
    EXPECT_FLOAT_EQ(f.screen->totalPlayTime(), time + 3600.0f);
}

TEST(Gallery, SelectMakesTheShipCurrentAndReturnsToTheMainMenu) {
    CgalleryFixture f;
    ASSERT_TRUE(f.g.initOk());
    ASSERT_EQ(f.made.size(), 3u);
    int wanted = f.made[1];
    ASSERT_NE(f.g->playerShips.currentIdx, wanted);
    Cmenu* menu = f.screen->menu();
    Cwidget* select = nullptr;
    for (size_t i = 0; i < menu->itemCount(); ++i)
        if (menu->item(i)->value == wanted && menu->item(i)->floatValue == CgalleryScreen::kRowSelect) select = menu->item(i);
    ASSERT_NE(select, nullptr);
    // Each ship row and its two buttons stand side by side inside the list.
    for (const CwindowShape& shape : kWindowShapes) {
        useWindowShape(shape);
        EXPECT_EQ(rowPartsOutsideList(*menu), "") << shape.w << "x" << shape.h;
    }
    useWindowShape(kWindowShapes[0]);
    menu->setSelectedIdx(menu->itemIndex(select));
    f.press(ACTION_SELECT);
    EXPECT_EQ(f.g->playerShips.currentIdx, wanted);
    EXPECT_EQ(f.mainMenu.enters, 1);

    // Details goes to the hangar; a new ship to the editor.
    f.enter(GM_GALLERY);
    menu = f.screen->menu();
    for (size_t i = 0; i < menu->itemCount(); ++i)
        if (menu->item(i)->value == f.made[0] && menu->item(i)->floatValue == CgalleryScreen::kRowDetails)
            menu->setSelectedIdx((int)i);
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
