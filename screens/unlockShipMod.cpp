#include "screens/unlockShipMod.h"

#include "engine/engine.h"
#include "engine/render/particles.h"
#include "engine/ui/screen.h"
#include "game/game.h"
#include "screens/displayShip.h"
#include "screens/listRows.h"
#include "screens/shipStatPanels.h"
#include "screens/unlockProcShip.h"

const CwidgetBinding CunlockShipModScreen::kBindings[] = {
    {&CunlockShipModScreen::modPos_, "ModPos"},
    {&CunlockShipModScreen::modInfo_, "ModInfo"},
    {&CunlockShipModScreen::congrats_, "Congrats"},
};

CunlockShipModScreen::CunlockShipModScreen() : ClayoutScreen("UnlockShipMod.txt", kBindings) {}

void CunlockShipModScreen::open(const std::string& moduleKey) {
    key_ = moduleKey;
    gGame->setGameMode(GM_UNLOCK_SHIP_MOD, true);
}

void CunlockShipModScreen::onEnter() {
    gUi->buttonBar.addButtonByKey("OK", ACTION_SELECT, ICON_OK);
    module_ = CshipModule();
    module_.initFromKey(key_);
    modPos_->setText("", "");
    modPos_->setProp("", module_.prop, 1.0f);
    fillShipModuleCard(modInfo_, &module_);
}

void CunlockShipModScreen::onUpdate() {
    Cgame& g = *gGame;
    const CcolourTable::Centry* highScore = gEngine->colours.find("HighScore");
    sparkleAround(congrats_, highScore ? gEngine->colours.get("HighScore") : g.namedColours.yellow, 0.2f);
    const int action = gUi->action();
    if (action != ACTION_SELECT && action != ACTION_BACK) return;
    modPos_->setProp("", "", 1.0f);
    // Held once only, however often the screen is passed.
    if (action == ACTION_SELECT && !key_.empty() && !g.progress.modules.findModule(key_)) {
        g.progress.modules.addModule(key_);
        g.saveRequested = 1;
        gEngine->log.print(LOG_V, "Module unlocked: %s", key_.c_str());
    }
    if (unlockProcShipDue()) {
        g.setGameMode(GM_UNLOCK_PROC_SHIP, true);
        return;
    }
    nameOpenMicTrack();
    g.saveLoad.saveGame();
    g.setGameMode(GM_MAIN_MENU, true);
}

void CunlockShipModScreen::render() {
    ClayoutScreen::render();
    drawParticleLayer(kUiFrontLayer);
}
