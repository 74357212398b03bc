#include "screens/signIn.h"

#include "engine/engine.h"
#include "game/game.h"
#include "online/serviceCall.h"
#include "screens/screenRegistry.h"
#include "screens/startUp.h"

namespace {

void logLine(const char* text) { gEngine->log.print(LOG_L, "%s", text); }

std::string steamName() { return gEngine->steam.platform.getSteamName().str(); }
std::string steamId() { return gEngine->steam.platform.getSteamIdString().str(); }

}  // namespace

const CwidgetBinding CsignInScreen::kBindings[] = {
    {&CsignInScreen::signIn_, "SignIn"},           {&CsignInScreen::createAccount_, "CreateAccount"},
    {&CsignInScreen::newUserText_, "NewUserText"}, {&CsignInScreen::ok_, "OK"},
    {&CsignInScreen::userNameBox_, "UserNameTextBox"},   {&CsignInScreen::emailBox_, "EmailTextBox"},
    {&CsignInScreen::password1Box_, "Password1TextBox"}, {&CsignInScreen::password2Box_, "Password2TextBox"},
};

// What each mode shows: its group of the layout, its log line, the title
// over the boxes and the OK button's text.
const CsignInScreen::CmodeView CsignInScreen::kModeViews[] = {
    {MODE_START, "Choice", "Sign in UI - EsignInMode_Start", nullptr, nullptr},
    {MODE_CREATE_ACCOUNT, "Create", "Sign in UI - EsignInMode_CreateAccount", "CreateQuillmarshAccount", "CreateAccount"},
    {MODE_SIGN_IN, "Login", "Sign in UI - EsignInMode_SignIn", "SignInQuillmarshAccount", "SignIn"},
};

CsignInScreen::CsignInScreen() : ClayoutScreen("signIn.txt", kBindings, LEAVE_AT_ONCE) {}

bool CsignInScreen::onLoaded() {
    for (auto& t : texts_) t.clear();
    setMode(mode_);
    return true;
}

void CsignInScreen::restoreButtonBar() {
    gUi->buttonBar.clear();
    gUi->buttonBar.addButtonByKey("BACK", ACTION_BACK, ICON_BACK);
}

void CsignInScreen::onEnter() {
    restoreButtonBar();
    setMode(mode_);
    mode_ = MODE_STEAM_SIGN_IN;
    gUi->loadingIndicator.show(gEngine->text("Working"));
    logLine("Attempting to auto sign in with Steam");
}

void CsignInScreen::setMode(uint32_t m) {
    if (!screen_) return;
    const CmodeView* view = nullptr;
    for (const CmodeView& v : kModeViews) view = v.mode == m ? &v : view;
    mode_ = m;
    // The Steam modes keep what the mode before them showed.
    if (!view) return;
    for (auto& w : screen_->widgets) w->removeEffect();
    screen_->showGroup(view->group);
    ok_->setHidden(true);   // until every box is filled
    if (view->title) {
        newUserText_->setTextKey(view->title);
        newUserText_->startEffect(EFFECT_FADE_IN, 0, nullptr, 0, 0.2f);
    }
    if (view->ok) ok_->setTextKey(view->ok);
    screen_->resetHighlights();
    logLine(view->line);
}

Cwidget* CsignInScreen::boxOf(int field) const {
    switch (field) {
        case FIELD_USER_NAME: return userNameBox_;
        case FIELD_PASSWORD: return password1Box_;
        case FIELD_PASSWORD2: return password2Box_;
        case FIELD_EMAIL: return emailBox_;
        default: return nullptr;
    }
}

void CsignInScreen::beginEntry(int field) {
    CtextEntry& entry = gUi->textEntry;
    if (entry.active) entry.end();
    field_ = field;
    fieldBox_ = boxOf(field);
    if (!fieldBox_) {
        field_ = FIELD_NONE;
        return;
    }
    Crect r = fieldBox_->rect();
    entry.placeBox(fieldBox_->x, fieldBox_->y, r.w);
    entry.fontColour = Ccolour(1, 1, 1, 1);
    entry.shadow = gUi->findShadowStyle("SimpleOutline", false);
    entry.mask = field == FIELD_PASSWORD || field == FIELD_PASSWORD2;
    entry.begin(kMaxEntryChars, texts_[field]);
}

void CsignInScreen::finishEntry() {
    CtextEntry& entry = gUi->textEntry;
    if (!entry.cancelled && field_ != FIELD_NONE) texts_[field_] = entry.text.str();
    if (fieldBox_ && field_ != FIELD_NONE) {
        bool masked = field_ == FIELD_PASSWORD || field_ == FIELD_PASSWORD2;
        CbString shown(texts_[field_]);
        fieldBox_->setText("TextName", masked ? std::string(shown.charCount(), '*') : shown.str());
    }
    field_ = FIELD_NONE;
    fieldBox_ = nullptr;
    entry.finished = false;
    entry.cancelled = false;
    entry.end();
    screen_->resetHighlights();
    restoreButtonBar();
}

void CsignInScreen::refreshOk(bool allFilled) { ok_->setHidden(!allFilled); }

void CsignInScreen::dropAbandonedTasks() {
    k4wSOAP& soap = gGame->online.soap;
    if (signInAbandoned_ && soap.signInTask.finished()) {
        soap.signInTask.reset();
        signInAbandoned_ = false;
        logLine("Sign in UI - dropped the result of a sign-in left behind");
    }
    if (createAbandoned_ && soap.createAccountTask.finished()) {
        soap.createAccountTask.reset();
        createAbandoned_ = false;
        logLine("Sign in UI - dropped the result of an account creation left behind");
    }
}

void CsignInScreen::goBack() {
    k4wSOAP& soap = gGame->online.soap;
    if (mode_ != MODE_START) {
        // A task still running belongs to the mode being left.
        if (soap.signInTask.started()) signInAbandoned_ = true;
        if (soap.createAccountTask.started()) createAbandoned_ = true;
        gUi->loadingIndicator.hide();
        setMode(MODE_START);
        return;
    }
    gUi->textEntry.end();
    gGame->setGameMode(GM_PRESS_START);
}

void CsignInScreen::update() {
    if (!screen_) return;
    dropAbandonedTasks();
    CtextEntry& entry = gUi->textEntry;
    if (field_ != FIELD_NONE && !entry.active && (entry.finished || entry.cancelled)) {
        finishEntry();
        return;
    }
    // A warning being read holds the screen; what was highlighted under it
    // is forgotten, so the key that closes it presses nothing here.
    if (gGame->warningOverlay.visible) {
        screen_->resetHighlights();
        return;
    }
    ClayoutScreen::update();
}

void CsignInScreen::onUpdate() {
    if (gUi->action() == ACTION_BACK) {
        goBack();
        return;
    }
    if (mode_ == MODE_START) {
        if (screen_->wasPressed(createAccount_)) setMode(MODE_CREATE_ACCOUNT);
        else if (screen_->wasPressed(signIn_)) setMode(MODE_SIGN_IN);
    }
    switch (mode_) {
        case MODE_STEAM_SIGN_IN: stepSteamSignIn(); break;
        case MODE_STEAM_CREATE: stepSteamCreate(); break;
        case MODE_CREATE_ACCOUNT: stepCreateByHand(); break;
        case MODE_SIGN_IN: stepSignInByHand(); break;
        default: break;
    }
}

void CsignInScreen::signedIn() {
    gUi->loadingIndicator.hide();
    screens::get<CstartUpScreen>()->signInFinished({.signedIn = true});
}

const char* CsignInScreen::serviceErrorTag(int code) {
    if (code == K4W_ACCOUNT_EXISTS) return "AccountTaken";
    if (code == K4W_BAD_LOGIN) return "WrongLogin";
    return callFailureTag(callFailureOf(code));
}

void CsignInScreen::showServiceError(const char* messageTag) {
    // The player reads what went wrong in a few words; the service's own
    // text goes to the log.
    k4wSOAP& soap = gGame->online.soap;
    const int code = soap.lastErrorCode();
    gEngine->log.print(LOG_L, "Sign in UI - service error %d %s", code, soap.lastErrorText().c_str());
    gGame->warningOverlay.show(gEngine->text("Error"),
                               std::string(gEngine->text(messageTag)) + " " + gEngine->text(serviceErrorTag(code)));
}

void CsignInScreen::stepSteamSignIn() {
    k4wSOAP& soap = gGame->online.soap;
    if (signInAbandoned_) return;
    if (k4wSOAP::serviceOff()) {
        // Nothing can be signed in to: start-up goes on without the service.
        logLine("Sign in UI - web service off");
        gUi->loadingIndicator.hide();
        gGame->setGameMode(GM_START_UP);
        return;
    }
    if (!soap.signInTask.started()) {
        std::string id = steamId();
        soap.startSignIn(id, id);
        return;
    }
    if (!soap.signInTask.finished()) return;
    bool ok = soap.signInTask.success();
    gEngine->log.print(LOG_L, "Steam Sign In: Thread Finished. Success = %d", ok ? 1 : 0);
    soap.signInTask.reset();
    std::string name = steamName();
    if (ok) {
        logLine("Steam Sign In: Success!");
        soap.setPlayerName(name);
        gGame->statsCache.setRecordName(name);
        signedIn();
        return;
    }
    gEngine->log.print(LOG_E, "Steam Sign In: Failed");
    logLine("Attempting to create new account using Steam details");
    std::string id = steamId();
    soap.startCreateAccount(name, id, id);
    gGame->statsCache.setRecordName(name);
    mode_ = MODE_STEAM_CREATE;
}

void CsignInScreen::creationFinished(bool ok, const char* successLine, const char* failureLine) {
    if (ok) {
        logLine(successLine);
        // The profile itself comes from start-up: the saves are loaded
        // there, and a new profile is made only when there are none.
        gUi->loadingIndicator.hide();
        screens::get<CstartUpScreen>()->signInFinished({.accountCreated = true});
        return;
    }
    gEngine->log.print(LOG_E, "%s", failureLine);
    gGame->online.soap.getLastErrorCode("Failed to create account", false);
    gUi->loadingIndicator.hide();
    showServiceError("CreateAccountFailed");
    setMode(MODE_START);
}

void CsignInScreen::stepSteamCreate() {
    CthreadTask& task = gGame->online.soap.createAccountTask;
    if (createAbandoned_) return;
    if (!task.started()) {
        // The creation could not even start.
        creationFinished(false, "", "Steam Auto Create Account: Failed");
        return;
    }
    if (!task.finished()) return;
    bool ok = task.success();
    task.reset();
    creationFinished(ok, "Steam Auto Create Account: Success", "Steam Auto Create Account: Failed");
}

void CsignInScreen::stepCreateByHand() {
    k4wSOAP& soap = gGame->online.soap;
    CthreadTask& task = soap.createAccountTask;
    if (!createAbandoned_ && task.started()) {
        if (!task.finished()) return;
        bool ok = task.success();
        task.reset();
        creationFinished(ok, "Create Account: Success", "Create Account: Failed");
        return;
    }
    for (int f : {FIELD_USER_NAME, FIELD_EMAIL, FIELD_PASSWORD, FIELD_PASSWORD2})
        if (screen_->wasPressed(boxOf(f))) {
            beginEntry(f);
            return;
        }
    bool filled = !texts_[FIELD_USER_NAME].empty() && !texts_[FIELD_EMAIL].empty() &&
                  !texts_[FIELD_PASSWORD].empty() && !texts_[FIELD_PASSWORD2].empty();
    refreshOk(filled);
    if (!filled || task.started() || !screen_->wasPressed(ok_)) return;
    if (texts_[FIELD_PASSWORD] != texts_[FIELD_PASSWORD2]) {
        gGame->warningOverlay.show(gEngine->text("Error"), gEngine->text("PasswordsDontMatch"));
        return;
    }
    if (soap.startCreateAccount(texts_[FIELD_USER_NAME], texts_[FIELD_EMAIL], texts_[FIELD_PASSWORD])) {
        gGame->statsCache.setRecordName(texts_[FIELD_USER_NAME]);
        gUi->loadingIndicator.show(gEngine->text("Working"));
    }
}

void CsignInScreen::stepSignInByHand() {
    k4wSOAP& soap = gGame->online.soap;
    CthreadTask& task = soap.signInTask;
    if (!signInAbandoned_ && task.started()) {
        if (!task.finished()) return;
        bool ok = task.success();
        task.reset();
        gUi->loadingIndicator.hide();
        if (ok) {
            logLine("Sign In: Success");
            signedIn();
            return;
        }
        // Back to the choice; signing in with Steam now could switch accounts.
        gEngine->log.print(LOG_E, "Sign In: Failed");
        showServiceError("SignInFailed");
        setMode(MODE_START);
        return;
    }
    for (int f : {FIELD_EMAIL, FIELD_PASSWORD})
        if (screen_->wasPressed(boxOf(f))) {
            beginEntry(f);
            return;
        }
    bool filled = !texts_[FIELD_EMAIL].empty() && !texts_[FIELD_PASSWORD].empty();
    refreshOk(filled);
    if (filled && !task.started() && screen_->wasPressed(ok_) && soap.startSignIn(texts_[FIELD_EMAIL], texts_[FIELD_PASSWORD]))
        gUi->loadingIndicator.show(gEngine->text("Working"));
}
