#include <gtest/gtest.h>

#include "screens/confirm.h"
#include "screens/hangar.h"
#include "screens/screenRegistry.h"
#include "screens/shipEditor.h"
#include "screens/shipList.h"
#include "screensFixture.h"

namespace {
struct ChangarFixture {
    CscreensGame g;
    CrecordingScreen mainMenu, gallery, modules;
    ChangarScreen* screen = nullptr;
    CconfirmScreen* confirm = nullptr;

    ChangarFixture() {
        if (!g.initOk()) return;
        g->setScreen(GM_MAIN_MENU, &mainMenu);
        g->setScreen(GM_GALLERY, &gallery);
        g->setScreen(GM_EDIT_MODULES, &modules);
        for (const char* t : {"Tut_ShipHangar3", "Tut_ShipHangar4", "Tut_ShipHangar5", "Tut_ShipMods1", "Tut_ShipMods2",
                              "Tut_ShipMods3"})
            gUi->tutorials.find(t)->seen = true;
        screen = screens::get<ChangarScreen>();
        confirm = screens::get<CconfirmScreen>();
    }
    void open(int shipIdx) {
        g->playerShips.setCurrentShipIdx(shipIdx);
        screen->open(GM_MAIN_MENU);
        g.settle();
    }
    CplayerShipDef& ship(int idx) { return *g->playerShips.ships[(size_t)idx]; }
    Cwidget* widget(const char* name) { return screen->screen()->findWidget(name); }
    std::string text(const char* name) { return widget(name)->getText(); }
    void setMissions(CplayerShipDef& s, int count, int complete) {
        s.data.missions.clear();
        for (int i = 0; i < count; ++i) {
            CshipMission m;
            m.type = MissionType_PlaySurvival;
            m.name = "Mission " + std::to_string(i + 1);
            s.data.missions.push_back(m);
            s.missionComplete[i] = i < complete ? 1 : 0;
        }
    }
    CplayerShipDef& ownDesign() { return *g->playerShips.createCustomShip(); }
    void answer(int itemIdx) {
        ASSERT_TRUE(confirm->showing());
        confirm->menu()->setSelectedIdx(itemIdx);
        g.tapAction(ACTION_SELECT);
        g.steps(3);
    }
};
}  // namespace

TEST(Hangar, ThePageShowsTheShipsTextsMissionsAndModule) {
    ChangarFixture f;
    ASSERT_TRUE(f.g.initOk());
    CplayerShipDef& s = f.ship(0);
    s.data.description = std::string(381, 'd');
    s.timePlayed = 3599.5f;
    f.setMissions(s, 1, 0);
    f.open(0);
    EXPECT_EQ(f.text("ShipDesc"), std::string(380, 'd') + "...");
    EXPECT_NE(f.text("TimePlayed").find("59:59"), std::string::npos);
    EXPECT_TRUE(f.widget("Mission2")->hidden);
    // One mission: no module card and no hint.
    EXPECT_TRUE(f.widget("Module")->hidden);
    EXPECT_TRUE(f.widget("ModUnlock")->hidden);
    // A badge's plain word reads in the player's language; a maker's name is in its picture.
    for (auto [maker, word] : {std::pair{7, "Manu_Standard"}, {8, "Manu_Workshop"}, {0, ""}}) {
        s.data.manufacturer = maker;
        f.open(0);
        EXPECT_EQ(f.widget("Manu")->getText("Word"), *word ? gEngine->text(word) : "") << maker;
    }

    // Four missions, one done: the card is locked with its hint; two done unlock it.
    s.timePlayed = 3600;
    f.setMissions(s, 4, 1);
    f.open(0);
    EXPECT_NE(f.text("TimePlayed").find("01h 00m 00s"), std::string::npos);
    EXPECT_FALSE(f.widget("Module")->hidden);
    EXPECT_FALSE(f.widget("ModUnlock")->hidden);
    EXPECT_FALSE(f.widget("Module")->findGadget("Lock")->hidden);
    f.setMissions(s, 4, 2);
    f.open(0);
    EXPECT_TRUE(f.widget("ModUnlock")->hidden);
    EXPECT_FALSE(f.widget("Module")->findGadget("Unlock")->hidden);

    // The heart marks the ship a favourite.
    EXPECT_FALSE(s.favourite);
    f.g.click(f.widget("Heart"));
    f.g.steps(2);
    EXPECT_TRUE(s.favourite);
}

TEST(Hangar, EditLeadsByTheKindOfShipAndDoesNothingForAnotherPlayersDesign) {
    ChangarFixture f;
    ASSERT_TRUE(f.g.initOk());
    // A built-in ship: module editing.
    f.open(0);
    f.g.tapAction(ACTION_OPTION_X);
    f.g.steps(40);
    EXPECT_EQ(f.modules.enters, 1);

    // One's own unfinished design: the ship editor, handed the shown ship.
    CshipEditorScreen* editor = screens::get<CshipEditorScreen>();
    f.g->setScreen(GM_SHIP_EDITOR, editor);
    for (const char* t : {"Tut_ShipEditHelp1", "Tut_ShipEditHelp2"}) gUi->tutorials.find(t)->seen = true;
    CplayerShipDef& mine = f.ownDesign();
    mine.data.displayName = "Heron";
    f.open(f.g->playerShips.findShipIdx(mine.name()));
    EXPECT_FALSE(f.widget("WIPIcon")->hidden);
    EXPECT_TRUE(f.widget("Heart")->hidden);
    f.g.tapAction(ACTION_OPTION_X);
    f.g.steps(120);
    ASSERT_EQ(f.g.mode(), GM_SHIP_EDITOR);
    EXPECT_EQ(editor->shipData, &mine.data);
    EXPECT_EQ(editor->screen()->findWidget("ShipName")->getText("TextName"), "Heron");
    EXPECT_FALSE(editor->isDirty());

    // Another player's finished design: hidden, and the key does nothing.
    CplayerShipDef& theirs = f.ownDesign();
    theirs.ownerId = gEngine->steamId + 77;
    theirs.finished = true;
    f.open(f.g->playerShips.findShipIdx(theirs.name()));
    f.g.tapAction(ACTION_OPTION_X);
    f.g.tapAction(ACTION_RB);
    f.g.steps(40);
    EXPECT_EQ(f.g.mode(), GM_HANGAR);
    EXPECT_EQ(f.modules.enters, 1);
    EXPECT_FALSE(f.confirm->showing());
}

TEST(Hangar, DeleteAsksFirstAndActsOnlyOnItsOwnYes) {
    ChangarFixture f;
    ASSERT_TRUE(f.g.initOk());
    // The built-in first ship can never go, whatever the owner ids say.
    f.open(0);
    f.g.tapAction(ACTION_RB);
    EXPECT_FALSE(f.confirm->showing());

    CplayerShipDef& mine = f.ownDesign();
    const std::string name = mine.name();
    const int ships = f.g->playerShips.numShips();
    f.open(f.g->playerShips.findShipIdx(name));
    f.g.tapAction(ACTION_RB);
    f.answer(1);   // No
    f.g.steps(3);
    EXPECT_EQ(f.g->playerShips.numShips(), ships);
    EXPECT_EQ(f.g.mode(), GM_HANGAR);
    EXPECT_FALSE(f.screen->awaitingConfirm());

    // A Yes to another screen's question deletes nothing here.
    f.confirm->reset();
    f.confirm->addMenuItem("Yes", 1);
    f.confirm->enter();
    f.answer(0);
    f.g.steps(3);
    EXPECT_EQ(f.g->playerShips.numShips(), ships);

    f.g.tapAction(ACTION_RB);
    f.answer(0);   // Yes
    f.g.steps(40);
    EXPECT_EQ(f.g->playerShips.findShip(name), nullptr);
    EXPECT_EQ(f.g->playerShips.currentIdx, 0);
    EXPECT_EQ(f.g->standardShipFlag, 1);
    EXPECT_EQ(f.gallery.enters, 1);
}

TEST(ShipList, SortsAndFiltersTheHangar) {
    ChangarFixture f;
    ASSERT_TRUE(f.g.initOk());
    CplayerShipMgr& ships = f.g->playerShips;
    CtrackInfoView seed;
    CplayerShipDef* a = ships.createProcShip("GrownA", seed);
    CplayerShipDef* b = ships.createProcShip("GrownB", seed);
    CplayerShipDef& mine = f.ownDesign();
    mine.finished = true;
    a->timePlayed = 10;
    b->timePlayed = 50;
    b->favourite = false;
    a->favourite = true;
    a->publishedId = 99;
    b->missionComplete[0] = b->missionComplete[1] = 1;
    auto names = [&](int sort, int filter) {
        std::vector<std::string> out;
        for (int i : listedShips(sort, filter)) out.push_back(ships.ships[(size_t)i]->name());
        return out;
    };
    const std::string me = mine.name();
    // The three special ships wait for their unlocks.
    EXPECT_EQ(names(SHIPSORT_ALL, 0), (std::vector<std::string>{"Standard", "GrownA", "GrownB", me}));
    ships.findShip("Vornak")->skipEvaluation = true;   // its balance is not what this checks
    EXPECT_EQ(names(SHIPSORT_ALL, 2), (std::vector<std::string>{"Standard", me}));
    f.g->progress.vor5 = true;
    EXPECT_EQ(names(SHIPSORT_ALL, 2), (std::vector<std::string>{"Standard", "Vornak", me}));
    EXPECT_EQ(names(SHIPSORT_ALL, 1), (std::vector<std::string>{me}));
    f.g->progress.vor5 = false;
    EXPECT_EQ(names(SHIPSORT_FAVOURITES, 0), (std::vector<std::string>{"GrownA", "GrownB", "Standard", me}));
    EXPECT_EQ(names(SHIPSORT_MOST_USED, 0), (std::vector<std::string>{"GrownB", "GrownA", "Standard", me}));
    EXPECT_EQ(names(SHIPSORT_LEAST_USED, 0), (std::vector<std::string>{"Standard", me, "GrownA", "GrownB"}));
    EXPECT_EQ(names(SHIPSORT_MISSIONS_COMPLETE, 0).back(), "GrownB");
    EXPECT_EQ(names(SHIPSORT_WORKSHOP, 0).front(), "GrownA");
    // Unfinished and excluded ships never show.
    mine.finished = false;
    b->excluded = true;
    EXPECT_EQ(names(SHIPSORT_ALL, 0), (std::vector<std::string>{"Standard", "GrownA"}));
}
