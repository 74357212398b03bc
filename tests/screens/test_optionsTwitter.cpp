// The Twitter link screen, headless, against a Twitter stand-in on 127.0.0.1:
// linking with a copied or a typed PIN, a rejected PIN, unlinking, the test
// tweet and the way back.
#include <gtest/gtest.h>

#include "engine/clipboard.h"
#include "engine/resourceFile.h"
#include "screens/optionsTwitter.h"
#include "screens/screenRegistry.h"
#include "screensFixture.h"
#include "support/fakeTwitter.h"

namespace {
struct CtwitterGame : CscreensGame {
    CfakeTwitter server;
    CrecordingScreen menu, options;
    std::string openedPage;
    CoptionsTwitterScreen& screen = *screens::get<CoptionsTwitterScreen>();

    CtwitterGame() {
        Ctwitter& t = gEngine->twitter;
        server.serve(t);
        t.openUrl = [this](const std::string& url) {
            openedPage = url;
            return true;
        };
        gGame->setScreen(GM_MAIN_MENU, &menu);
        gGame->setScreen(GM_OPTIONS, &options);
        clearClipboard();
    }
    void openFrom(int returnState) {
        screen.open(returnState, false);
        settle();
        ASSERT_EQ(mode(), GM_OPTIONS_TWITTER);
    }
    Cwidget* w(const char* name) { return screen.screen()->findWidget(name); }
    bool shows(const char* name) { return w(name)->shown(); }
    std::string text(const char* name) { return w(name)->getText("TextName"); }
    void toPinMode() {
        click(w("AuthButton"));
        ASSERT_EQ(screen.mode(), CoptionsTwitterScreen::MODE_WAITING_FOR_PIN);
    }
    int accessTokenRequests() {
        int n = 0;
        for (const auto& r : server.requests()) n += r.path.rfind("/oauth/access_token", 0) == 0;
        return n;
    }
    bool savedLink() { return fileExistsW(gEngine->savePath("twitter.dat")); }
    void typePin(const std::string& pin, int endKey) {
        click(w("PinBox"));
        ASSERT_TRUE(gUi->textEntry.active);
        typeInto(*this, pin);
        tapKey(endKey);
        steps(2);
    }
};
}  // namespace

TEST(TwitterScreen, CopiedPinLinksOnceAndOnlyThePinLeavesTheClipboard) {
    CtwitterGame g;
    ASSERT_TRUE(g.initOk());
    g.openFrom(GM_OPTIONS);
    // Seven characters the player had copied before are not a PIN.
    setClipboardText("abcdefg");
    g.toPinMode();
    EXPECT_EQ(g.openedPage, "http://" + g.server.hostPort() + "/oauth/authorize?oauth_token=reqTok");
    g.steps(5);
    EXPECT_EQ(g.accessTokenRequests(), 0);
    EXPECT_EQ(getClipboardText(), "abcdefg");

    // The PIN copied from the browser is taken without typing.
    setClipboardText("7654321");
    g.steps(2);
    EXPECT_EQ(g.screen.mode(), CoptionsTwitterScreen::MODE_LINKED);
    EXPECT_EQ(g.accessTokenRequests(), 1);
    EXPECT_EQ(getClipboardText(), "");
    EXPECT_TRUE(g.savedLink());
    EXPECT_TRUE(g.shows("TestTweet"));
    EXPECT_TRUE(g.server.problems().empty()) << g.server.problems()[0];

    // Back goes where the screen was opened from; a linked account shows at once.
    g.tapAction(ACTION_BACK);
    g.settle();
    EXPECT_EQ(g.mode(), GM_OPTIONS);
    g.openFrom(GM_MAIN_MENU);
    EXPECT_EQ(g.screen.mode(), CoptionsTwitterScreen::MODE_LINKED);
    g.tapAction(ACTION_BACK);
    g.settle();
    EXPECT_EQ(g.mode(), GM_MAIN_MENU);
}

// A rejected PIN is sent once and shows the service's answer; a typed PIN
// links, the test tweet reports back, and unlinking lasts past a restart.
TEST(TwitterScreen, RejectedPinIsSentOnceTestTweetReportsAndUnlinkLasts) {
    CtwitterGame g;
    ASSERT_TRUE(g.initOk());
    g.openFrom(GM_OPTIONS);
    g.toPinMode();
    setClipboardText("1111111");
    g.steps(30);
    EXPECT_EQ(g.accessTokenRequests(), 1);
    EXPECT_EQ(g.screen.mode(), CoptionsTwitterScreen::MODE_NOT_LINKED);
    EXPECT_NE(g.text("errorText").find("Invalid oauth_verifier parameter"), std::string::npos) << g.text("errorText");
    EXPECT_FALSE(g.savedLink());

    // Even if the clipboard still held it, opening the page again does not send it again.
    setClipboardText("1111111");
    g.toPinMode();
    EXPECT_FALSE(g.shows("errorTitle"));
    g.steps(10);
    EXPECT_EQ(g.accessTokenRequests(), 1);

    // A cancelled entry sends nothing; a typed PIN links.
    g.typePin("7654321", SDL_SCANCODE_ESCAPE);
    EXPECT_EQ(g.accessTokenRequests(), 1);
    g.typePin("7654321", SDL_SCANCODE_RETURN);
    EXPECT_EQ(g.accessTokenRequests(), 2);
    EXPECT_EQ(g.screen.mode(), CoptionsTwitterScreen::MODE_LINKED);

    g.click(g.w("TestTweet"));
    EXPECT_EQ(g.text("errorText"), gEngine->text("TweetSuccess"));

    g.server.setStatusReply(403, kDuplicate);
    g.click(g.w("TestTweet"));
    EXPECT_NE(g.text("errorText").find("Status is a duplicate."), std::string::npos) << g.text("errorText");

    // Unlinking leaves what the player copied alone and the next run unlinked.
    setClipboardText("my notes");
    ASSERT_TRUE(g.savedLink());
    g.click(g.w("ClearAuth"));
    EXPECT_EQ(g.screen.mode(), CoptionsTwitterScreen::MODE_NOT_LINKED);
    EXPECT_FALSE(g.savedLink());
    EXPECT_EQ(getClipboardText(), "my notes");
    Ctwitter next;
    next.init();
    EXPECT_FALSE(next.authorised());
    const size_t sent = g.server.requests().size();
    g.click(g.w("TestTweet"));   // hidden now: nothing is sent
    EXPECT_EQ(g.server.requests().size(), sent);
}
