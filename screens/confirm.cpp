#include "screens/confirm.h"

#include "engine/engine.h"
#include "engine/ui/uiDraw.h"
#include "game/game.h"

namespace {
void setWidgetText(Cscreen* screen, const char* widget, const char* text) {
    if (!screen) return;
    if (Cwidget* w = screen->findWidget(widget)) w->setText("TextName", text ? text : "");
}
}  // namespace

// ---- the Confirm state ----

bool CconfirmStateScreen::load() {
    screen_ = gUi->loadScreen("confirm.txt");
    if (!screen_) return false;
    menu_ = screen_->findMenu("Menu");
    return menu_ != nullptr;
}

void CconfirmStateScreen::setMessages() {
    if (menu_) menu_->clearItems();
    setWidgetText(screen_, "Message", "");
    setWidgetText(screen_, "Message2", "");
}

void CconfirmStateScreen::setMessage(const std::string& text) { setWidgetText(screen_, "Message", text.c_str()); }

Cwidget* CconfirmStateScreen::addItem(const std::string& text, int gameMode) {
    if (!menu_) return nullptr;
    Cwidget* w = menu_->addTextItem("MenuItem", text, gameMode);
    menu_->layout();
    return w;
}

void CconfirmStateScreen::enter() {
    if (!screen_) return;
    screen_->enterOpening();
    gUi->buttonBar.addButtonByKey("OK", ACTION_SELECT, ICON_OK);
}

void CconfirmStateScreen::update() {
    if (!screen_) return;
    screen_->update();
    // A choice that names a state without a screen is refused with a log
    // line; the message stays up.
    if (Cwidget* item = menu_->highlightedItem()) gGame->setGameMode((int)item->value);
}

void CconfirmStateScreen::render() {
    if (screen_) screen_->render();
}

void CconfirmStateScreen::startLeave() {
    if (!screen_) return;
    screen_->transitionOut();
    gUi->buttonBar.transitionOut();
}

bool CconfirmStateScreen::hasLeft() const { return !screen_ || !screen_->leaving || screen_->transitionDone(); }

// ---- the confirm overlay ----

bool CconfirmScreen::load() {
    screen_ = gUi->loadScreen("confirm.txt");
    if (!screen_) return false;
    menu_ = screen_->findMenu("Menu");
    return menu_ != nullptr;
}

void CconfirmScreen::reset() {
    if (menu_) menu_->clearItems();
    setWidgetText(screen_, "Title", gEngine->text("ConfirmTitle"));
    setMessage(nullptr);
    setMessage2(nullptr);
    allowBack = showing_ = chosen = backedOut = false;
}

void CconfirmScreen::setTitle(const char* text) { setWidgetText(screen_, "Title", text); }
void CconfirmScreen::setMessage(const char* text) { setWidgetText(screen_, "Message", text); }
void CconfirmScreen::setMessage2(const char* text) { setWidgetText(screen_, "Message2", text); }

Cwidget* CconfirmScreen::addMenuItem(const std::string& text, int v) {
    if (!menu_) return nullptr;
    Cwidget* w = menu_->addTextItem("MenuItem", text, v);
    menu_->layout();
    return w;
}

void CconfirmScreen::enter() {
    if (!screen_) return;
    gUi->buttonBar.push();
    screen_->enterOpening();
    gUi->buttonBar.addButtonByKey("OK", ACTION_SELECT, ICON_OK);
    if (allowBack) gUi->buttonBar.addButtonByKey("BACK", ACTION_BACK, ICON_BACK);
    chosen = false;
    backedOut = false;
    showing_ = true;
}

void CconfirmScreen::update() {
    if (!showing_ || !screen_) return;
    screen_->update();
    const int action = gUi->action();
    // Back counts only when the caller offered it; it answers 0 like the
    // first item, and backedOut tells the two apart.
    if (allowBack && action == ACTION_BACK) {
        value = 0;
        backedOut = true;
        close();
        return;
    }
    Cwidget* item = menu_->highlightedItem();
    // The bar's "OK" clicked with the pointer takes the selected item.
    if (!item && action == ACTION_SELECT && !gUi->input().action(ACTION_SELECT) && !gUi->inputHeld()) {
        Cwidget* sel = menu_->getSelectedItem();
        if (sel && !sel->locked()) item = sel;
    }
    if (!item) return;
    value = (float)item->value;
    backedOut = false;
    close();
}

void CconfirmScreen::close() {
    showing_ = false;
    chosen = true;
    gUi->buttonBar.transitionOut();
    screen_->transitionOut();
    gUi->buttonBar.pop();
}

void CconfirmScreen::render() {
    if (!showing_ || !screen_) return;
    uiDraw::darken(0.5f);
    screen_->render();
}
