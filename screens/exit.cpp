#include "screens/exit.h"

#include "engine/engine.h"
#include "engine/ui/uiDraw.h"
#include "game/game.h"

void pressTransition(Cwidget* w) {
    if (!w) return;
    w->startEffect(EFFECT_SCALE_FROM, 0, nullptr, 0, 0.15f);
    w->effect.fromScale = 0.85f;
}

namespace {
bool loadExitScreen(Cscreen*& screen, Cwidget*& yes, Cwidget*& no) {
    screen = gUi->loadScreen("exit.txt");
    if (!screen) return false;
    yes = screen->findWidget("Yes");
    no = screen->findWidget("No");
    return yes && no;
}

bool escapePressed() { return gEngine->lastKey == SDL_SCANCODE_ESCAPE; }
}  // namespace

// ---- the pop-up ----

bool CexitPopup::load() { return loadExitScreen(screen_, yes_, no_); }

void CexitPopup::show() {
    if (showing_ || !screen_) return;
    // The click that asked for it must not also answer it.
    gEngine->input.mouse.clearPressed();
    showing_ = true;
    gUi->buttonBar.push();
    screen_->enterOpening();
}

void CexitPopup::update() {
    if (!showing_ || !screen_) return;
    screen_->update();
    if (!screen_->leaving && !screen_->left) {
        if (screen_->wasPressed(no_) || escapePressed()) {
            pressTransition(no_);
            gUi->buttonBar.transitionOut();
            screen_->transitionOut();
        } else if (screen_->wasPressed(yes_)) {
            pressTransition(yes_);
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
    if (!showing_ || !screen_) return;
    uiDraw::darken(0.3f);
    screen_->render();
}

// ---- the Exit state ----

bool CexitScreen::load() { return loadExitScreen(screen_, yes_, no_); }

void CexitScreen::enter() {
    if (screen_) screen_->enterOpening();
}

void CexitScreen::update() {
    if (!screen_) return;
    screen_->update();
    if (screen_->leaving) return;
    if (screen_->wasPressed(yes_)) {
        pressTransition(yes_);
        gGame->setGameMode(GM_REALLY_EXIT);
    } else if (screen_->wasPressed(no_)) {
        pressTransition(no_);
        gGame->setGameMode(GM_MAIN_MENU, true);
    }
}

void CexitScreen::render() {
    if (screen_) screen_->render();
}

void CexitScreen::startLeave() {
    if (screen_) screen_->transitionOut();
}

bool CexitScreen::hasLeft() const { return !screen_ || !screen_->leaving || screen_->transitionDone(); }
