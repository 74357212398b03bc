#include "screens/layoutScreen.h"

#include "engine/engine.h"
#include "engine/ui/uiDraw.h"
#include "engine/ui/uiMgr.h"

Clayout::Clayout(std::string layoutName, std::span<const CwidgetBinding> bindings)
    : layoutName_(std::move(layoutName)), bindings_(bindings) {}

std::vector<std::string> Clayout::missingBindings() const {
    std::vector<std::string> missing;
    for (const CwidgetBinding& b : bindings_) {
        bool found = screen_ && (b.widget ? screen_->findWidget(b.name, false) != nullptr
                                          : screen_->findMenu(b.name, false) != nullptr);
        if (!found) missing.push_back(b.name);
    }
    return missing;
}

bool Clayout::loadLayout() {
    screen_ = gUi->loadScreen(layoutName_);
    if (!screen_) return false;
    std::string missing;
    for (const CwidgetBinding& b : bindings_) {
        bool found;
        if (b.widget) found = (this->*b.widget = screen_->findWidget(b.name, false)) != nullptr;
        else found = (this->*b.menu = screen_->findMenu(b.name, false)) != nullptr;
        if (!found) missing += (missing.empty() ? "" : ", ") + std::string(b.name);
    }
    if (missing.empty()) return true;
    gEngine->log.print(LOG_E, "Can't bind %s: missing %s", layoutName_.c_str(), missing.c_str());
    return false;
}

void Clayout::leaveLayout() {
    if (!screen_) return;
    screen_->transitionOut();
    gUi->buttonBar.transitionOut();
}

bool Clayout::layoutLeft() const { return !screen_ || !screen_->leaving || screen_->transitionDone(); }

// ---- the screen of a state ----

ClayoutScreen::ClayoutScreen(std::string layoutName, std::span<const CwidgetBinding> bindings, Eleave leave)
    : Clayout(std::move(layoutName), bindings), leave_(leave) {}

bool ClayoutScreen::load() { return loadLayout() && onLoaded(); }

void ClayoutScreen::enter() {
    if (!screen_) return;
    screen_->enterOpening();
    onEnter();
}

void ClayoutScreen::update() {
    if (!screen_) return;
    screen_->update();
    if (!screen_->leaving) onUpdate();
}

void ClayoutScreen::render() {
    if (screen_) screen_->render();
}

void ClayoutScreen::startLeave() {
    if (leave_ == LEAVE_FADING) leaveLayout();
}

bool ClayoutScreen::ready() const { return !screen_ || !screen_->entering; }

bool ClayoutScreen::hasLeft() const { return leave_ == LEAVE_AT_ONCE || layoutLeft(); }

// ---- overlays ----

void ClayoutOverlay::renderOver(float darkness) {
    if (!screen_) return;
    uiDraw::darken(darkness);
    screen_->render();
}
