#include "screens/exit.h"

#include "engine/engine.h"
#include "game/game.h"

namespace {
bool escapePressed() { return gEngine->lastKey == SDL_SCANCODE_ESCAPE; }
// Back (Backspace, pad B) answers the question as No.
bool backPressed() { return gUi->action() == ACTION_BACK; }
}  // namespace

// ---- the pop-up ----

const CwidgetBinding CexitPopup::kBindings[] = {{&CexitPopup::yes_, "Yes"}, {&CexitPopup::no_, "No"}};

CexitPopup::CexitPopup() : ClayoutOverlay("exit.txt", kBindings) {}

void CexitPopup::show() {
    if (showing_ || !screen_) return;
    // The click that asked for it must not also answer it.
    gEngine->input.mouse.clearPressed();
    showing_ = true;
    gUi->buttonBar.push();
    screen_->enterOpening();
    // Return on a question that has just opened keeps the game running.
    screen_->focusWidget(no_);
}

void CexitPopup::update() {
    if (!showing_ || !screen_) return;
    screen_->update();
    if (!screen_->leaving && !screen_->left) {
        if (screen_->wasPressed(no_) || escapePressed() || backPressed()) {
            gGame->playTransitionEffect(no_);
            leaveLayout();
        } else if (screen_->wasPressed(yes_)) {
            gGame->playTransitionEffect(yes_);
            gGame->setGameMode(GM_REALLY_EXIT);
            screen_->left = true;
        }
        return;
    }
    if (screen_->left || screen_->transitionDone()) {
        showing_ = false;
        gUi->buttonBar.pop();
    }
}

void CexitPopup::render() {
    if (showing_) renderOver(0.3f);
}

// ---- the Exit state ----

const CwidgetBinding CexitScreen::kBindings[] = {{&CexitScreen::yes_, "Yes"}, {&CexitScreen::no_, "No"}};

CexitScreen::CexitScreen() : ClayoutScreen("exit.txt", kBindings) {}

void CexitScreen::onEnter() { screen_->focusWidget(no_); }

void CexitScreen::onUpdate() {
    if (screen_->wasPressed(yes_)) {
        gGame->playTransitionEffect(yes_);
        gGame->setGameMode(GM_REALLY_EXIT);
    } else if (screen_->wasPressed(no_) || backPressed()) {
        gGame->playTransitionEffect(no_);
        gGame->setGameMode(GM_MAIN_MENU, true);
    }
}

// ---- ReallyExit ----

void CreallyExitScreen::enter() { gGame->endGame(); }
