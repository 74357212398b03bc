#include "screens/config.h"

#include "engine/engine.h"
#include "game/game.h"

const CwidgetBinding CconfigScreen::kBindings[] = {
    {&CconfigScreen::axisMenu_, "Menu"},
    {&CconfigScreen::message_, "Message"},
    {&CconfigScreen::sprite_, "Sprite"},
    {&CconfigScreen::escape_, "Escape"},
    {&CconfigScreen::title_, "Title"},
};

CconfigScreen::CconfigScreen() : ClayoutScreen("config.txt", kBindings) {}


Cwidget* CconfigScreen::widget(const char* name) const { return screen_ ? screen_->findWidget(name, false) : nullptr; }

void CconfigScreen::open(int device, int joystick, int doneState, int escapeState, bool transition) {
    flow_.prepare(device, joystick, doneState, escapeState);
    gGame->setGameMode(GM_CONFIG, transition);
}

void CconfigScreen::onEnter() {
    okAdded_ = false;
    bool pad = flow_.device() == CconfigFlow::DEVICE_JOYSTICK;
    title_->setTextKey(pad ? "ConfigJoystickTitle" : "ConfigKeyboardTitle");
    flow_.sticksInUse = gEngine->input.sticks.enabled();
    flow_.begin(gEngine->input);
    axisMenu_->clearItems();
    if (pad) {
        const Cjoystick* j = gEngine->input.joysticks.slot(flow_.joystick());
        int axes = j ? std::min(j->numAxes, kJoyAxes) : 0;
        for (int a = 0; a < axes; ++a) {
            Cwidget* w = axisMenu_->addTextItem("JoystickAxisMenuItem",
                                                std::string(gEngine->language().text("Axis")) +
                                                    CbString::format(" %d", a + 1).str(),
                                                a);
            if (Cgadget* g = w ? w->findGadget("Calibrated") : nullptr) g->hidden = true;
        }
        axisMenu_->layout();
        axisMenu_->setFocused(false);
    }
    refreshPrompt();
}

void CconfigScreen::refreshPrompt() {
    using P = CconfigFlow;
    bool pad = flow_.device() == P::DEVICE_JOYSTICK;
    const CstringTable& t = gEngine->language();
    if (flow_.phase() == P::PHASE_CALIBRATING) {
        message_->setText("", t.text("ConfigCalibrate"));
        sprite_->setHidden(true);
        escape_->setHidden(true);
        axisMenu_->setVisible(true);
        const Cinput& in = gEngine->input;
        const Cjoystick* j = in.joysticks.slot(flow_.joystick());
        for (size_t a = 0; a < axisMenu_->itemCount(); ++a) {
            Cwidget* w = axisMenu_->item(a);
            w->setProgress("", flow_.axisBar(in, (int)a));
            if (Cgadget* g = w->findGadget("Calibrated")) g->hidden = !(j && j->calibrated[a]);
        }
        return;
    }
    axisMenu_->setVisible(false);
    escape_->setHidden(false);
    if (flow_.phase() == P::PHASE_SETTLING) {
        message_->setText("", std::string(t.text("ConfigWaitRelease")) +
                                  CbString::format(" %.1f", flow_.settleTimer()).str());
        sprite_->setHidden(true);
        return;
    }
    bool waiting = flow_.phase() == P::PHASE_WAIT_RELEASE && pad;
    const CconfigRow& row = flow_.row();
    message_->setText("", t.text(waiting ? "ConfigWaitRelease" : row.tag));
    const char* glyph = flow_.isPs4() ? row.glyphPs4 : row.glyph;
    sprite_->setHidden(waiting || !glyph || !pad);
    if (glyph && pad) sprite_->setSprite("", glyph);
}

int CconfigScreen::configuringPlayer() const {
    // The player on the device that was set up: a party's second pad is
    // not the first player's.
    const Cinput& in = gEngine->input;
    if (flow_.device() == CconfigFlow::DEVICE_JOYSTICK) {
        int p = in.findPlayerWithJoystick(flow_.joystick());
        return p >= 0 ? p : 0;
    }
    for (int p = 0; p < Cinput::kPlayers; ++p) {
        const CinputPlayer* player = in.player(p);
        if (player && player->enabled && player->device == DEVICE_KEYBOARD_MOUSE) return p;
    }
    return 0;
}

void CconfigScreen::finish() {
    std::string name = flow_.mappingName(gEngine->input);
    if (flow_.device() == CconfigFlow::DEVICE_JOYSTICK)
        gEngine->analytics.sendEvent("ControllerConfig", name.c_str(), nullptr);
    if (flow_.storeMapping(gEngine->input)) gGame->saveLoad.applyInputMapping(name, configuringPlayer());
    gGame->saveLoad.settings.dirty = true;
    gGame->saveLoad.saveSettings();
    gEngine->log.print(LOG_L, "Config: %s stored with %d bindings", name.c_str(), (int)flow_.bindings().size());
    gGame->setGameMode(flow_.doneState(), true);
}

void CconfigScreen::onUpdate() {
    if (flow_.phase() == CconfigFlow::PHASE_DONE) return;
    if (gEngine->input.keyboard.wasPressed(SDL_SCANCODE_ESCAPE)) {
        gGame->setGameMode(flow_.escapeState(), true);
        return;
    }
    bool confirm = okAdded_ && gUi->action() == ACTION_SELECT;
    CconfigFlow::Estep step = flow_.step(gEngine->input, gUi->stepTime(), confirm);
    if (flow_.onLastRow() && !okAdded_) {
        gUi->buttonBar.addButtonByKey("OK", ACTION_SELECT, ICON_OK);
        okAdded_ = true;
    }
    refreshPrompt();
    if (step == CconfigFlow::STEP_FINISHED) finish();
}

