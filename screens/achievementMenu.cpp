#include "screens/achievementMenu.h"

#include "engine/engine.h"
#include "game/game.h"

const CwidgetBinding CachievementMenuScreen::kBindings[] = {{&CachievementMenuScreen::menu_, "Menu"}};

CachievementMenuScreen::CachievementMenuScreen() : ClayoutScreen("achievementMenu.txt", kBindings) {}

void CachievementMenuScreen::onEnter() { gUi->buttonBar.addButtonByKey("BACK", ACTION_BACK, ICON_BACK); }

void CachievementMenuScreen::onUpdate() {
    if (gUi->action() == ACTION_BACK) gGame->setGameMode(GM_MAIN_MENU, true);
}
