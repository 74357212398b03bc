#include "screens/setRez.h"

#include "engine/engine.h"
#include "game/game.h"
#include "screens/confirm.h"
#include "screens/exit.h"
#include "screens/screenRegistry.h"

const CwidgetBinding CsetRezScreen::kBindings[] = {
    {&CsetRezScreen::windowed_, "Windowed"},
    {&CsetRezScreen::fullscreen_, "Fullscreen"},
    {&CsetRezScreen::borderless_, "BorderlessFullscreen"},
    {&CsetRezScreen::current_, "Current"},
};

CsetRezScreen::CsetRezScreen() : ClayoutScreen("setRez.txt", kBindings) {}

bool CsetRezScreen::onLoaded() {
    for (int i = 0; i < kButtons; ++i)
        if (!(rez_[i] = screen_->findWidget(CbString::format("Rez%d", i).str()))) return false;
    for (int d = 0; d < kMaxDisplays; ++d)
        if (!(display_[d] = screen_->findWidget(CbString::format("Display%d", d + 1).str()))) return false;
    mode_[REZ_WINDOWED] = windowed_;
    mode_[REZ_FULLSCREEN] = fullscreen_;
    mode_[REZ_BORDERLESS] = borderless_;
    readDisplays();
    return true;
}

void CsetRezScreen::readDisplays() {
    list_.clear();
    std::vector<Cdisplay> displays = gEngine->platform.displays();
    numDisplays_ = std::max(1, (int)displays.size());
    for (const Cdisplay& d : displays)
        for (const CdisplayMode& m : d.modes) addResolution(d.index, m.width, m.height);
    int inUse = gGame->video.display;
    nativeOnly_ = inUse >= 0 && inUse < (int)displays.size() && displays[(size_t)inUse].fullScreenNativeOnly;
}

void CsetRezScreen::onEnter() {
    bool pad = gEngine->input.inputMode == DEVICE_CONTROLLER;
    gUi->buttonBar.addButtonByKey("OK", pad ? ACTION_OPTION_X : ACTION_SELECT, ICON_OK);
    gUi->buttonBar.addButtonByKey("CANCEL", ACTION_BACK, ICON_BACK);
    const CvideoSettings& v = gGame->video;
    // The window as it really is: a desktop smaller than the stored size gets a smaller one.
    const int width = gEngine->screenWidth > 0 ? gEngine->screenWidth : v.width;
    const int height = gEngine->screenHeight > 0 ? gEngine->screenHeight : v.height;
    CrezSetting inUse{v.display, width, height,
                      v.borderless ? REZ_BORDERLESS : v.fullScreen ? REZ_FULLSCREEN : REZ_WINDOWED};
    choice_.begin(&list_, inUse, numDisplays_, nativeOnly_);
    const CstringTable& t = gEngine->language();
    const char* modeTag = inUse.mode == REZ_BORDERLESS ? "BorderlessFullScreen"
                          : inUse.mode == REZ_FULLSCREEN ? "FullScreen"
                                                         : "Windowed";
    current_->setText("", std::string(t.text("CurrentSetting")) + t.text(modeTag) +
                              CbString::format(" %d x %d", width, height).str());
    for (int d = 0; d < kMaxDisplays; ++d)
        display_[d]->setText("", std::string(t.text("Display")) + CbString::format(" %d", d + 1).str());
    showChoice();
}

void CsetRezScreen::showChoice() {
    const CstringTable& t = gEngine->language();
    for (int d = 0; d < kMaxDisplays; ++d) {
        display_[d]->setHidden(d >= numDisplays_);
        display_[d]->toggle = d == choice_.display();
    }
    const auto& shown = choice_.shown();
    for (int i = 0; i < kButtons; ++i) {
        bool on = i < (int)shown.size();
        rez_[i]->setHidden(!on);
        rez_[i]->toggle = i == choice_.index();
        if (!on) continue;
        std::string text = CbString::format("%d x %d", shown[(size_t)i].width, shown[(size_t)i].height).str();
        if (i == 0) text += std::string(" ") + t.text("MonitorRez");
        rez_[i]->setText("", text);
    }
    if (shown.empty()) {
        rez_[0]->setHidden(false);
        rez_[0]->toggle = false;
        rez_[0]->selectable = false;
        rez_[0]->setText("", t.text("NoDisplayModes"));
    } else {
        rez_[0]->selectable = true;
    }
    for (int m = 0; m < 3; ++m) mode_[m]->toggle = m == choice_.mode();
    gUi->buttonBar.setButtonHidden(gEngine->input.inputMode == DEVICE_CONTROLLER ? ACTION_OPTION_X : ACTION_SELECT,
                                   !choice_.canConfirm());
}

void CsetRezScreen::confirm() {
    if (choice_.unchanged()) {
        gGame->setGameMode(GM_OPTIONS, true);
        return;
    }
    if (!choice_.canConfirm()) return;
    CrezSetting r = choice_.result();
    Csettings& s = gGame->saveLoad.settings;
    s.width = r.width;
    s.height = r.height;
    s.displayIndex = r.display;
    s.fullScreen = r.mode == REZ_FULLSCREEN;
    s.borderless = r.mode == REZ_BORDERLESS;
    s.dirty = true;
    gGame->saveLoad.saveSettings();
    gEngine->log.print(LOG_L, "Display setting stored: display %d, %d x %d, mode %d", r.display, r.width, r.height,
                       r.mode);
    CconfirmStateScreen& c = *screens::get<CconfirmStateScreen>();
    c.setMessages();
    c.setMessage(gEngine->language().text("RestartRez"));
    c.addItem(gEngine->language().text("OK"), GM_REALLY_EXIT);
    gGame->setGameMode(GM_CONFIRM);
}

void CsetRezScreen::onUpdate() {
    int action = gUi->action();
    if (action == ACTION_BACK) {
        gGame->setGameMode(GM_OPTIONS, true);
        return;
    }
    bool chose = false;
    for (int i = 0; i < kButtons; ++i)
        if (screen_->wasPressed(rez_[i])) {
            gGame->playTransitionEffect(rez_[i]);
            choice_.chooseIndex(i);
            chose = true;
        }
    for (int m = 0; m < 3; ++m)
        if (screen_->wasPressed(mode_[m])) {
            gGame->playTransitionEffect(mode_[m]);
            choice_.chooseMode(m);
            chose = true;
        }
    for (int d = 0; d < kMaxDisplays; ++d)
        if (screen_->wasPressed(display_[d])) {
            gGame->playTransitionEffect(display_[d]);
            choice_.chooseDisplay(d);
            chose = true;
        }
    // The next OK confirms rather than pressing the same button again.
    if (chose) {
        screen_->resetHighlights();
        showChoice();
        return;
    }
    showChoice();
    int okAction = gEngine->input.inputMode == DEVICE_CONTROLLER ? ACTION_OPTION_X : ACTION_SELECT;
    if (action == okAction) confirm();
}

