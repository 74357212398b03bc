#pragma once
// Module editing ("editModules.txt", state EditModules): the player's
// collected modules as cards on the left, filtered by the stat they improve;
// the current ship, its five slots and its figures on the right. Choosing a
// card fits it or takes it off, a slot click takes its module off, the bin
// under a card deletes the module after a question, and TestShip flies the
// ship to the current track.
#include <string>

#include "screens/layoutScreen.h"

class Cship;

class CeditModulesScreen : public ClayoutScreen {
public:
    static constexpr int kFilterAll = 10;

    CeditModulesScreen();

    // The hand-over: whether Back returns to the timed challenge (else to
    // the hangar); then the screen's state is asked for.
    void open(bool fromChallenge);

    int filter() const { return filter_; }
    Cmenu* list() const { return menu_; }
    Cship* displayShip() const { return ship_; }
    bool testFlight() const { return testFlight_; }

    void render() override;

private:
    bool onLoaded() override;
    void onEnter() override;
    void onUpdate() override;

    void addButtons();
    void buildList();
    void showShip();
    void fillSlots();
    void chooseCard(Cwidget* card);
    void askDelete(int index);
    void settleDelete();
    void startTestFlight();
    void changed();

    static const CwidgetBinding kBindings[];
    Cmenu* menu_ = nullptr;
    Cwidget* shipName_ = nullptr;
    Cwidget* shipPos_ = nullptr;
    Cwidget* stats_ = nullptr;
    Cwidget* tip_ = nullptr;
    Cwidget* slot1_ = nullptr;
    Cwidget* slot2_ = nullptr;
    Cwidget* slot3_ = nullptr;
    Cwidget* slot4_ = nullptr;
    Cwidget* slot5_ = nullptr;
    Cwidget* slots_[5] = {};   // the five above, in slot order

    Cship* ship_ = nullptr;
    int filter_ = kFilterAll;
    bool returnToChallenge_ = false;
    bool testFlight_ = false;
    bool deletePending_ = false;
    std::string deleteKey_;   // the module the question is about
};
