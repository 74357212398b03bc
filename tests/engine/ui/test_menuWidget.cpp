// Menu and widget operations the screens build on: items, selection, showing
// and hiding, clipping and scrolling; widgets hidden, scaled and placed.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/ui/uiMgr.h"
#include "uiTestLayouts.h"

namespace {
struct CmenuFixture : CuiScreenFixture {
    Cwidget* panel = screen ? screen->findWidget("Panel") : nullptr;
    CmenuFixture() : CuiScreenFixture("widgetOps.txt", "List") {}
    void fill(int n) {
        for (int i = 0; i < n; ++i) menu->addTextItem({}, "Item " + std::to_string(i), i);
        menu->layout();
    }
};
}  // namespace

TEST(UiMenuOps, ItemsByTextAndByTag) {
    CmenuFixture f;
    ASSERT_NE(f.menu, nullptr);
    ASSERT_TRUE(f.menu->addTextItem({}, "Play now", 7) && f.menu->addTextItemByKey("SmallMenuItem", "BACK"));
    // A heading that can't be chosen: the selection steps over it.
    Cwidget* heading = f.menu->addTextItemByKey({}, "CANCEL", false);
    EXPECT_FALSE(heading->selectable);
    f.menu->addTextItem({}, "Last", 9);
    EXPECT_EQ(f.menu->addTextItem("NoSuchTemplate", "x", 0), nullptr);
    EXPECT_EQ(f.menu->getSelectedIdx(), 0);   // the first selectable item
    f.menu->setSelectedIdx(1);
    f.idle(30);
    f.press(&CuiInput::down);
    EXPECT_EQ(f.menu->getSelectedItemInt(), 9);
    // A menu's title tag wins over a stale title text.
    f.menu->setTitleKey("OK");
    f.menu->title = CbString("stale");
    EXPECT_EQ(f.menu->titleText(), gEngine->text("OK"));
    f.menu->titleKey.clear();
    EXPECT_EQ(f.menu->titleText(), "stale");
}

TEST(UiMenuOps, InsertClearAndSelectByIndex) {
    CmenuFixture f;
    f.fill(3);
    f.menu->setSelectedIdx(1);
    // Inserting before the selection keeps the same item selected.
    EXPECT_EQ(f.menu->item(0), f.menu->insertItem(gUi->createWidget("MenuItem"), 0));
    EXPECT_EQ(f.menu->getSelectedIdx(), 2);
    // After it, or past the end: no change of selection.
    f.menu->insertItem(gUi->createWidget("MenuItem"), 3);
    f.menu->insertItem(gUi->createWidget("MenuItem"), 99);
    EXPECT_EQ(f.menu->itemCount(), 6u);
    EXPECT_EQ(f.menu->getSelectedItemInt(), 1);
    EXPECT_EQ(f.menu->insertItem(nullptr), nullptr);

    // Out-of-range selections are ignored; an unselectable one reads as none.
    f.menu->setSelectedIdx(-1);
    f.menu->setSelectedIdx(6);
    EXPECT_EQ(f.menu->getSelectedIdx(), 2);
    f.menu->item(2)->setHidden(true);
    EXPECT_TRUE(f.menu->getSelectedItem() == nullptr && f.menu->getSelectedItemInt() == -1 &&
                f.menu->getSelectedItemFloat() == -1.0f);

    f.menu->clearItems();
    EXPECT_TRUE(f.menu->itemCount() == 0 && f.menu->getSelectedIdx() == -1 && f.menu->scrollOffset() == 0.0f);
    f.idle(1);   // an empty menu steps quietly
    // The first item added after a clear is selected again.
    f.fill(1);
    EXPECT_EQ(f.menu->getSelectedIdx(), 0);
}

TEST(UiMenuOps, ShowingAndHidingWithATransition) {
    CmenuFixture f;
    f.fill(2);
    f.idle(30);
    f.menu->setVisibleWithTransition(false);
    EXPECT_TRUE(f.menu->shown() && f.menu->item(0)->effectRunning());   // visible while it shrinks away
    f.idle(30);
    EXPECT_TRUE(!f.menu->shown() && !f.menu->item(0)->effect);
    // Hidden, it takes no keys.
    f.press(&CuiInput::down);
    EXPECT_EQ(f.menu->getSelectedIdx(), 0);

    f.menu->setVisibleWithTransition(true);
    f.idle(30);
    EXPECT_TRUE(f.menu->shown() && f.menu->item(1)->visible());
    f.press(&CuiInput::down);
    EXPECT_EQ(f.menu->getSelectedIdx(), 1);
    // Showing again before a hide has finished cancels the hide.
    f.menu->setVisibleWithTransition(false);
    f.idle(3);
    f.menu->setVisibleWithTransition(true);
    f.idle(30);
    EXPECT_TRUE(f.menu->shown());
    f.menu->setFocused(false);
    f.press(&CuiInput::down);
    EXPECT_EQ(f.menu->getSelectedIdx(), 1);   // unfocused: keys go elsewhere
    EXPECT_FALSE(f.menu->item(1)->highlighted);
}

// A long list marks only its selected row, however the selection moves and
// the rows shift, and a click reaches the row under it wherever it scrolled.
TEST(UiMenuOps, ALongListMarksOneRowAndClicksReachTheRowsInView) {
    CmenuFixture f;
    f.fill(400);
    auto markedRows = [&] {
        int n = 0;
        for (size_t i = 0; i < f.menu->itemCount(); ++i) n += f.menu->item(i)->highlighted || f.menu->item(i)->chosen;
        return n;
    };
    auto click = [&](Cwidget* row) {
        f.click(row->x, row->y);
        return f.menu->findPressedItem();
    };
    f.menu->setSelectedIdx(250);
    f.idle(1);
    EXPECT_TRUE(f.menu->item(250)->highlighted && markedRows() == 1);
    // A row put in above: the marked row moves down with the selection.
    f.menu->insertItem(gUi->createWidget(f.menu->itemTemplate), 0);
    f.menu->layout();
    f.idle(1);
    EXPECT_TRUE(f.menu->item(251)->highlighted && markedRows() == 1);
    Cwidget* row = f.menu->item(251);
    EXPECT_TRUE(click(row) == row && row->pressed);
    f.idle(1);
    EXPECT_FALSE(row->pressed);
    // Scrolled by the wheel to the end, the last row takes the click and the mark.
    f.click(f.menu->areaRect().cx(), f.menu->areaRect().cy(), nullptr, -10000);
    Cwidget* last = f.menu->item(f.menu->itemCount() - 1);
    EXPECT_TRUE(click(last) == last && last->highlighted && markedRows() == 1);
    f.menu->setFocused(false);
    f.idle(1);
    EXPECT_TRUE(last->chosen && markedRows() == 1);
}

// Every list keeps its rows inside its box without the screen asking, and
// its last row can be reached with keys (by choosing or, in a list with
// nothing to choose, by scrolling) and with the wheel, focused or not.
TEST(UiMenuOps, EveryListClipsAndScrollsToItsLastRow) {
    CmenuFixture f;
    f.fill(10);
    EXPECT_TRUE(f.menu->hasClipRect());
    const Crect area = f.menu->areaRect();
    auto lastRowAtTheBottom = [&] { return std::fabs(f.menu->item(9)->rect().bottom() - area.bottom()) < 0.01f; };
    f.idle(30);
    // Selecting a row below the area scrolls it into view, and no further.
    f.menu->setSelectedIdx(6);
    EXPECT_NEAR(f.menu->item(6)->rect().bottom(), area.bottom(), 0.01f);
    f.menu->setSelectedIdx(0);   // the top again scrolls back
    EXPECT_FLOAT_EQ(f.menu->scrollOffset(), 0.0f);
    for (int i = 0; i < 9; ++i) f.press(&CuiInput::down);
    EXPECT_EQ(f.menu->getSelectedIdx(), 9);
    EXPECT_TRUE(lastRowAtTheBottom());
    // A click where a row lies outside the clip is not a press; without the
    // clip the same place is the row's.
    Cwidget* outside = f.menu->item(0);
    ASSERT_LT(outside->y, area.y);
    f.click(outside->x, outside->y);
    EXPECT_EQ(f.menu->findPressedItem(), nullptr);
    f.menu->clearClipRect();
    f.click(outside->x, outside->y);
    EXPECT_EQ(f.menu->findPressedItem(), outside);
    f.menu->layout();

    // Rows with nothing to choose (credits, notes): the keys scroll.
    f.menu->clearItems();
    for (int i = 0; i < 10; ++i) f.menu->addTextItemByKey({}, "OK", false);
    f.menu->layout();
    for (int i = 0; i < 40 && !lastRowAtTheBottom(); ++i) f.press(&CuiInput::down);
    EXPECT_TRUE(lastRowAtTheBottom());
    EXPECT_FLOAT_EQ(f.menu->scrollOffset(), f.menu->maxScrollOffset());
    for (int i = 0; i < 40; ++i) f.press(&CuiInput::up);
    EXPECT_FLOAT_EQ(f.menu->scrollOffset(), 0.0f);

    // The wheel scrolls a list without the focus (a board beside a menu).
    f.menu->setFocused(false);
    f.click(area.cx(), area.cy(), nullptr, -100);
    EXPECT_TRUE(lastRowAtTheBottom());
    f.click(area.cx(), area.y - 20, nullptr, 100);   // elsewhere the wheel leaves it alone
    EXPECT_TRUE(lastRowAtTheBottom());
}

// A growing list keeps its bottom's share of the screen at every window
// shape, so a taller window shows more rows; a list says when it scrolls.
TEST(UiMenuOps, AGrowingListTakesTheRoomATallerWindowGives) {
    CmenuFixture f;
    f.fill(2);
    EXPECT_FALSE(f.menu->scrolls());
    f.fill(8);
    EXPECT_TRUE(f.menu->scrolls());
    const float bottomShare = 0.1f + 200.0f / 720.0f;   // Pos 0.1, Size 200 at 16:9
    const struct {
        int w, h;
        bool grow;
        float bottom;   // pixels
    } shapes[] = {
        {1280, 720, true, bottomShare * 720}, {1280, 800, true, bottomShare * 800},
        {1024, 768, true, bottomShare * 768}, {1024, 768, false, 0.1f * 768 + 200 * 0.8f},
    };
    for (const auto& c : shapes) {
        gEngine->setScreenSize(c.w, c.h);
        f.menu->grow = c.grow;
        EXPECT_NEAR(f.menu->areaRect().bottom(), c.bottom, 0.01f) << c.w << "x" << c.h << " grow " << c.grow;
    }
}

TEST(UiWidgetOps, HiddenWidgetsTakeNoInputAndLayoutsPlaceThemAgain) {
    CmenuFixture f;
    Cwidget* other = f.screen->findWidget("Other");
    f.idle(30);
    const float placed = other->x;
    other->setPosition(100, 200);
    f.screen->layout();   // a new layout puts it back where its layout says
    EXPECT_FLOAT_EQ(other->x, placed);

    // Hidden: not drawn, not clicked, not reached by the pad.
    other->setHidden(true);
    EXPECT_FALSE(other->visible());
    f.click(other->x, other->y);
    EXPECT_FALSE(f.screen->wasPressed(other));
    f.menu->setFocused(false);
    f.press(&CuiInput::right, DEVICE_CONTROLLER);
    EXPECT_EQ(f.screen->highlightedWidget(), nullptr);
    other->setHidden(false);
    f.press(&CuiInput::right, DEVICE_CONTROLLER);
    EXPECT_EQ(f.screen->highlightedWidget(), other);
    // Hidden widgets are left out of the enter effects.
    other->setHidden(true);
    f.screen->enterOpening();
    EXPECT_FALSE(other->effectRunning());
    EXPECT_TRUE(f.panel->effectRunning());
}
