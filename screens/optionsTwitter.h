#pragma once
// CoptionsTwitterScreen ("optionsTwitter.txt"), state OptionsTwitter: links
// the player's Twitter account with the PIN the authorise page shows, sends a
// test tweet and unlinks. The client's requests block the frame while they run.
//
// The PIN is typed into the PIN box, or taken from the clipboard as soon as a
// 7-character text appears there that was not there when the page was opened;
// the clipboard is emptied only then, so nothing else the player copied is
// lost and a taken PIN is never read twice.
#include <string>

#include "screens/layoutScreen.h"

class Cwidget;

class CoptionsTwitterScreen : public ClayoutScreen {
public:
    enum Emode { MODE_NOT_LINKED = 0, MODE_WAITING_FOR_PIN = 1, MODE_LINKED = 2 };
    static constexpr size_t kPinLength = 7;
    static constexpr int kMaxTypedPin = 10;

    CoptionsTwitterScreen();

    // Opens the screen; Back returns to returnState (Options, MainMenu or ShareMoment).
    void open(int returnState, bool transition = true);

    int mode() const { return mode_; }
    int returnState() const { return returnState_; }

private:
    void onEnter() override;
    void onUpdate() override;
    static const CwidgetBinding kBindings[];

    void applyMode(int mode);
    // Step 1 of the update: true when the PIN took this step.
    bool handlePin();
    void beginPinEntry();
    void submitPin(const std::string& pin);
    void showFailure();
    void playAgain(int slot);

    Cwidget* authButton_ = nullptr;
    Cwidget* authText1_ = nullptr;
    Cwidget* authText2_ = nullptr;
    Cwidget* authText3_ = nullptr;
    Cwidget* authText4_ = nullptr;
    Cwidget* clearAuth_ = nullptr;
    Cwidget* testTweet_ = nullptr;
    Cwidget* authOkText1_ = nullptr;
    Cwidget* pinBox_ = nullptr;
    Cwidget* enterPinText1_ = nullptr;
    Cwidget* enterPinText2_ = nullptr;
    Cwidget* enterPinText3_ = nullptr;
    Cwidget* errorTitle_ = nullptr;
    Cwidget* errorText_ = nullptr;

    int mode_ = MODE_NOT_LINKED;
    int returnState_ = 4;   // Options
    bool typing_ = false;
    std::string clipboardAtPage_;   // what the clipboard held when the page was opened
};
