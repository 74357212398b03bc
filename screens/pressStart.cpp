#include "screens/pressStart.h"

#include <cstring>

#include "engine/engine.h"
#include "engine/ui/uiDraw.h"
#include "game/game.h"
#include "screens/config.h"
#include "screens/language.h"
#include "screens/musicBar.h"
#include "screens/options.h"
#include "screens/screenRegistry.h"
#include "screens/startUp.h"

bool CpressStartScreen::firstVisit = true;

const CwidgetBinding CpressStartScreen::kBindings[] = {
    {&CpressStartScreen::guid_, "GUID"},       {&CpressStartScreen::yourId_, "YourId"},
    {&CpressStartScreen::options_, "Options"}, {&CpressStartScreen::exit_, "Exit"},
    {&CpressStartScreen::resetController_, "ResetController"},
};

CpressStartScreen::CpressStartScreen() : ClayoutScreen("pressStart.txt", kBindings, LEAVE_AT_ONCE) {}

bool CpressStartScreen::onLoaded() {
    screen_->enterOpening();
    return true;
}

void CpressStartScreen::onEnter() {
    // The music bar comes in with the title; its pad glyphs follow the pads found now.
    if (CmusicBarScreen* bar = screens::get<CmusicBarScreen>()) bar->activate();
    gEngine->input.joysticks.init();
    exitAsked_ = false;
    connecting_ = false;

    screens::get<CstartUpScreen>()->reset();
    gGame->online.friends.clear();
    gGame->online.challengeList.clearGuids();

    gEngine->platform.setArrowCursor();
    gEngine->platform.showCursor(true);

    CloginData login;
    // No account yet: no id, rather than a stray mark in the corner.
    std::string id = loadLoginData(login) && login.present() ? CbString::format("%lld", (long long)gEngine->steamId).str()
                                                              : std::string();
    guid_->setText("TextName", id);
    yourId_->setHidden(true);

    gEngine->input.inputMode = DEVICE_KEYBOARD_MOUSE;
    if (CinputPlayer* p = gEngine->input.player(0)) p->setDevice(DEVICE_KEYBOARD_MOUSE);
    gGame->saveLoad.applyInputMapping(CinputMappings::kKeyboard);

    startEntryAnimation();

    if (gGame->music.openMicRunning()) {
        static const char* const sources[] = {"OpenMicDesktop", "OpenMicLineIn", "OpenMicMic"};
        int source = gGame->music.captureSource;
        const char* tag = source >= 0 && source <= 2 ? sources[source] : sources[0];
        gUi->popups.showMessage(std::string(gEngine->text("OpenMicStarting")) + " : " + gEngine->text(tag));
    }
}

void CpressStartScreen::startEntryAnimation() {
    const float d = firstVisit ? kFirstVisitDelay : kLaterVisitDelay;
    firstVisit = false;
    struct Cstep {
        const char* name;
        float delay;
    };
    static const Cstep order[] = {{"SmileLogo", 0.0f}, {"ZRLogo", 0.2f}, {"GamePlay", 0.4f}, {"2", 0.9f},
                                  {"10Years", 1.1f}};
    for (const Cstep& s : order)
        if (Cwidget* w = screen_->findWidget(s.name, false)) w->startEffect(EFFECT_ZOOM_IN, 0, nullptr, d + s.delay, 0.3f);
    for (auto& w : screen_->widgets) {
        bool named = false;
        for (const Cstep& s : order) named = named || equalsIgnoreCase(w->name, s.name);
        if (!named && !w->hidden) w->startEffect(EFFECT_ZOOM_IN, 0, nullptr, d + 1.3f, 0.3f);
    }
}

bool CpressStartScreen::anyButtonHighlighted() const {
    for (const Cwidget* w : {options_, exit_, resetController_})
        if (w->highlighted) return true;
    return false;
}

void CpressStartScreen::onUpdate() {
    // The exit question has just closed: the button that asked it lets go of
    // its highlight, so that Return starts the game instead of asking again.
    if (exitAsked_) {
        CoverlaySlot* popup = gGame->overlay(OVERLAY_EXIT);
        if (popup && popup->showing()) return;
        exitAsked_ = false;
        screen_->resetHighlights();
        return;
    }
    // Escape on the title puts video and language back to their defaults and quits.
    if (gEngine->lastKey == SDL_SCANCODE_ESCAPE) {
        gGame->resetVideoAndLanguage();
        gGame->endGame();
        return;
    }
    if (connecting_) {
        stepConnecting();
        return;
    }
    if (screen_->wasPressed(options_)) {
        screens::get<CoptionsScreen>()->open(GM_PRESS_START, false);
        return;
    }
    if (screen_->wasPressed(exit_)) {
        if (CoverlaySlot* popup = gGame->overlay(OVERLAY_EXIT)) {
            popup->show();
            exitAsked_ = true;
        }
        return;
    }
    if (screen_->wasPressed(resetController_)) {
        gGame->saveLoad.clearInputMappings();
        gGame->saveLoad.saveSettings();
        if (CinputPlayer* p = gEngine->input.player(0)) p->setDevice(DEVICE_KEYBOARD_MOUSE);
        gGame->sfx.play(6, 1.0f);
        gGame->playTransitionEffect(resetController_);
        // Done with the button: Return and Space start the game again.
        screen_->resetHighlights();
        return;
    }
    if (gUi->tutorials.isShowing() || gEngine->input.inputHold || anyButtonHighlighted()) return;

    Cinput& input = gEngine->input;
    // A tap shorter than a step still counts.
    auto down = [&input](int key) { return input.keyboard.isDown(key) || input.keyboard.wasPressed(key); };
    if (down(SDL_SCANCODE_RETURN) || down(SDL_SCANCODE_SPACE) || input.touch.present()) {
        input.inputMode = DEVICE_KEYBOARD_MOUSE;
        gGame->saveLoad.applyInputMapping(CinputMappings::kKeyboard);
        leave();
        return;
    }
    int pad = input.joysticks.findJoystickWithButtonDown();
    if (pad < 0) return;
    std::string name = input.joysticks.getName(pad);
    gUi->buttonBar.padGlyphs =
        name.find("PS4") != std::string::npos ? CbuttonBar::PAD_GLYPHS_PLAYSTATION : CbuttonBar::PAD_GLYPHS_XBOX;
    input.inputMode = DEVICE_CONTROLLER;
    input.currentJoystick = pad;
    if (CinputPlayer* p = input.player(0)) p->setDevice(DEVICE_CONTROLLER, pad);
    if (CmusicBarScreen* bar = screens::get<CmusicBarScreen>()) bar->refreshPadGlyphs();
    if (!gGame->saveLoad.isInputMappingKnown(name)) {
        gEngine->log.print(LOG_L, "Didn't find mappings for Joystick - Need to configure");
        // Configured, the pad comes back here and starts with its new mapping.
        screens::get<CconfigScreen>()->open(CconfigFlow::DEVICE_JOYSTICK, pad, GM_PRESS_START, GM_PRESS_START, false);
        return;
    }
    gEngine->log.print(LOG_L, "Found mappings for Joystick");
    gGame->saveLoad.applyInputMapping(name);
    gEngine->platform.showCursor(false);
    leave();
}

void CpressStartScreen::leave() {
    k4wSOAP& soap = gGame->online.soap;
    // The region choice starts the client itself.
    if (gEngine->countryCode != "CN" && !gEngine->webServiceOff && !soap.isStarted() && soap.startClient(gEngine->gameName)) {
        connecting_ = true;
        gUi->loadingIndicator.show(gEngine->text("ServiceConnecting"));
        return;
    }
    goOn();
}

void CpressStartScreen::stepConnecting() {
    k4wSOAP& soap = gGame->online.soap;
    const EcallState state = soap.startCall.poll();
    if (state == CALL_PENDING) return;
    connecting_ = false;
    gUi->loadingIndicator.hide();
    const char* country = gEngine->countryCode.c_str();
    if (state == CALL_DONE) {
        gEngine->log.print(LOG_L, "Challenge Init");
        gGame->online.asyncChallenge.init();
    } else if (soap.startFoundNoConnection()) {
        soap.switchOff("no connection");
        gEngine->analytics.sendEvent("noSoap", country, nullptr);
        gEngine->log.print(LOG_L, "Running without soap!");
    } else {
        soap.switchOff("the client did not start");
        gEngine->analytics.sendEvent("noSoap2", country, nullptr);
        gEngine->log.print(LOG_L, "Running without soap 2!");
    }
    if (state != CALL_DONE) {
        gEngine->log.print(LOG_L, "Online service: %s (%s)", callFailureName(soap.startCall.failure()),
                           soap.startCall.result().text.c_str());
        gUi->popups.showMessage(gEngine->text("ServiceStartFailed"));
    }
    soap.startCall.drop();
    goOn();
}

void CpressStartScreen::goOn() {
    bool languageChosen = gGame->saveLoad.settings.language != 0;
    if (gEngine->countryCode != "CN") {
        if (!languageChosen) screens::get<ClanguageScreen>()->open(GM_START_UP, GM_PRESS_START);
        else gGame->setGameMode(GM_START_UP, true);
        return;
    }
    if (languageChosen) gGame->setGameMode(GM_CHINA_CHECK);
    else screens::get<ClanguageScreen>()->open(GM_CHINA_CHECK, GM_PRESS_START);
}

void CpressStartScreen::render() {
    if (!screen_) return;
    ClayoutScreen::render();
    std::string line = CbString::format("%s - %s - %s", gEngine->versionText.c_str(), gEngine->platformText.c_str(),
                                        gEngine->buildText.c_str()).str();
    uiDraw::text("FontSmall", line, 35.0f, (float)gEngine->screenHeight - 15.0f, gUi->scale(),
                 Ccolour(0.8f, 0.85f, 0.95f, 1.0f), ALIGN_LEFT, nullptr);
}
