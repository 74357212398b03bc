#pragma once
// CpartyGameTypeScreen, the PartyGameType state ("partyGameType.txt"): how a
// party plays: the game type, the team mode, the Carnage, Tag and
// no-multiplier rules, and where the music comes from. Choices that cannot
// go together are marked red and hide OK; OK keeps the choice and goes on to
// the music, BACK returns to the party login.
#include "screens/layoutScreen.h"
#include "screens/menuColumns.h"

class CpartyGameTypeScreen : public ClayoutScreen {
public:
    CpartyGameTypeScreen();
    void update() override;

    bool choiceValid() const { return choiceValid_; }
    Cmenu* gameTypes() const { return gameType_; }
    Cmenu* teamModes() const { return teamMode_; }
    Cmenu* carnageRules() const { return carnage_; }
    Cmenu* tagRules() const { return tag_; }
    Cmenu* noMultiplier() const { return noMultiplier_; }
    Cmenu* musicSources() const { return musicSource_; }

private:
    bool onLoaded() override;
    void onEnter() override;
    void onUpdate() override;
    void validate();
    void confirm();

    static const CwidgetBinding kBindings[];
    Cmenu* gameType_ = nullptr;
    Cmenu* teamMode_ = nullptr;
    Cmenu* carnage_ = nullptr;
    Cmenu* tag_ = nullptr;
    Cmenu* noMultiplier_ = nullptr;
    Cmenu* musicSource_ = nullptr;
    CmenuColumns columns_;
    bool choiceValid_ = true;
};
