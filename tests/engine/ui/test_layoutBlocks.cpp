// Layout blocks that list screens build on: visibility groups, tables, and
// texts fitted to their boxes.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "engine/ui/uiMgr.h"
#include "support/testEngine.h"
#include "uiTestLayouts.h"

TEST(UiGroups, ShowGroupSwitchesPanelsAndHiddenOnesTakeNoInput) {
    CuiScreenFixture f("listDemo.txt", "DetailMenu");
    Cscreen* s = f.screen;
    ASSERT_NE(s, nullptr);
    Cwidget* title = s->findWidget("Title");
    Cwidget* summary = s->findWidget("SummaryPanel");
    Cwidget* detail = s->findWidget("DetailPanel");
    Cmenu* menu = f.menu;
    ASSERT_TRUE(title && summary && detail && menu);
    EXPECT_EQ(detail->groups, (std::vector<std::string>{"Detail", "Expert"}));
    // Every group shows until code says otherwise.
    EXPECT_TRUE(summary->visible() && detail->visible() && menu->shown());

    s->showGroup("summary");   // names ignore case
    EXPECT_TRUE(summary->visible() && title->visible());
    EXPECT_FALSE(detail->visible() || menu->shown() || s->isGroupVisible("Expert"));

    // A widget in two groups shows while either is visible.
    s->setGroupVisible("Expert", true);
    EXPECT_TRUE(detail->visible() && !menu->shown());
    s->showGroup("Detail");
    EXPECT_TRUE(!summary->visible() && detail->visible() && menu->shown());
    s->setGroupVisible("Detail", false);
    EXPECT_FALSE(detail->visible());

    // Hidden by code stays hidden whatever its groups do.
    summary->setHidden(true);
    s->showGroup("Summary");
    EXPECT_FALSE(summary->visible());
    summary->setHidden(false);
    EXPECT_TRUE(summary->visible());

    // Widgets added later follow the groups already switched.
    CwidgetPtr extra = gUi->createWidget("PanelBox");
    extra->groups = {"Detail"};
    EXPECT_FALSE(s->addWidget(std::move(extra))->visible());

    s->setGroupVisible("Nonesuch", false);
    EXPECT_TRUE(gEngine->log.contains("Can't find group: Nonesuch in listDemo.txt"));

    // A hidden group takes no transition and no input.
    s->findTable("Types")->setFocused(false);
    s->showGroup("Summary");
    s->enterOpening();
    f.idle(30);
    EXPECT_FALSE(detail->effectRunning());
    f.press(&CuiInput::down);
    f.act(ACTION_SELECT);
    EXPECT_TRUE(menu->getSelectedIdx() == 0 && menu->highlightedItem() == nullptr);
    s->showGroup("Detail");
    f.press(&CuiInput::down);
    EXPECT_EQ(menu->getSelectedIdx(), 1);
}

TEST(UiTable, ColumnsHeaderAndRows) {
    CtestEngine eng;
    Cscreen* s = loadTestLayout("listDemo.txt");
    ASSERT_NE(s, nullptr);
    Ctable* t = s->findTable("Types");
    ASSERT_NE(t, nullptr);

    // The header: one text per column, headings from their tags, above the rows.
    Cwidget* h = t->header();
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->getText("Score"), "KILOTONS");

    Cwidget* r0 = t->addRow(100, {"1st", "Standard", "12,345"});
    Cwidget* r1 = t->addRow(200, {"2nd", "Survival"});
    ASSERT_TRUE(r0 && r1);
    EXPECT_EQ(r0->getText("Score"), "12,345");   // texts go to the text columns, past the icon
    EXPECT_EQ(r1->getText("Score"), "");
    EXPECT_EQ(t->getSelectedItemInt(), 100);

    // Columns sit left to right, side by side across the row; a text keeps 6
    // layout pixels clear of each edge of its column, so neighbours never touch.
    float left = -r0->width * 0.5f;
    for (size_t c = 0; c < t->columns.size(); ++c) {
        const CtableColumn& col = t->columns[c];
        Cgadget* g = t->cell(0, c);
        ASSERT_NE(g, nullptr);
        EXPECT_FLOAT_EQ(g->offsetX, left + col.width * 0.5f) << col.name;
        if (!col.sprite) EXPECT_FLOAT_EQ(g->width, col.width - 12.0f) << col.name;
        left += col.width;
    }
    EXPECT_FLOAT_EQ(left, r0->width * 0.5f);
    // Each row its own cells.
    t->cell(1, "Mode")->colour = Ccolour(1, 0, 0, 1);
    EXPECT_FLOAT_EQ(r0->findGadget("Mode")->colour.g, 1.0f);
    EXPECT_TRUE(t->cell(5, "Mode") == nullptr && t->cell(0, "Nope") == nullptr);
    t->setCellText(0, "Badge", "x");
    EXPECT_TRUE(gEngine->log.contains("Can't find cell: Badge of row 0 in Types"));

    // Rows start below the header.
    EXPECT_LE(h->rect().bottom(), r0->rect().y + 0.5f);

    // Inserting in front, then clearing.
    EXPECT_EQ(t->row(0), t->addRow(50, {"0th"}, 0));
    EXPECT_EQ(t->getSelectedItemInt(), 100);   // the selection stays on its row
    t->clearRows();
    EXPECT_TRUE(t->rowCount() == 0 && t->getSelectedItem() == nullptr);
}

TEST(UiTable, BadTableBlocksAreReported) {
    CtestEngine eng;
    gUi->clearProblems();
    Cscreen* s = gUi->loadScreenFromText("bad", R"(
Table T
    RowTemplate NoSuchRow
    HeaderTemplate NoSuchHeader
    Column A 100 Left Heading NoSuchTag
    Column A 50 Right
EndTable
EndFile
)");
    ASSERT_NE(s, nullptr);
    std::string all;
    for (auto& p : gUi->problems()) all += p + "\n";
    for (const char* p : {"can't find template NoSuchRow", "can't find template NoSuchHeader",
                          "can't find tag 'NoSuchTag'", "column A twice in T"})
        EXPECT_NE(all.find(p), std::string::npos) << all;
    EXPECT_EQ(s->findTable("T")->addRow(1, {"x"}), nullptr);

    EXPECT_EQ(gUi->loadScreenFromText("bad2", "Table T\n Column A 100 Left Wobbly\nEndTable\nEndFile\n"), nullptr);
    EXPECT_EQ(gUi->problems().back(), "bad2: unknown column field 'Wobbly' in T.A");
    EXPECT_NE(gUi->loadScreenFromText("bad3", "Widget W\n Groups\n Pos 0 0\nEndWidget\nEndFile\n"), nullptr);
    EXPECT_EQ(gUi->problems().back(), "bad3: Groups without a group name in W");
}

// Below the legible floor a text is cut with an ellipsis rather than shrunk
// to a few pixels; cuts fall between characters, never inside one.
TEST(UiTextFit, TextsAreCutWithAnEllipsisBelowTheLegibleFloor) {
    CtestEngine eng;
    ASSERT_TRUE(gEngine->fonts.load());
    const std::string ellipsis = "\xE2\x80\xA6";
    auto endsWithEllipsis = [&](const std::string& s) {
        return s.size() >= ellipsis.size() && s.compare(s.size() - ellipsis.size(), ellipsis.size(), ellipsis) == 0;
    };

    // A little too wide: shrunk, uncut.
    const std::string name = "Custom Ship Number Nine";
    const float natural = uiDraw::measureText("FontSmall", name, 1.0f).x;
    uiDraw::CfittedText shrunk = uiDraw::fitText("FontSmall", name, 1.0f, natural * 0.8f, 0, false);
    EXPECT_TRUE(shrunk.text == name && !shrunk.cut);
    EXPECT_NEAR(shrunk.scale, 0.8f, 0.01f);
    // Far too wide: drawn at the floor and cut.
    uiDraw::CfittedText cut = uiDraw::fitText("FontSmall", name, 1.0f, natural * 0.3f, 0, false);
    EXPECT_TRUE(cut.cut && endsWithEllipsis(cut.text)) << cut.text;
    EXPECT_FLOAT_EQ(cut.scale, uiDraw::legibleFloor("FontSmall", 1.0f));
    EXPECT_EQ(name.compare(0, cut.text.size() - ellipsis.size(), cut.text, 0, cut.text.size() - ellipsis.size()), 0);
    EXPECT_LE(uiDraw::measureText("FontSmall", cut.text, cut.scale).x, natural * 0.3f);

    // Cuts keep whole characters of a non-Latin text.
    const std::string umlauts = "\xC3\x84\xC3\x96\xC3\x9C\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x84\xC3\x96\xC3\x9C\xC3\xA4";
    std::string head = uiDraw::cutWithEllipsis("FontSmall", umlauts, 1.0f, 50.0f);
    ASSERT_TRUE(endsWithEllipsis(head));
    EXPECT_EQ((head.size() - ellipsis.size()) % 2, 0u);
    EXPECT_LE(uiDraw::measureText("FontSmall", head, 1.0f).x, 50.0f);

    // Wrapped and too tall at the floor: the lines that fit, the last one ending in the ellipsis.
    const std::string comment = "A very long comment about the track that goes on and on and on about the drop";
    uiDraw::CfittedText lines = uiDraw::fitText("FontSmall", comment, 1.0f, 120.0f, 30.0f, true);
    EXPECT_TRUE(lines.cut && endsWithEllipsis(lines.text)) << lines.text;
    Cvec2 size = uiDraw::measureText("FontSmall", lines.text, lines.scale);
    EXPECT_TRUE(size.x <= 120.0f && size.y <= 30.0f) << size.x << " x " << size.y;
}

// Japanese and Chinese have no spaces: their lines break between characters
// rather than the text being shrunk or cut.
TEST(UiTextFit, TextsWithoutSpacesBreakBetweenCharacters) {
    CtestEngine eng;
    ASSERT_TRUE(gEngine->fonts.load());
    // "No modules yet. Complete two missions of a ship to earn its module." in Japanese.
    const std::string tip = "\xE3\x83\xA2\xE3\x82\xB8\xE3\x83\xA5\xE3\x83\xBC\xE3\x83\xAB\xE3\x81\xAF\xE3\x81\xBE"
                            "\xE3\x81\xA0\xE3\x81\x82\xE3\x82\x8A\xE3\x81\xBE\xE3\x81\x9B\xE3\x82\x93\xE3\x80\x82"
                            "\xE3\x82\xB7\xE3\x83\x83\xE3\x83\x97\xE3\x81\xAE\xE3\x83\x9F\xE3\x83\x83\xE3\x82\xB7"
                            "\xE3\x83\xA7\xE3\x83\xB3\xE3\x82\x92\x32\xE3\x81\xA4\xE9\x81\x94\xE6\x88\x90";
    uiDraw::CfittedText fit = uiDraw::fitText("FontSmall", tip, 1.0f, 200.0f, 200.0f, true);
    EXPECT_TRUE(fit.scale == 1.0f && !fit.cut);
    EXPECT_GE(std::count(fit.text.begin(), fit.text.end(), '\n'), 1);
    std::string joined = fit.text;
    joined.erase(std::remove(joined.begin(), joined.end(), '\n'), joined.end());
    EXPECT_EQ(joined, tip);   // every character kept, none split
    std::istringstream lines(fit.text);
    for (std::string line; std::getline(lines, line);) EXPECT_LE(uiDraw::measureText("FontSmall", line, 1.0f).x, 200.0f);
}
