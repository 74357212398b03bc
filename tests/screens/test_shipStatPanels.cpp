#include <gtest/gtest.h>

#include "engine/ui/screen.h"
#include "engine/ui/uiMgr.h"
#include "game/progress/shipModule.h"
#include "screens/shipStatPanels.h"
#include "screensFixture.h"

namespace {
bool sameColour(const Ccolour& a, const Ccolour& b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

Cwidget* widgetWith(const char* name, std::initializer_list<const char*> texts, std::initializer_list<const char*> sprites = {}) {
    std::string text = std::string("Widget ") + name + "\n    Size 300 300\n";
    for (const char* t : texts) text += std::string("    Text ") + t + "\n    EndText\n";
    for (const char* s : sprites) text += std::string("    Sprite ") + s + "\n    EndSprite\n";
    text += "EndWidget\nEndFile\n";
    Cscreen* s = gUi->loadScreenFromText(name, text.c_str());
    return s ? s->findWidget(name) : nullptr;
}
}  // namespace

TEST(ShipStatPanels, BonusTextsAndLooks) {
    CscreensGame g;
    ASSERT_TRUE(g.initOk());
    EXPECT_STREQ(bonusText(0.004f), "0.00");
    EXPECT_EQ(bonusLook(0.004f), VALUE_NORMAL);
    EXPECT_STREQ(bonusText(0.006f), "+0.01");
    EXPECT_EQ(bonusLook(0.006f), VALUE_GOOD);
    EXPECT_STREQ(bonusText(-0.006f), "-0.01");
    EXPECT_EQ(bonusLook(-0.006f), VALUE_BAD);
    // Boundaries of a few lines.
    EXPECT_EQ(statLineLook(1, 0.35f), VALUE_GOOD);
    EXPECT_EQ(statLineLook(1, 0.6f), VALUE_NORMAL);
    EXPECT_EQ(statLineLook(1, 0.61f), VALUE_BAD);
    EXPECT_EQ(statLineLook(3, 0.86f), VALUE_GOOD);
    EXPECT_EQ(statLineLook(3, 0.92f), VALUE_BAD);
    EXPECT_EQ(statLineLook(7, -0.01f), VALUE_BAD);
    EXPECT_EQ(statLineLook(8, 5), VALUE_NORMAL);
    EXPECT_EQ(statLineLook(8, 6), VALUE_GOOD);
    EXPECT_EQ(statLineLook(10, 0), VALUE_NORMAL);
}

TEST(ShipStatPanels, PanelGlobalFiguresAndModuleCards) {
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
    EXPECT_EQ(panel->getText("Stats3b"), "0.00");
    EXPECT_EQ(panel->getText("Stats9b"), "+2");
    EXPECT_EQ(panel->getText("Stats11b"), "Enabled");
    EXPECT_EQ(panel->getText("Stats12b"), "Disabled");

    Cwidget* disc = widgetWith("Disc", {"TextName"});
    Cwidget* cleared = widgetWith("Cleared", {"TextName"});
    Cwidget* played = widgetWith("Played", {"TextName"});
    ship.statsPending = true;
    fillGlobalShipStats(ship, disc, cleared, played);
    EXPECT_EQ(disc->getText(), "Discoveries: -");
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

    Cwidget* card = widgetWith("Card", {"Prop", "Name", "Rarity", "PosTitle", "NegTitle", "PosFactor", "NegFactor"},
                               {"Edge", "Lock", "Unlock"});
    ASSERT_NE(card, nullptr);
    CshipModule m;
    m.rarity = 2;
    m.posKind = ShipMod_StartMultiplier;
    m.posFactor = 2.7f;
    m.negKind = ShipMod_Decel;
    m.negFactor = 0.015f;
    fillShipModuleCard(card, &m);
    EXPECT_EQ(card->getText("PosFactor"), "+2");
    EXPECT_EQ(card->getText("NegFactor"), "+0.01");
    EXPECT_EQ(card->getText("Rarity"), "Rare");
    fillShipModuleCard(card, nullptr);
    for (const char* t : {"Name", "Rarity", "PosFactor", "NegFactor"}) EXPECT_EQ(card->getText(t), "") << t;
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

// The module's model shows on every kind of module card, in place of the
// plain module icon, sized to the card's prop box; an emptied card has none.
TEST(ShipStatPanels, AModuleCardShowsTheModulesProp) {
    CscreensGame g;
    ASSERT_TRUE(g.initOk());
    CshipModule m;
    m.rarity = 1;
    m.posKind = ShipMod_StartMultiplier;
    m.posFactor = 2.0f;
    m.negKind = ShipMod_Decel;
    m.prop = "modProp_TopSpeed";
    ASSERT_NE(gEngine->props.findDef(m.prop, false), nullptr);
    for (const char* templ : {"ShipModuleItem", "ModuleSlot"}) {
        CwidgetPtr card = gUi->createWidget(templ);
        ASSERT_NE(card, nullptr) << templ;
        fillShipModuleCard(card.get(), &m);
        const Cgadget* prop = card->findGadget("Prop");
        ASSERT_NE(prop, nullptr) << templ;
        EXPECT_EQ(prop->propName, m.prop) << templ;
        EXPECT_GT(prop->propScale, 0.0f) << templ;
        if (const Cgadget* icon = card->findGadget("Icon")) EXPECT_TRUE(icon->hidden) << templ;
        fillShipModuleCard(card.get(), nullptr);
        EXPECT_EQ(card->findGadget("Prop")->propName, "") << templ;
    }
}
