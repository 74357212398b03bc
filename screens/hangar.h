#pragma once
// The hangar ("hangar.txt", state Hangar): the detail page of the current
// ship - its name, description, maker, rank, play figures, missions, module
// and worldwide statistics, with the ship flying in the middle. From here the
// player starts a mission, marks the ship a favourite, deletes it, edits it
// (the ship editor for one's own unfinished design, module editing for ships
// that are not player designs) or goes back.
#include "game/gameModes.h"
#include "screens/layoutScreen.h"

class Cship;
class CplayerShipDef;
class CshipMission;

class ChangarScreen : public ClayoutScreen {
public:
    ChangarScreen();

    // The hand-over: where Back leads (the gallery or the main menu); then
    // the screen's state is asked for.
    void open(int backState, bool transition = false);
    int backState() const { return backState_; }

    // What the Edit button does for the shown ship: nothing (hidden), the
    // ship editor, or module editing.
    enum EeditKind { EDIT_NONE, EDIT_SHIP, EDIT_MODULES };
    static EeditKind editKind(const CplayerShipDef& ship);
    static bool mayDelete(const CplayerShipDef& ship);
    // The description as shown: at most 380 characters, then "...".
    static std::string shownDescription(const std::string& text);

    Cship* displayShip() const { return ship_; }
    bool awaitingConfirm() const { return awaitingConfirm_; }

    void render() override;

private:
    bool onLoaded() override;
    void onEnter() override;
    void onUpdate() override;

    void fill();
    void fillMissions(const CplayerShipDef& ship);
    void fillModule(const CplayerShipDef& ship);
    void askDelete();
    void settleDelete();
    void startMission(int index, const CshipMission& mission, bool complete);

    static const CwidgetBinding kBindings[];
    Cwidget* shipName_ = nullptr;
    Cwidget* shipDesc_ = nullptr;
    Cwidget* shipScore_ = nullptr;
    Cwidget* tracksCompleted_ = nullptr;
    Cwidget* timePlayed_ = nullptr;
    Cwidget* rank_ = nullptr;
    Cwidget* manu_ = nullptr;
    Cwidget* wipIcon_ = nullptr;
    Cwidget* heart_ = nullptr;
    Cwidget* globalDiscoveries_ = nullptr;
    Cwidget* globalTimePlayed_ = nullptr;
    Cwidget* globalTracksCleared_ = nullptr;
    Cwidget* stats_ = nullptr;
    Cwidget* mission1_ = nullptr;
    Cwidget* mission2_ = nullptr;
    Cwidget* mission3_ = nullptr;
    Cwidget* mission4_ = nullptr;
    Cwidget* missions_[4] = {};   // the four above, in order
    Cwidget* module_ = nullptr;
    Cwidget* modUnlock_ = nullptr;
    Cwidget* shipSpot_ = nullptr;

    Cship* ship_ = nullptr;
    EeditKind editKind_ = EDIT_NONE;
    bool deleteShown_ = false;
    bool awaitingConfirm_ = false;
    bool deleteAsked_ = false;   // the overlay's answer is ours to read
    int backState_ = GM_MAIN_MENU;
};
