#pragma once
// CpartyLoginScreen, the PartyLogin state ("partyLogin.txt"): the local
// players of a party game. The first player is in from the start; each
// further player joins by pressing a button on a controller of his own,
// renames himself and picks his ship from his own ship list. With two or
// more players in and every list closed, OK goes on to the party game type.
#include <array>
#include <vector>

#include "screens/layoutScreen.h"

class Cship;

class CpartyLoginScreen : public ClayoutScreen {
public:
    static constexpr int kSlots = 4;
    static constexpr int kMaxNameChars = 30;

    CpartyLoginScreen();
    void update() override;
    void render() override;

    bool readyToStart() const { return readyToStart_; }
    bool shipListOpen(int slot) const { return slot >= 0 && slot < kSlots && listOpen_[slot]; }
    Cmenu* shipMenu(int slot) const { return slot >= 0 && slot < kSlots ? slots_[slot].shipMenu : nullptr; }
    Cwidget* nameWidget(int slot) const { return slot >= 0 && slot < kSlots ? slots_[slot].name : nullptr; }
    Cship* displayShip(int slot) const { return slot >= 0 && slot < kSlots ? displayShips_[slot] : nullptr; }
    int nameEditSlot() const { return nameEditSlot_; }

private:
    struct Cslot {
        Cwidget* name = nullptr;
        Cwidget* score = nullptr;
        Cwidget* gamepad = nullptr;
        Cwidget* namePrompt = nullptr;
        Cwidget* shipPrompt = nullptr;
        Cwidget* shipPos = nullptr;
        Cwidget* shipName = nullptr;
        Cmenu* shipMenu = nullptr;
    };
    struct CslotShip {
        int slot;
        Cship* ship;
    };

    bool onLoaded() override;
    void onEnter() override;
    void onUpdate() override;

    void refreshSlot(int slot);
    void spawnSlotShip(int slot);
    void setShipListOpen(int slot, bool open);
    void fillShipList(int slot);
    // True when the new player's controller goes to be set up first.
    bool checkJoin();
    void beginRename(int slot);
    void finishRename();
    void placeShips();
    void leaveForMainMenu();
    void restoreBindings();
    bool slotReleased(int slot, int action) const;

    std::array<Cslot, kSlots> slots_{};
    std::array<Cship*, kSlots> displayShips_{};
    std::array<bool, kSlots> listOpen_{};
    std::vector<CslotShip> listShips_;
    bool readyToStart_ = false;
    int nameEditSlot_ = -1;
    bool holdConfirmKeys_ = false;
};
