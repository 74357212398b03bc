#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "support/localHttpServer.h"
#include "support/testGame.h"

namespace {
std::string writeScript(const std::string& folder, const std::string& body) {
    std::string path = folder + "/fakeDialog";
    std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
    chmod(path.c_str(), 0755);
    return path;
}
}  // namespace

TEST(Platform, HeadlessWindowWithoutGl) {
    CtestGame g;
    ASSERT_TRUE(g.initOk());
    Cplatform& p = gEngine->platform;
    EXPECT_TRUE(p.headless());
    ASSERT_NE(p.window(), nullptr);
    EXPECT_FALSE(p.hasGl());
    EXPECT_TRUE(p.display(99).modes.empty());

    // An unknown display falls back to the first.
    CwindowRequest req;
    req.display = 7;
    req.width = 800;
    req.height = 600;
    ASSERT_TRUE(p.openWindow(req));
    EXPECT_EQ(p.displayInUse(), 0);
    EXPECT_TRUE(g.logHas("Display 7 not found, using display 0"));
    EXPECT_EQ(gEngine->windowWidth, 800);
}

// A display that will not open is tried again for a moment, then reported
// with SDL's reason; SDL is left clean for the next start.
TEST(Platform, AVideoDriverThatWillNotStartIsTriedAgainThenReported) {
    CtestEngine eng(false);
    const char* was = getenv("SDL_VIDEODRIVER");
    const std::string kept = was ? was : "";
    setenv("SDL_VIDEODRIVER", "nosuchdriver", 1);
    bool started = gEngine->platform.startUp();
    if (was) setenv("SDL_VIDEODRIVER", kept.c_str(), 1);
    else unsetenv("SDL_VIDEODRIVER");
    EXPECT_FALSE(started);
    EXPECT_TRUE(gEngine->log.contains("SDL didn't start (nosuchdriver not available): trying again"));
    EXPECT_TRUE(gEngine->log.contains("Can't start SDL: nosuchdriver not available"));
    EXPECT_TRUE(gEngine->platform.startUp());
    EXPECT_TRUE(gEngine->platform.headless());
}

TEST(Platform, InternetCheckIsAShortConnect) {
    CtestGame g;
    ASSERT_TRUE(g.initOk());
    Cplatform& p = gEngine->platform;
    ClocalHttpServer up([](const ChttpRequest&) { return ChttpResponse(); });
    p.checkHost = "127.0.0.1";
    p.checkPort = up.port();
    p.checkTimeoutMs = 2000;
    EXPECT_TRUE(p.checkInternet());
    up.stop();
    EXPECT_FALSE(p.checkInternet());
    EXPECT_TRUE(g.logPrefix("Internet check failed: "));
}

TEST(Platform, OnlyWebAddressesAreOpened) {
    CtestGame g;
    ASSERT_TRUE(g.initOk());
    EXPECT_FALSE(gEngine->platform.openUrl("file:///etc/passwd"));
    EXPECT_FALSE(gEngine->platform.openUrl("javascript:alert(1)"));
    EXPECT_TRUE(g.logHas("Refused to open address: file:///etc/passwd"));
}

TEST(Platform, DialogsRunWithoutAShell) {
    CtestGame g;
    ASSERT_TRUE(g.initOk());
    Cplatform& p = gEngine->platform;
    std::string dir = makeTempFolder("dialog");
    // The chosen path comes back exactly, however odd its characters.
    p.dialogProgram = writeScript(dir, "printf '%s\\n' \"/tmp/my music/\\$(touch x);'q'\"");
    EXPECT_EQ(p.pickFolderDialog(), "/tmp/my music/$(touch x);'q'");
    // The program gets its arguments as given, one each.
    p.dialogProgram = writeScript(dir, "for a in \"$@\"; do printf '%s|' \"$a\"; done; echo");
    EXPECT_EQ(p.openPngFileDialog(), "--file-selection|--title=Zorbex|--file-filter=PNG images | *.png *.PNG|");
    // Cancelled: zenity exits with 1.
    p.dialogProgram = writeScript(dir, "echo /tmp/ignored; exit 1");
    EXPECT_EQ(p.pickFolderDialog(), "");
    // Missing program: nothing chosen, a log line.
    p.dialogProgram = dir + "/noSuchDialog";
    EXPECT_EQ(p.openPngFileDialog(), "");
    EXPECT_TRUE(g.logPrefix("Can't start " + dir + "/noSuchDialog"));
    removeFolderTree(dir);
}

TEST(Platform, QuitSignalsBecomeAQuitRequest) {
    CtestGame g;
    ASSERT_TRUE(g.initOk());
    Cplatform& p = gEngine->platform;
    struct sigaction oldTerm, oldInt;
    sigaction(SIGTERM, nullptr, &oldTerm);
    sigaction(SIGINT, nullptr, &oldInt);
    Cplatform::installSignalHandlers();
    EXPECT_FALSE(p.quitRequested());
    raise(SIGTERM);
    EXPECT_TRUE(p.quitRequested());
    p.clearQuitRequest();
    raise(SIGINT);
    g.steps(1);
    EXPECT_TRUE(g->quit);
    EXPECT_FALSE(p.quitRequested());
    sigaction(SIGTERM, &oldTerm, nullptr);
    sigaction(SIGINT, &oldInt, nullptr);
}
