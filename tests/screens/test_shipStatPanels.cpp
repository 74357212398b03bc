#include <gtest/gtest.h>

#include "engine/ui/screen.h"
#include "engine/ui/uiMgr.h"
#include "game/progress/shipModule.h"
#include "screens/shipStatPanels.h"
#include "screensFixture.h"

namespace {
bool sameColour(const Ccolour& a, const Ccolour& b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

Cwidget* widgetWith(const char* name, std::initializer_list<const char*> texts) {
    std::string text = std::string("Widget ") + name + "\n    Size 300 300\n";
    for (const char* t : texts) text += std::string("    Text ") + t + "\n    EndText\n";
    text += "EndWidget\nEndFile\n";
    Cscreen* s = gUi->loadScreenFromText(name, text.c_str());
    return s ? s->findWidget(name) : nullptr;
}
}  // namespace

// Bonuses round to two places; the sign and the look follow the rounded value.
TEST(ShipStatPanels, BonusTextsAndLooks) {
    const struct { float v; const char* text; int look; } rows[] = {
        {0.004f, "0.00", VALUE_NORMAL}, {0.006f, "+0.01", VALUE_GOOD}, {-0.006f, "-0.01", VALUE_BAD}};
    for (const auto& r : rows) {
        EXPECT_STREQ(bonusText(r.v), r.text);
        EXPECT_EQ(bonusLook(r.v), r.look) << r.v;
    }
}

TEST(ShipStatPanels, PanelAndGlobalFigures) {
    CscreensGame g;
    ASSERT_TRUE(g.initOk());
    gGame->namedColours.load();
    CplayerShipDef ship;
    ship.data.identifier = "Test";
    ship.data.acceleration = 2.0f;
    ship.bonus.acceleration = 0.6f;
    ship.bonus.startMultiplier = 2;
    ship.bonus.autoAim = true;
    Cwidget* panel = widgetWith("Panel", {"Stats1", "Stats1b", "Stats2", "Stats2b", "Stats3", "Stats3b", "Stats8",
                                          "Stats9", "Stats9b", "Stats11", "Stats11b", "Stats12b"});
    ASSERT_NE(panel, nullptr);
    fillShipStatsPanel(panel, ship);
    EXPECT_EQ(panel->getText("Stats2"), "Acceleration: 2.60");
    EXPECT_EQ(panel->getText("Stats2b"), "+0.60");
    EXPECT_TRUE(sameColour(panel->findTextGadget("Stats2")->colour, gGame->namedColours.valueGood));
    EXPECT_EQ(panel->getText("Stats9b"), "+2");
    EXPECT_EQ(panel->getText("Stats11b"), "Enabled");
    EXPECT_EQ(panel->getText("Stats12b"), "Disabled");

    Cwidget* disc = widgetWith("Disc", {"TextName"});
    Cwidget* cleared = widgetWith("Cleared", {"TextName"});
    Cwidget* played = widgetWith("Played", {"TextName"});
    ship.statsPending = true;
    fillGlobalShipStats(ship, disc, cleared, played);
    EXPECT_EQ(cleared->getText(), "Tracks cleared worldwide: -");
    EXPECT_TRUE(disc->hidden);   // not a music-generated ship
    ship.statsPending = false;
    ship.source = SHIP_PROCEDURAL;
    ship.globalTracksCleared = 12345;
    ship.globalTimePlayed = 3599.9f;
    fillGlobalShipStats(ship, disc, cleared, played);
    EXPECT_EQ(cleared->getText(), "Tracks cleared worldwide: 12,345");
    EXPECT_EQ(played->getText(), "Played worldwide: 59:59");
    EXPECT_FALSE(disc->hidden);
}

TEST(MenuBackground, NeverPicksTheStyleItHas) {
    CmenuBackground bg;
    Crandom random(1);
    for (int i = 0; i < 200; ++i) {
        const uint32_t before = bg.style;
        bg.styleTimer = 5;
        bg.pickNewStyle(random);
        EXPECT_NE(bg.style, before);
        EXPECT_LE(bg.style, 3u);
        EXPECT_EQ(bg.styleTimer, 0.0f);
    }
}

// Every kind of module card shows the module's factors and its model in place
// of the plain icon; an emptied card shows none.
TEST(ShipStatPanels, AModuleCardShowsTheModule) {
    CscreensGame g;
    ASSERT_TRUE(g.initOk());
    CshipModule m;
    m.rarity = 2;
    m.posKind = ShipMod_StartMultiplier;
    m.posFactor = 2.7f;
    m.negKind = ShipMod_Decel;
    m.negFactor = 0.015f;
    m.prop = "modProp_TopSpeed";
    ASSERT_NE(gEngine->props.findDef(m.prop, false), nullptr);
    for (const char* templ : {"ShipModuleItem", "ModuleSlot"}) {
        CwidgetPtr card = gUi->createWidget(templ);
        ASSERT_NE(card, nullptr) << templ;
        fillShipModuleCard(card.get(), &m);
        EXPECT_EQ(card->getText("PosFactor"), "+2") << templ;
        EXPECT_EQ(card->getText("NegFactor"), "+0.01") << templ;
        EXPECT_EQ(card->getText("Rarity"), "Rare") << templ;
        const Cgadget* prop = card->findGadget("Prop");
        ASSERT_NE(prop, nullptr) << templ;
        EXPECT_EQ(prop->propName, m.prop) << templ;
        EXPECT_GT(prop->propScale, 0.0f) << templ;
        if (const Cgadget* icon = card->findGadget("Icon")) EXPECT_TRUE(icon->hidden) << templ;
        fillShipModuleCard(card.get(), nullptr);
        EXPECT_EQ(card->findGadget("Prop")->propName, "") << templ;
        EXPECT_EQ(card->getText("PosFactor"), "") << templ;
    }
}
