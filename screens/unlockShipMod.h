#pragma once
// CunlockShipModScreen: a ship module won by completing missions. OK adds it
// to the player's modules; then on to the track's ship offer or the main menu.
#include <string>

#include "game/progress/shipModule.h"
#include "screens/layoutScreen.h"

class CunlockShipModScreen : public ClayoutScreen {
public:
    CunlockShipModScreen();
    // Enters the screen with the module to hand over.
    void open(const std::string& moduleKey);
    const std::string& moduleKey() const { return key_; }
    void render() override;

private:
    void onEnter() override;
    void onUpdate() override;

    static const CwidgetBinding kBindings[];
    Cwidget* modPos_ = nullptr;
    Cwidget* modInfo_ = nullptr;
    Cwidget* congrats_ = nullptr;
    std::string key_;
    CshipModule module_;
};
