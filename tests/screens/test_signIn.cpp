// The sign-in screen: silently through the Steam identity, or by hand.
#include "roadFixture.h"
#include "screens/signIn.h"
#include "screensFixture.h"
#include "screens/startUp.h"
#include "screens/screenRegistry.h"

class SignInTest : public RoadTest {
protected:
    void toSignIn() {
        toTitle();
        pressReturn();
        ASSERT_TRUE(reachMode(GM_SIGN_IN));
    }
    CsignInScreen& screen() { return *screens::get<CsignInScreen>(); }
    Cwidget* w(const char* name) { return screen().screen()->findWidget(name); }
    // Clicks a text box, clears what it holds and types text.
    void fill(const char* box, const std::string& text) {
        click(w(box));
        ASSERT_TRUE(gUi->textEntry.active) << box;
        for (size_t i = gUi->textEntry.text.charCount(); i > 0; --i) tapKey(SDL_SCANCODE_BACKSPACE);
        ASSERT_TRUE(gUi->textEntry.active) << "Backspace must not end the entry";
        typeText(text);
        g->steps(1);
        ASSERT_FALSE(gUi->textEntry.active);
        ASSERT_EQ(screen().entryField(), CsignInScreen::FIELD_NONE);
    }
    void dismissWarning() {
        ASSERT_TRUE(gGame->warningOverlay.visible);
        pressReturn();
        ASSERT_FALSE(gGame->warningOverlay.visible);
        g->steps(15);
    }
    std::string warningText() { return gGame->warningOverlay.screen()->findWidget("Message")->getText("TextName"); }
    bool okShown() { return w("OK")->visible(); }
};

TEST_F(SignInTest, SteamIdentityMakesTheAccountSilently) {
    makeGame();
    CrecordingScreen menu;   // a main menu with no bar buttons of its own
    gGame->setScreen(GM_MAIN_MENU, &menu);
    writeSave(150, true);
    toTitle();
    pressReturn();
    ASSERT_TRUE(reachMode(GM_MAIN_MENU));
    EXPECT_TRUE(g->logHas("Steam Auto Create Account: Success"));
    EXPECT_TRUE(g->logHas("- StartUp - get token - success"));
    EXPECT_TRUE(screens::get<CstartUpScreen>()->signInResult().accountCreated);
    EXPECT_TRUE(gUi->buttonBar.buttons().empty());   // the sign-in's BACK went with it
    EXPECT_TRUE(service.accountExists(steamIdText()));
    CloginData login;
    ASSERT_TRUE(loadLoginData(login));
    EXPECT_EQ(login.name, steamIdText());
    EXPECT_EQ(service.nicknameOf(gGame->online.soap.playerId()), kPersona);
    EXPECT_EQ(gGame->progress.xp, 150);   // the player's own save, not a new profile
}

TEST_F(SignInTest, AnExistingSteamAccountPassesWithoutInput) {
    makeGame();
    uint64_t id = service.addAccount(kPersona, steamIdText(), steamIdText());
    toTitle();
    pressReturn();
    ASSERT_TRUE(reachMode(GM_MAIN_MENU));
    EXPECT_TRUE(g->logHas("Steam Sign In: Success!"));
    EXPECT_FALSE(g->logHas("Attempting to create new account using Steam details"));
    EXPECT_TRUE(screens::get<CstartUpScreen>()->signInResult().signedIn);
    EXPECT_EQ(gGame->online.soap.playerId(), id);
    EXPECT_EQ(gGame->statsCache.local.name, kPersona);
}

TEST_F(SignInTest, MakingAnAccountByHand) {
    makeGame();
    service.refuseNewAccounts = true;
    toSignIn();
    // The Steam account can't be made: the service's error is shown and the
    // player gets the choice; the game goes on.
    ASSERT_TRUE(runUntil([this] { return screen().mode() == CsignInScreen::MODE_START; }));
    EXPECT_NE(warningText().find(gEngine->text("AccountTaken")), std::string::npos);
    EXPECT_EQ(gGame->mode(), GM_SIGN_IN);
    dismissWarning();

    click(w("CreateAccount"));
    EXPECT_EQ(screen().mode(), CsignInScreen::MODE_CREATE_ACCOUNT);

    fill("UserNameTextBox", "Rookie");
    fill("EmailTextBox", "rookie@example.com");
    fill("Password1TextBox", "abc123");
    EXPECT_FALSE(okShown());   // every field needs text
    fill("Password2TextBox", "abc124");
    EXPECT_TRUE(okShown());

    // Passwords that differ are reported; nothing is sent.
    int requests = service.requestCount();
    click(w("OK"));
    EXPECT_EQ(warningText(), gEngine->text("PasswordsDontMatch"));
    g->steps(10);
    EXPECT_EQ(service.requestCount(), requests);
    dismissWarning();

    // A cancelled entry keeps what the field held.
    click(w("EmailTextBox"));
    typeInto(*g, "zzz");
    tapKey(SDL_SCANCODE_ESCAPE);
    g->steps(1);
    EXPECT_FALSE(gUi->textEntry.active);
    EXPECT_EQ(screen().fieldText(CsignInScreen::FIELD_EMAIL), "rookie@example.com");
    EXPECT_FALSE(gGame->overlay(OVERLAY_EXIT)->showing());   // the Escape was the entry's

    // The service refuses the account: its error, and back to the choice.
    fill("Password2TextBox", "abc123");
    click(w("OK"));
    ASSERT_TRUE(waitLog("Create Account: Failed"));
    EXPECT_EQ(screen().mode(), CsignInScreen::MODE_START);
    dismissWarning();

    // Now it takes it; the texts were kept.
    service.refuseNewAccounts = false;
    click(w("CreateAccount"));
    EXPECT_TRUE(okShown());
    click(w("OK"));
    ASSERT_TRUE(reachMode(GM_MAIN_MENU));
    EXPECT_TRUE(service.accountExists("rookie@example.com"));
    CloginData login;
    ASSERT_TRUE(loadLoginData(login));
    EXPECT_EQ(login.name, "rookie@example.com");
    EXPECT_EQ(login.password, "abc123");
    EXPECT_EQ(gGame->progress.xp, 1);   // no save of the player's: a new profile
}

TEST_F(SignInTest, AFailedSignInByHandReturnsToTheChoice) {
    makeGame();
    uint64_t id = service.addAccount("Veteran", "vet@example.com", "s3cret");
    service.refuseNewAccounts = true;
    toSignIn();
    ASSERT_TRUE(runUntil([this] { return screen().mode() == CsignInScreen::MODE_START; }));
    dismissWarning();

    click(w("SignIn"));
    fill("EmailTextBox", "vet@example.com");
    EXPECT_FALSE(okShown());
    fill("Password1TextBox", "wrong");
    click(w("OK"));
    ASSERT_TRUE(waitLog("Sign In: Failed"));
    // The choice again, in the same state: no silent Steam sign-in follows.
    EXPECT_EQ(screen().mode(), CsignInScreen::MODE_START);
    EXPECT_EQ(gGame->mode(), GM_SIGN_IN);
    EXPECT_EQ(g->logCount("Attempting to auto sign in with Steam"), 1);
    EXPECT_NE(warningText().find(gEngine->text("WrongLogin")), std::string::npos);
    dismissWarning();

    click(w("SignIn"));
    fill("Password1TextBox", "s3cret");
    click(w("OK"));
    ASSERT_TRUE(reachMode(GM_MAIN_MENU));
    EXPECT_EQ(gGame->online.soap.playerId(), id);
    CloginData login;
    ASSERT_TRUE(loadLoginData(login));
    EXPECT_EQ(login.name, "vet@example.com");
}

TEST_F(SignInTest, BackDuringTheSteamSignInDropsItsResult) {
    makeGame();
    service.addAccount(kPersona, steamIdText(), steamIdText());
    toTitle();
    service.delayMs = 400;
    pressReturn();
    ASSERT_TRUE(reachMode(GM_SIGN_IN));
    ASSERT_TRUE(runUntil([] { return gGame->online.soap.signInTask.started(); }));
    tapKey(SDL_SCANCODE_BACKSPACE);
    EXPECT_FALSE(gUi->loadingIndicator.showing);
    // The player picks signing in by hand while the Steam sign-in still runs:
    // its result must not count as this mode's.
    click(w("SignIn"));
    ASSERT_EQ(screen().mode(), CsignInScreen::MODE_SIGN_IN);
    ASSERT_TRUE(gGame->online.soap.signInTask.started());
    ASSERT_TRUE(waitLog("Sign in UI - dropped the result of a sign-in left behind"));
    g->steps(30);
    EXPECT_FALSE(g->logHas("Steam Sign In: Success!"));
    EXPECT_FALSE(g->logHas("Sign In: Success"));
    EXPECT_EQ(screen().mode(), CsignInScreen::MODE_SIGN_IN);
    EXPECT_FALSE(gGame->online.soap.signInTask.started());

    // Back twice: the choice, then the title.
    tapKey(SDL_SCANCODE_BACKSPACE);
    EXPECT_EQ(screen().mode(), CsignInScreen::MODE_START);
    tapKey(SDL_SCANCODE_BACKSPACE);
    ASSERT_TRUE(reachMode(GM_PRESS_START));
}
