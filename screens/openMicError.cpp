#include "screens/openMicError.h"

#include "engine/engine.h"
#include "engine/ui/uiDraw.h"
#include "game/game.h"
#include "platform/steam/steamApi.h"
#include "screens/exit.h"

bool CopenMicErrorScreen::load() {
    screen_ = gUi->loadScreen("openMicError.txt");
    if (!screen_) return false;
    close_ = screen_->findWidget("Close");
    website_ = screen_->findWidget("Website");
    error_ = screen_->findWidget("Error");
    message_ = screen_->findWidget("Message");
    return close_ && website_ && error_ && message_;
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
            pressTransition(close_);
            gUi->buttonBar.transitionOut();
            screen_->transitionOut();
        } else if (screen_->wasPressed(website_)) {
            pressTransition(website_);
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
    if (!showing_ || !screen_) return;
    uiDraw::darken(0.3f);
    screen_->render();
}
