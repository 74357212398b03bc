#include "screens/signIn.h"

#include "engine/engine.h"
#include "game/game.h"

namespace {

const char* const kWidgetNames[] = {
    "SignIn",          "CreateAccount",    "UserNameTitle",     "UserNameTextBox",     "EmailTitle",
    "EmailTextBox",    "Password1Title",   "Password1TextBox",  "Password2Title",      "Password2TextBox",
    "TempUserNameTitle", "TempUserNameTextBox", "NewUserText",  "CreateAccountText",   "OrText1",
    "OrText2",         "UseExistingAccount", "OK"};

void logLine(const char* text) { gEngine->log.print(LOG_L, "%s", text); }

// The login the service accepted, kept for the next start.
void saveLogin() {
    k4wSOAP& soap = gGame->online.soap;
    CloginData& login = gGame->saveLoad.login;
    login.name = soap.loginName();
    login.password = soap.loginPassword();
    login.email = soap.loginEmail();
    if (!gGame->saveLoad.saveLoginData()) gEngine->log.print(LOG_E, "Sign in UI - the login could not be saved");
}

std::string steamName() { return gEngine->steam.platform.getSteamName().str(); }
std::string steamId() { return gEngine->steam.platform.getSteamIdString().str(); }

}  // namespace

Cwidget* CsignInScreen::widget(const char* name) const {
    for (int i = 0; i < WID_COUNT; ++i)
        if (equalsIgnoreCase(kWidgetNames[i], name)) return w_[i];
    return nullptr;
}

bool CsignInScreen::load() {
    screen_ = gUi->loadScreen("signIn.txt");
    if (!screen_) return false;
    bool all = true;
    for (int i = 0; i < WID_COUNT; ++i) {
        w_[i] = screen_->findWidget(kWidgetNames[i]);
        all = all && w_[i];
    }
    for (auto& t : texts_) t.clear();
    if (all) setMode(mode_);
    return all;
}

void CsignInScreen::restoreButtonBar() {
    gUi->buttonBar.clear();
    gUi->buttonBar.addButtonByKey("BACK", ACTION_BACK, ICON_BACK);
}

void CsignInScreen::enter() {
    if (!screen_) return;
    screen_->enterOpening();
    restoreButtonBar();
    setMode(mode_);
    mode_ = MODE_STEAM_SIGN_IN;
    gUi->loadingIndicator.show(gEngine->text("Working"));
    logLine("Attempting to auto sign in with Steam");
}

void CsignInScreen::setMode(uint32_t m) {
    if (!screen_) return;
    const char* line = nullptr;
    std::vector<int> shown;
    const char* title = nullptr;
    const char* ok = nullptr;
    switch (m) {
        case MODE_START:
            line = "Sign in UI - EsignInMode_Start";
            shown = {WID_SIGN_IN, WID_CREATE_ACCOUNT};
            break;
        case MODE_CREATE_ACCOUNT:
            line = "Sign in UI - EsignInMode_CreateAccount";
            shown = {WID_USER_NAME_TITLE, WID_USER_NAME_BOX, WID_EMAIL_TITLE,     WID_EMAIL_BOX,
                     WID_PASSWORD1_TITLE, WID_PASSWORD1_BOX, WID_PASSWORD2_TITLE, WID_PASSWORD2_BOX};
            title = "CreateQuillmarshAccount";
            ok = "CreateAccount";
            break;
        case MODE_SIGN_IN:
            line = "Sign in UI - EsignInMode_SignIn";
            shown = {WID_EMAIL_TITLE, WID_EMAIL_BOX, WID_PASSWORD1_TITLE, WID_PASSWORD1_BOX};
            title = "SignInQuillmarshAccount";
            ok = "SignIn";
            break;
        default:
            // The Steam modes keep what the mode before them showed.
            mode_ = m;
            return;
    }
    for (Cwidget* w : w_) {
        w->removeEffect();
        w->setHidden(true);
    }
    for (int i : shown) w_[i]->setHidden(false);
    if (title) {
        w_[WID_NEW_USER_TEXT]->setTextKey(title);
        w_[WID_NEW_USER_TEXT]->setHidden(false);
        w_[WID_NEW_USER_TEXT]->startEffect(EFFECT_FADE_IN, 0, nullptr, 0, 0.2f);
    }
    if (ok) w_[WID_OK]->setTextKey(ok);
    screen_->resetHighlights();
    mode_ = m;
    logLine(line);
}

Cwidget* CsignInScreen::boxOf(int field) const {
    switch (field) {
        case FIELD_USER_NAME: return w_[WID_USER_NAME_BOX];
        case FIELD_PASSWORD: return w_[WID_PASSWORD1_BOX];
        case FIELD_PASSWORD2: return w_[WID_PASSWORD2_BOX];
        case FIELD_EMAIL: return w_[WID_EMAIL_BOX];
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

void CsignInScreen::refreshOk(bool allFilled) { w_[WID_OK]->setHidden(!allFilled); }

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
    screen_->update();
    if (gUi->action() == ACTION_BACK) {
        goBack();
        return;
    }
    if (mode_ == MODE_START) {
        if (screen_->wasPressed(w_[WID_CREATE_ACCOUNT])) setMode(MODE_CREATE_ACCOUNT);
        else if (screen_->wasPressed(w_[WID_SIGN_IN])) setMode(MODE_SIGN_IN);
    }
    switch (mode_) {
        case MODE_STEAM_SIGN_IN: stepSteamSignIn(); break;
        case MODE_STEAM_CREATE: stepSteamCreate(); break;
        case MODE_CREATE_ACCOUNT: stepCreateByHand(); break;
        case MODE_SIGN_IN: stepSignInByHand(); break;
        default: break;
    }
}

void CsignInScreen::render() {
    if (screen_) screen_->render();
}

void CsignInScreen::signedIn() {
    saveLogin();
    gGame->startUpSequence.signedIn = true;
    gGame->startUpSequence.saveLoginOnToken = true;
    gUi->loadingIndicator.hide();
    gGame->setGameMode(GM_START_UP);
}

void CsignInScreen::showServiceError(const char* messageTag) {
    k4wSOAP& soap = gGame->online.soap;
    std::string error = soap.lastErrorText();
    if (error.empty()) error = k4wResultText(soap.lastErrorCode());
    CwarningOverlay& warning = gGame->warningOverlay;
    warning.setTitle(gEngine->text("Error"));
    warning.setMessage((std::string(gEngine->text(messageTag)) + " " + error).c_str());
    warning.setVisible(true);
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
        saveLogin();
        // The profile itself comes from start-up: the saves are loaded
        // there, and a new profile is made only when there are none.
        gGame->startUpSequence.accountCreated = true;
        gGame->startUpSequence.newProfile = true;
        gGame->startUpSequence.saveLoginOnToken = true;
        gUi->loadingIndicator.hide();
        gGame->setGameMode(GM_START_UP);
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
    if (!filled || task.started() || !screen_->wasPressed(w_[WID_OK])) return;
    if (texts_[FIELD_PASSWORD] != texts_[FIELD_PASSWORD2]) {
        CwarningOverlay& warning = gGame->warningOverlay;
        warning.setTitle(gEngine->text("Error"));
        warning.setMessage(gEngine->text("PasswordsDontMatch"));
        warning.setVisible(true);
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
    if (filled && !task.started() && screen_->wasPressed(w_[WID_OK]) && soap.startSignIn(texts_[FIELD_EMAIL], texts_[FIELD_PASSWORD]))
        gUi->loadingIndicator.show(gEngine->text("Working"));
}
