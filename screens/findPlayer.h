#pragma once
// CfindPlayerScreen ("findPlayer.txt"), state FindPlayer: the player types
// another player's id, the web service looks it up, and OK adds the player
// found as a friend and keeps their statistics.
#include <cstdint>
#include <string>
#include <vector>

#include "screens/layoutScreen.h"

class Cwidget;

class CfindPlayerScreen : public ClayoutScreen {
public:
    static constexpr int kMaxIdChars = 30;

    CfindPlayerScreen();

    // Opens the screen; Back (or Done) returns to returnState.
    void open(int returnState, bool transition = true);
    Cwidget* widget(const char* name) const;
    uint64_t foundId() const { return id_; }
    // The typed text as an id: a signed 64-bit decimal number; anything
    // else reads as 0, which no player has.
    static uint64_t parseId(const std::string& text);

private:
    void onEnter() override;
    void onUpdate() override;
    static const CwidgetBinding kBindings[];
    void entryFinished();
    // One update of a look-up in flight: its answer, its failure, or Back.
    void stepLookUp();
    Cwidget* box_ = nullptr;
    Cwidget* title_ = nullptr;
    Cwidget* name_ = nullptr;
    Cwidget* ok_ = nullptr;
    std::string text_;
    uint64_t id_ = 0;
    bool found_ = false;
    bool asked_ = false;    // a look-up of ours is in flight
    bool typing_ = false;
    std::vector<uint8_t> record_;
    int returnState_ = 36;
};
