#include "screens/placeholder.h"

#include <algorithm>

#include "engine/engine.h"
#include "game/game.h"

namespace {
// States a player passes through and does not go back to.
const int kPassing[] = {GM_INIT,     GM_LOADING, GM_LOADING_DONE, GM_LANGUAGE, GM_SIGN_IN,     GM_START_UP,
                        GM_CONFIRM, GM_EXIT,    GM_REALLY_EXIT,  GM_PLAYING,  GM_321_GO};

int backFrom(int mode, int previous) {
    if (mode == GM_MAIN_MENU) return GM_PRESS_START;
    bool passing = std::find(std::begin(kPassing), std::end(kPassing), previous) != std::end(kPassing);
    return passing || previous == mode ? GM_MAIN_MENU : previous;
}
}  // namespace

const CwidgetBinding CplaceholderScreen::kBindings[] = {{&CplaceholderScreen::title_, "Title"}};

CplaceholderScreen::CplaceholderScreen() : ClayoutScreen("placeholder.txt", kBindings, LEAVE_AT_ONCE) {}

bool CplaceholderScreen::load() { return screen() || ClayoutScreen::load(); }

void CplaceholderScreen::onEnter() {
    const int mode = gGame->mode();
    back_ = backFrom(mode, gGame->previousMode());
    title_->setText("TextName", gameModeName(mode));
    gUi->buttonBar.addButtonByKey("BACK", ACTION_BACK, ICON_BACK);
}

void CplaceholderScreen::onUpdate() {
    if (gUi->action() == ACTION_BACK) gGame->setGameMode(back_);
}
