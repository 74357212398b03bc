#include "screens/confirm.h"

#include "engine/engine.h"
#include "game/game.h"

namespace {
void setText(Cwidget* w, const char* text) {
    if (w) w->setText("TextName", text ? text : "");
}

Cwidget* addChoice(Cmenu* menu, const std::string& text, int value) {
    if (!menu) return nullptr;
    Cwidget* w = menu->addTextItem("MenuItem", text, value);
    menu->layout();
    return w;
}
}  // namespace

// ---- the Confirm state ----

const CwidgetBinding CconfirmStateScreen::kBindings[] = {
    {&CconfirmStateScreen::menu_, "Menu"},
    {&CconfirmStateScreen::message_, "Message"},
    {&CconfirmStateScreen::message2_, "Message2"},
    {&CconfirmStateScreen::title_, "Title"},
};

CconfirmStateScreen::CconfirmStateScreen() : ClayoutScreen("confirm.txt", kBindings) {}

void CconfirmStateScreen::open(const std::string& message, const std::vector<Cchoice>& choices) {
    setMessages();
    setMessage(message);
    for (const Cchoice& c : choices) addItem(c.text, c.gameMode);
    gGame->setGameMode(GM_CONFIRM);
}

void CconfirmStateScreen::setMessages() {
    if (menu_) menu_->clearItems();
    setText(message_, "");
    setText(message2_, "");
}

void CconfirmStateScreen::setMessage(const std::string& text) { setText(message_, text.c_str()); }

Cwidget* CconfirmStateScreen::addItem(const std::string& text, int gameMode) { return addChoice(menu_, text, gameMode); }

void CconfirmStateScreen::onEnter() {
    // A single choice is a notice, not a question: no "Are you sure?" over it.
    title_->setHidden(menu_->itemCount() == 1);
    if (menu_->itemCount() > 0) {
        menu_->setFocused(true);
        menu_->setSelectedIdx(0);
    }
    gUi->buttonBar.addButtonByKey("OK", ACTION_SELECT, ICON_OK);
}

void CconfirmStateScreen::onUpdate() {
    // A choice that names a state without a screen is refused with a log
    // line; the message stays up.
    if (Cwidget* item = menu_->highlightedItem()) gGame->setGameMode((int)item->value);
}

// ---- the confirm overlay ----

const CwidgetBinding CconfirmScreen::kBindings[] = {
    {&CconfirmScreen::menu_, "Menu"},
    {&CconfirmScreen::title_, "Title"},
    {&CconfirmScreen::message_, "Message"},
    {&CconfirmScreen::message2_, "Message2"},
};

CconfirmScreen::CconfirmScreen() : ClayoutOverlay("confirm.txt", kBindings) {}

void CconfirmScreen::reset() {
    if (menu_) menu_->clearItems();
    setTitle(gEngine->text("ConfirmTitle"));
    setMessage(nullptr);
    setMessage2(nullptr);
    allowBack = showing_ = chosen = backedOut = false;
    safeValue = 0;
}

int CconfirmScreen::safeItem() const {
    for (size_t i = 0; menu_ && i < menu_->itemCount(); ++i)
        if (menu_->item(i)->value == safeValue) return (int)i;
    return -1;
}

void CconfirmScreen::setTitle(const char* text) { setText(title_, text); }
void CconfirmScreen::setMessage(const char* text) { setText(message_, text); }
void CconfirmScreen::setMessage2(const char* text) { setText(message2_, text); }

Cwidget* CconfirmScreen::addMenuItem(const std::string& text, int v) { return addChoice(menu_, text, v); }

void CconfirmScreen::enter() {
    if (!screen_) return;
    // A message that only repeats the title ("Are you sure?" twice) is left out.
    const std::string title = title_ ? title_->getText("TextName") : std::string();
    for (Cwidget* line : {message_, message2_})
        if (line && line->getText("TextName") == title) setText(line, "");
    gUi->buttonBar.push();
    screen_->enterOpening();
    // Return on a question that has just opened must not throw work away.
    if (menu_ && menu_->itemCount() > 0) {
        const int safe = safeItem();
        menu_->setFocused(true);
        menu_->setSelectedIdx(safe >= 0 ? safe : 0);
    }
    gUi->buttonBar.addButtonByKey("OK", ACTION_SELECT, ICON_OK);
    if (allowBack || safeItem() >= 0) gUi->buttonBar.addButtonByKey("BACK", ACTION_BACK, ICON_BACK);
    chosen = false;
    backedOut = false;
    showing_ = true;
    gEngine->log.print(LOG_L, "Confirm shown");
}

void CconfirmScreen::update() {
    if (!showing_ || !screen_) return;
    screen_->update();
    const int action = gUi->action();
    // Back answers with the safe choice; backedOut tells it from a choice made.
    if (action == ACTION_BACK && (allowBack || safeItem() >= 0)) {
        value = (float)safeValue;
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
    leaveLayout();
    gUi->buttonBar.pop();
}

void CconfirmScreen::render() {
    if (showing_) renderOver(0.5f);
}
