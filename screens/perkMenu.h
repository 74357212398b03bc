#pragma once
// CperkMenuScreen: perks bought with cash and their further levels, switched
// on within the perk slots, and the FirePower perks bound to the four perk
// buttons. Every change rebuilds the list; the menu's items are never read
// after a rebuild.
#include "screens/layoutScreen.h"

class CperkMenuScreen : public ClayoutScreen {
public:
    // What a list item stands for (its float value); 3 + k is button k of a
    // FirePower perk's row.
    enum Ekind { KIND_PERK = 1, KIND_UPGRADE = 2, KIND_BUTTON = 3 };

    CperkMenuScreen();

    Cmenu* menu() const { return menu_; }
    // The item of a perk with that kind, or null.
    Cwidget* findItem(int perkId, int kind) const;
    // Two enabled FirePower perks share a perk button.
    bool bindingConflict() const { return conflict_; }
    void buildList();
    void render() override;

private:
    void onEnter() override;
    void onUpdate() override;
    void controllerStep();
    void choose(int kind, int perkId);
    // Buys the perk or its next level; refused with the error tone when the
    // cash is short or no level is left.
    bool buy(int perkId);
    void toggle(int perkId);
    void back();
    int deviceKind() const;

    static const CwidgetBinding kBindings[];
    Cmenu* menu_ = nullptr;
    Cwidget* cash_ = nullptr;
    Cwidget* numSlotsPos_ = nullptr;
    bool slotTaken_[4] = {};
    bool conflict_ = false;
    int lastHighlight_ = -1;
};
