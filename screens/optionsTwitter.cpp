#include "screens/optionsTwitter.h"

#include <vector>

#include "engine/clipboard.h"
#include "engine/engine.h"
#include "game/game.h"

namespace {
constexpr int kSuccessSound = 6, kFailureSound = 7;
constexpr float kFadeIn = 0.2f;
}  // namespace

const CwidgetBinding CoptionsTwitterScreen::kBindings[] = {
    {&CoptionsTwitterScreen::authButton_, "AuthButton"},
    {&CoptionsTwitterScreen::authText1_, "AuthText1"},
    {&CoptionsTwitterScreen::authText2_, "AuthText2"},
    {&CoptionsTwitterScreen::authText3_, "AuthText3"},
    {&CoptionsTwitterScreen::authText4_, "AuthText4"},
    {&CoptionsTwitterScreen::clearAuth_, "ClearAuth"},
    {&CoptionsTwitterScreen::testTweet_, "TestTweet"},
    {&CoptionsTwitterScreen::authOkText1_, "AuthOKText1"},
    {&CoptionsTwitterScreen::pinBox_, "PinBox"},
    {&CoptionsTwitterScreen::enterPinText1_, "EnterPinText1"},
    {&CoptionsTwitterScreen::enterPinText2_, "EnterPinText2"},
    {&CoptionsTwitterScreen::enterPinText3_, "EnterPinText3"},
    {&CoptionsTwitterScreen::errorTitle_, "errorTitle"},
    {&CoptionsTwitterScreen::errorText_, "errorText"},
};

CoptionsTwitterScreen::CoptionsTwitterScreen() : ClayoutScreen("optionsTwitter.txt", kBindings) {}

void CoptionsTwitterScreen::open(int returnState, bool transition) {
    returnState_ = returnState;
    gGame->setGameMode(GM_OPTIONS_TWITTER, transition);
}

void CoptionsTwitterScreen::onEnter() {
    gUi->buttonBar.addButtonByKey("BACK", ACTION_BACK, ICON_BACK);
    if (typing_) gUi->textEntry.end();
    typing_ = false;
    applyMode(gEngine->twitter.authorised() ? MODE_LINKED : MODE_NOT_LINKED);
}

void CoptionsTwitterScreen::applyMode(int mode) {
    mode_ = mode;
    Cwidget* const all[] = {authButton_, authText1_,    authText2_,    authText3_,    authText4_,
                            clearAuth_,  testTweet_,    authOkText1_,  pinBox_,       enterPinText1_,
                            enterPinText2_, enterPinText3_, errorTitle_, errorText_};
    for (Cwidget* w : all) {
        w->removeEffect();
        w->setHidden(true);
    }
    std::vector<Cwidget*> shown;
    switch (mode) {
        case MODE_NOT_LINKED: shown = {authButton_, authText1_, authText2_, authText3_, authText4_}; break;
        case MODE_WAITING_FOR_PIN: shown = {pinBox_, enterPinText1_, enterPinText2_, enterPinText3_}; break;
        default: shown = {clearAuth_, testTweet_, authOkText1_}; break;
    }
    for (Cwidget* w : shown) {
        w->setHidden(false);
        w->startEffect(EFFECT_FADE_IN, 0, nullptr, 0, kFadeIn);
    }
    if (mode == MODE_WAITING_FOR_PIN) pinBox_->setText("TextName", "");
}

void CoptionsTwitterScreen::playAgain(int slot) {
    gGame->sfx.stop(slot);
    gGame->sfx.play(slot);
}

void CoptionsTwitterScreen::showFailure() {
    gUi->playSound(kFailureSound);
    errorTitle_->setHidden(false);
    errorText_->setHidden(false);
    errorText_->setText("TextName", gEngine->twitter.errorText().str());
    gEngine->log.print(LOG_L, "Twitter: failure shown: %s", gEngine->twitter.errorText().c_str());
}

void CoptionsTwitterScreen::submitPin(const std::string& pin) {
    Ctwitter& t = gEngine->twitter;
    if (t.authorisePin(pin)) {
        playAgain(kSuccessSound);
        applyMode(MODE_LINKED);
        gEngine->analytics.sendEvent("Twitter", "AuthSuccess", nullptr);
        return;
    }
    playAgain(kFailureSound);
    applyMode(MODE_NOT_LINKED);
    const std::string error = t.errorText().str();
    errorTitle_->setHidden(false);
    errorText_->setHidden(false);
    errorText_->setText("TextName", error);
    gEngine->analytics.sendEvent("Twitter", "AuthFailed", error.c_str());
}

bool CoptionsTwitterScreen::handlePin() {
    CtextEntry& entry = gUi->textEntry;
    const std::string clip = getClipboardText();
    if (clip.size() == kPinLength && clip != clipboardAtPage_) {
        // Taken once: emptied so that it is never read (or sent) again.
        clearClipboard();
        clipboardAtPage_.clear();
        if (typing_) entry.end();
        typing_ = false;
        pinBox_->setText("TextName", clip);
        submitPin(clip);
        return true;
    }
    if (!typing_) return false;
    if (entry.active) return true;
    const std::string typed = entry.text.str();
    const bool submit = entry.finished && !entry.cancelled && !typed.empty();
    entry.finished = false;
    entry.cancelled = false;
    entry.end();
    typing_ = false;
    screen_->resetHighlights();
    if (submit) {
        pinBox_->setText("TextName", typed);
        submitPin(typed);
    }
    return true;
}

void CoptionsTwitterScreen::beginPinEntry() {
    CtextEntry& entry = gUi->textEntry;
    Crect r = pinBox_->rect();
    entry.placeBox(pinBox_->x, pinBox_->y, r.w);
    entry.fontColour = Ccolour(1, 1, 1, 1);
    entry.shadow = gUi->findShadowStyle("SimpleOutline", false);
    entry.mask = false;
    entry.begin(kMaxTypedPin, "");
    pinBox_->setText("TextName", "");
    typing_ = true;
}

void CoptionsTwitterScreen::onUpdate() {
    if (mode_ == MODE_WAITING_FOR_PIN && handlePin()) return;
    if (gUi->action() == ACTION_BACK) {
        gGame->setGameMode(returnState_);
        return;
    }
    Ctwitter& t = gEngine->twitter;
    if (screen_->wasPressed(clearAuth_)) {
        gGame->playTransitionEffect(clearAuth_);
        t.unlink();
        applyMode(MODE_NOT_LINKED);
    } else if (screen_->wasPressed(testTweet_)) {
        gGame->playTransitionEffect(testTweet_);
        if (t.tweet("")) {
            gUi->playSound(kSuccessSound);
            errorTitle_->setHidden(true);
            errorText_->setHidden(false);
            errorText_->setTextKey("TweetSuccess");
        } else {
            showFailure();
        }
    } else if (screen_->wasPressed(authButton_)) {
        gGame->playTransitionEffect(authButton_);
        clipboardAtPage_ = getClipboardText();
        if (t.openAuthorisePage()) {
            gUi->playSound(kSuccessSound);
            applyMode(MODE_WAITING_FOR_PIN);
        } else {
            showFailure();
        }
    } else if (screen_->wasPressed(pinBox_)) {
        beginPinEntry();
    }
}
