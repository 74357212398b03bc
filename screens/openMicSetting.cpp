#include "screens/openMicSetting.h"

#include "engine/engine.h"
#include "game/game.h"
#include "screens/exit.h"
#include "screens/openMicError.h"
#include "screens/screenRegistry.h"
#include "screens/openMicDevices.h"

namespace {
const char* const kHelp[] = {"OpenMicDesktopAudioHelp", "OpenMicLineInAudioHelp", "OpenMicMicAudioHelp"};
bool padMode() { return gEngine->input.inputMode == DEVICE_CONTROLLER; }
}  // namespace

const CwidgetBinding CopenMicSettingsScreen::kBindings[] = {
    {&CopenMicSettingsScreen::menu_, "Menu"},
    {&CopenMicSettingsScreen::help_, "Help"},
    {&CopenMicSettingsScreen::volume_, "Volume"},
    {&CopenMicSettingsScreen::deviceText_, "CurrentDeviceText"},
    {&CopenMicSettingsScreen::deviceInfo_, "CurrentDeviceInfoText"},
    {&CopenMicSettingsScreen::changeDevice_, "ChangeDevice"},
    {&CopenMicSettingsScreen::desktop_, "Desktop"},
    {&CopenMicSettingsScreen::lineIn_, "LineIn"},
    {&CopenMicSettingsScreen::microphone_, "Microphone"},
};

CopenMicSettingsScreen::CopenMicSettingsScreen() : ClayoutScreen("openMicSetting.txt", kBindings) {}

bool CopenMicSettingsScreen::onLoaded() {
    buttons_[OPEN_MIC_DESKTOP] = desktop_;
    buttons_[OPEN_MIC_LINE_IN] = lineIn_;
    buttons_[OPEN_MIC_MICROPHONE] = microphone_;
    return true;
}

Cwidget* CopenMicSettingsScreen::widget(const char* name) const {
    return screen_ ? screen_->findWidget(name, false) : nullptr;
}

void CopenMicSettingsScreen::enableSource(Cwidget* w, bool on) {
    w->selectable = on;
    w->unavailable = !on;
}

void CopenMicSettingsScreen::setSourceButtons() {
    for (int s = 0; s < 3; ++s) buttons_[s]->toggle = s == source_;
}

void CopenMicSettingsScreen::open(int returnState, bool transition) {
    returnState_ = returnState;
    gGame->setGameMode(GM_OPEN_MIC_SETTINGS, transition);
}

void CopenMicSettingsScreen::onEnter() {
    if (padMode()) gUi->buttonBar.addButtonByKey("Done", ACTION_BACK, ICON_BACK);
    else gUi->buttonBar.addButtonByKey("OK", ACTION_SELECT, ICON_OK);
    CmusicPlayer& music = gGame->music;
    wasOpenMic_ = music.openMicRunning() || music.currentTrack == &music.openMicTrack;
    entryTrack_ = wasOpenMic_ ? nullptr : music.currentTrack;
    music.queryDevices();
    source_ = std::clamp(music.captureSource, 0, 2);
    setSourceButtons();
    fillMenu(true);
    // This screen shows the device in use (or " ?? "); no pop-up over it.
    ++screens::get<CopenMicErrorScreen>()->quiet;
    music.startOpenMic();
    --screens::get<CopenMicErrorScreen>()->quiet;
    help_->setTextKey(kHelp[source_]);
    Ctutorials& tut = gEngine->ui.tutorials;
    tut.show("Tut_OpenMic1");
    tut.show("Tut_OpenMic2", buttons_[OPEN_MIC_DESKTOP]);
    tut.show("Tut_OpenMic3", buttons_[OPEN_MIC_LINE_IN]);
    tut.show("Tut_OpenMic4", buttons_[OPEN_MIC_MICROPHONE]);
    tut.show("Tut_OpenMic5");
    enableSource(buttons_[OPEN_MIC_LINE_IN], openMicDevices::hasKind(music, OPEN_MIC_LINE_IN));
    enableSource(buttons_[OPEN_MIC_MICROPHONE], openMicDevices::hasKind(music, OPEN_MIC_MICROPHONE));
}

void CopenMicSettingsScreen::fillMenu(bool relayout) {
    CmusicPlayer& music = gGame->music;
    if (padMode()) gUi->buttonBar.removeSelectButtons();
    menu_->clearItems();
    changeDevice_->setHidden(false);
    for (const CopenMicItem& item : openMicDevices::fill(music, source_)) {
        Cwidget* w = menu_->addTextItem("OpenMicMenuItem", item.name, item.index);
        if (Cgadget* g = w ? w->findGadget("Tick") : nullptr) g->hidden = !item.ticked;
    }
    if (relayout) menu_->layout();
    deviceText_->setText("", openMicDevices::nameText(music, source_));
    deviceInfo_->setText("", openMicDevices::infoText(music, source_));
    if (padMode()) gUi->buttonBar.addButtonByKey("ChangeDevice", ACTION_SELECT, ICON_OK);
}

void CopenMicSettingsScreen::chooseSource(int source) {
    CmusicPlayer& music = gGame->music;
    help_->setTextKey(kHelp[source]);
    source_ = source;
    // A source that fails is explained here, not by the error pop-up.
    ++screens::get<CopenMicErrorScreen>()->quiet;
    openMicDevices::Eswitch r = openMicDevices::switchTo(music, source);
    --screens::get<CopenMicErrorScreen>()->quiet;
    if (r == openMicDevices::SWITCH_FELL_BACK) {
        enableSource(buttons_[source], false);
        source_ = OPEN_MIC_DESKTOP;
        help_->setTextKey(kHelp[OPEN_MIC_DESKTOP]);
        bool line = source == OPEN_MIC_LINE_IN;
        gGame->warningOverlay.show(gEngine->language().text(line ? "OpenMicLineInError1" : "OpenMicMicError1"),
                                   gEngine->language().text(line ? "OpenMicLineInError2" : "OpenMicMicError2"));
        gEngine->log.print(LOG_L, "Open mic: %s failed, desktop audio instead", line ? "line-in" : "microphone");
    } else if (source != OPEN_MIC_DESKTOP) {
        gEngine->ui.tutorials.show("Tut_OpenMicList", menu_->item(0));
    }
    setSourceButtons();
    fillMenu(true);
    openMicDevices::toSettings(music, gGame->saveLoad.settings);
}

void CopenMicSettingsScreen::leave() {
    CmusicPlayer& music = gGame->music;
    openMicDevices::toSettings(music, gGame->saveLoad.settings);
    gGame->saveLoad.saveSettings();
    // Capture was only for this screen: the music that played comes back.
    if (!wasOpenMic_) {
        music.stopOpenMic();
        if (entryTrack_) music.playTrack(entryTrack_);
    }
    gGame->setGameMode(returnState_, true);
}

void CopenMicSettingsScreen::onUpdate() {
    if (gEngine->ui.tutorials.isShowingOrQueued()) return;
    for (int s = 0; s < 3; ++s) {
        if (s == source_ || !screen_->wasPressed(buttons_[s]) || !buttons_[s]->selectable) continue;
        gGame->playTransitionEffect(buttons_[s]);
        chooseSource(s);
        return;
    }
    volume_->setProgress("", std::clamp(gGame->music.openMicLevel / 100.0f, 0.0f, 1.0f));
    CmusicPlayer& music = gGame->music;
    // Done on a pad; OK with keys and mouse, where Back (Backspace) leaves as well.
    const int action = gUi->action();
    bool confirmed = action == ACTION_BACK || (!padMode() && action == ACTION_SELECT);
    if (Cwidget* item = menu_->highlightedItem()) {
        // Another device of the source: take it. The one in use: as OK.
        const CaudioDeviceInfo* inUse = openMicDevices::stored(music, source_);
        bool same = inUse && item->value >= 0 && item->value < (int64_t)music.devices.size() &&
                    inUse == &music.devices[(size_t)item->value];
        if (!same && openMicDevices::choose(music, source_, (int)item->value)) {
            fillMenu(false);
            music.stopOpenMic();
            ++screens::get<CopenMicErrorScreen>()->quiet;
            bool ok = music.startOpenMic();
            --screens::get<CopenMicErrorScreen>()->quiet;
            if (!ok && source_ != OPEN_MIC_DESKTOP) chooseSource(source_);
            openMicDevices::toSettings(music, gGame->saveLoad.settings);
            return;
        }
    }
    if (confirmed) {
        gGame->playTransitionEffect(buttons_[source_]);
        leave();
    }
}

