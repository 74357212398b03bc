#include "screens/openMicError.h"

#include "engine/engine.h"
#include "game/game.h"
#include "platform/steam/steamApi.h"
#include "screens/exit.h"

const CwidgetBinding CopenMicErrorScreen::kBindings[] = {
    {&CopenMicErrorScreen::close_, "Close"},
    {&CopenMicErrorScreen::website_, "Website"},
    {&CopenMicErrorScreen::error_, "Error"},
    {&CopenMicErrorScreen::message_, "Message"},
};

CopenMicErrorScreen::CopenMicErrorScreen() : ClayoutOverlay("openMicError.txt", kBindings) {}

bool CopenMicErrorScreen::load() {
    if (!loadLayout()) return false;
    gGame->music.onOpenMicError = [this](const std::string& reason) { showError(reason); };
    return true;
}

Cwidget* CopenMicErrorScreen::widget(const char* name) const {
    return screen_ ? screen_->findWidget(name, false) : nullptr;
}

void CopenMicErrorScreen::showError(const std::string& reason) {
    if (showing_ || !screen_ || quiet > 0) return;
    gEngine->input.mouse.clearPressed();
    showing_ = true;
    gUi->buttonBar.push();
    screen_->enterOpening();
    error_->setText("", reason);
    message_->setTextKey("OpenMiCErrorMessage");
}

void CopenMicErrorScreen::update() {
    if (!showing_ || !screen_) return;
    screen_->update();
    if (!screen_->leaving) {
        if (screen_->wasPressed(close_) || gUi->action() == ACTION_BACK) {
            gGame->playTransitionEffect(close_);
            gUi->buttonBar.transitionOut();
            screen_->transitionOut();
        } else if (screen_->wasPressed(website_)) {
            gGame->playTransitionEffect(website_);
            if (ISteamFriends* friends = SteamFriends()) friends->ActivateGameOverlayToWebPage(kHelpPage);
            gEngine->log.print(LOG_L, "Open mic help: %s", kHelpPage);
        }
        return;
    }
    if (screen_->transitionDone()) {
        showing_ = false;
        gUi->buttonBar.pop();
    }
}

void CopenMicErrorScreen::render() {
    if (showing_) renderOver(0.3f);
}
