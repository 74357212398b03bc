#pragma once
// CsignInScreen: the SignIn state. On entry it signs in silently with the
// player's Steam identity and, when that account does not exist yet, makes it
// from the Steam details. The player can instead make an account by hand
// (name, e-mail, password twice) or sign in to one (e-mail, password). On
// success the start-up sequence runs again.
#include <array>
#include <cstdint>
#include <string>

#include "screens/layoutScreen.h"

// What sign-in hands back to start-up.
struct CsignInResult {
    bool signedIn = false;         // to an account that existed
    bool accountCreated = false;   // a new account was made
};

class CsignInScreen : public ClayoutScreen {
public:
    enum EsignInMode : uint32_t {
        MODE_START = 0,
        MODE_STEAM_CREATE = 3,
        MODE_CREATE_ACCOUNT = 5,
        MODE_SIGN_IN = 6,
        MODE_STEAM_SIGN_IN = 9,
    };
    enum Efield { FIELD_NONE = -1, FIELD_USER_NAME = 0, FIELD_PASSWORD = 1, FIELD_PASSWORD2 = 2, FIELD_EMAIL = 3 };
    static constexpr int kMaxEntryChars = 30;

    CsignInScreen();
    void update() override;

    // Shows the mode's group of widgets and its texts (logging the mode) and
    // makes it current.
    void setMode(uint32_t mode);
    uint32_t mode() const { return mode_; }
    const std::string& fieldText(int field) const { return texts_[field < 0 || field > 3 ? 0 : field]; }
    int entryField() const { return field_; }

private:
    bool onLoaded() override;
    void onEnter() override;
    void onUpdate() override;
    void stepSteamSignIn();
    void stepSteamCreate();
    void stepCreateByHand();
    void stepSignInByHand();
    // Account creation has ended: on to start-up, or the error and the choice.
    void creationFinished(bool ok, const char* successLine, const char* failureLine);
    void showServiceError(const char* messageTag);
    // The string-table tag that says a service result in a few words.
    static const char* serviceErrorTag(int code);
    void signedIn();
    void goBack();
    void dropAbandonedTasks();
    void refreshOk(bool allFilled);

    void beginEntry(int field);
    void finishEntry();
    Cwidget* boxOf(int field) const;
    void restoreButtonBar();

    struct CmodeView {
        uint32_t mode;
        const char *group, *line, *title, *ok;
    };
    static const CmodeView kModeViews[];
    static const CwidgetBinding kBindings[];
    Cwidget *signIn_ = nullptr, *createAccount_ = nullptr, *newUserText_ = nullptr, *ok_ = nullptr;
    Cwidget *userNameBox_ = nullptr, *emailBox_ = nullptr, *password1Box_ = nullptr, *password2Box_ = nullptr;
    uint32_t mode_ = MODE_START;
    int field_ = FIELD_NONE;
    Cwidget* fieldBox_ = nullptr;
    std::array<std::string, 4> texts_;   // by Efield
    // A task left running by Back: its result belongs to no mode and is dropped.
    bool signInAbandoned_ = false;
    bool createAbandoned_ = false;
};
