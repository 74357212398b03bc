#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <thread>

#include "engine/crashHandler.h"
#include "engine/http.h"
#include "engine/resourceFile.h"
#include "engine/threadTask.h"
#include "support/localHttpServer.h"
#include "support/testEngine.h"

namespace {
std::vector<std::string> linesOf(const std::string& path) {
    std::ifstream f(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(f, line);) lines.push_back(line);
    return lines;
}
}  // namespace

// Lines logged while the file cannot grow (a full disk; here a file size
// limit, which binds root too) reach the file, whole and in order, once it can.
TEST(Log, LinesLoggedWhileTheDiskIsFullAreWrittenOnceItHasRoom) {
    CtestEngine eng;
    const std::string path = gEngine->savePath("full.txt");
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        Clog log;
        log.echoToSdl = false;
        if (!log.open(path, "version")) _exit(2);
        rlimit lim;
        getrlimit(RLIMIT_FSIZE, &lim);
        rlimit small = lim;
        small.rlim_cur = 1000;
        if (setrlimit(RLIMIT_FSIZE, &small) != 0) _exit(3);
        int i = 0;
        while (log.pendingBytes() == 0 && i < 500) log.print(LOG_L, "line %d of the run", i++);
        for (int k = 0; k < 20; ++k) log.print(LOG_L, "line %d of the run", i++);
        if (setrlimit(RLIMIT_FSIZE, &lim) != 0) _exit(4);
        log.print(LOG_L, "line %d of the run", i++);
        _exit(log.pendingBytes() == 0 && i > 21 ? 0 : 5);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
    const std::vector<std::string> lines = linesOf(path);
    ASSERT_GT(lines.size(), 2u + 21);
    EXPECT_EQ(lines[0], "Release Build");
    for (size_t i = 2; i < lines.size(); ++i) EXPECT_EQ(lines[i], "L 00:00.00 : line " + std::to_string(i - 2) + " of the run");
}

// Held lines, more than the buffer takes, reach the file in order when the hold ends or before a crash report.
TEST(Log, HeldLinesReachTheFileInOrderWhenTheHoldEndsOrTheProgramCrashes) {
    for (bool crash : {false, true}) {
        CtestEngine eng;
        pid_t child = fork();
        if (child == 0) {
            installCrashHandler();
            gEngine->log.hold();
            for (int i = 0; i < 3000; ++i) gEngine->log.print(LOG_L, "held %d", i);
            if (crash) raise(SIGABRT);
            gEngine->log.release();
            _exit(0);   // no close(): the hold's end wrote the lines
        }
        int status = 0;
        ASSERT_TRUE(waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == crash);
        std::vector<std::string> lines = linesOf(gEngine->savePath("debug.txt")), want;
        lines.erase(lines.begin(), std::find(lines.begin(), lines.end(), "L 00:00.00 : held 0"));
        for (int i = 0; i < 3000; ++i) want.push_back("L 00:00.00 : held " + std::to_string(i));
        if (crash) want.push_back("E 00:00.00 : ****************--CRASH--****************");
        lines.resize(want.size());   // the call stack follows
        EXPECT_EQ(lines, want);
    }
}

TEST(Log, LinesKeepTheirFormatAndNamesAreEscapedSoALineStaysOneLine) {
    const struct {
        const char* in;
        const char* out;
    } rows[] = {
        {"song\nL 00:00.00 : forged", "song\\nL 00:00.00 : forged"},
        {"cr\r tab\t bell\a del\x7f", "cr\\r tab\\t bell\\x07 del\\x7f"},
        {"caf\xc3\xa9 \xe6\x97\xa5 \xf0\x9f\x8e\xb5", "caf\xc3\xa9 \xe6\x97\xa5 \xf0\x9f\x8e\xb5"},
        {"latin1 caf\xe9!", "latin1 caf\\xe9!"},
        {"cut \xe6\x97", "cut \\xe6\\x97"},
        {"overlong \xc0\xaf surrogate \xed\xa0\x80", "overlong \\xc0\\xaf surrogate \\xed\\xa0\\x80"},
        {"past the end \xf4\x90\x80\x80", "past the end \\xf4\\x90\\x80\\x80"},
    };
    for (const auto& r : rows) EXPECT_EQ(escapeForLog(r.in), r.out) << r.in;

    CtestEngine eng;
    gEngine->gameTime = 12.3;
    gEngine->log.print(LOG_L, "Rejected Track (too long/short): %s", "a\nL 00:00.00 : b.ogg");
    const std::vector<std::string> lines = linesOf(gEngine->savePath("debug.txt"));
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Release Build");
    EXPECT_EQ(lines[1], "Zorbex - v1.00 - Linux - Steam");
    EXPECT_EQ(lines.back(), "L 00:12.30 : Rejected Track (too long/short): a\\nL 00:00.00 : b.ogg");
    EXPECT_EQ(Clog::timeText(3725.5), "01h 02m 05s.50");
}

TEST(Log, ErrorHookDoesNotRecurse) {
    CtestEngine eng;
    int calls = 0;
    gEngine->log.errorHook = [&](const std::string&) {
        ++calls;
        gEngine->log.print(LOG_E, "reporting failed");   // would recurse without the guard
    };
    gEngine->log.print(LOG_E, "first");
    EXPECT_TRUE(calls == 1 && gEngine->log.contains("reporting failed"));
    gEngine->log.print(LOG_E, "second");   // the guard is let go again
    EXPECT_EQ(calls, 2);
}

TEST(ThreadTask, BodiesNeverOverlapAndRunningTaskRefusesRestart) {
    CtestEngine eng;
    // The bodies wait for the gate, so the first one is surely still running
    // when it is started again.
    std::atomic<bool> gate{false};
    std::atomic<int> inside{0}, maxInside{0};
    auto body = [&] {
        int now = ++inside;
        int seen = maxInside.load();
        while (now > seen && !maxInside.compare_exchange_weak(seen, now)) {}
        waitUntil([&] { return gate.load(); });
        std::this_thread::sleep_for(std::chrono::milliseconds(5));   // room for an overlap to show
        --inside;
        return true;
    };
    CthreadTask a("TaskA"), b("TaskB"), c("TaskC");
    ASSERT_TRUE(a.start(body));
    ASSERT_TRUE(b.start(body));
    ASSERT_TRUE(c.start(body));
    EXPECT_FALSE(a.start(body));
    EXPECT_TRUE(gEngine->log.contains("Thread already running! TaskA"));
    gate = true;
    a.join();
    b.join();
    c.join();
    EXPECT_EQ(maxInside.load(), 1);
    EXPECT_TRUE(a.finished() && a.success() && !gEngine->anyTaskRunning());
    a.reset();
    ASSERT_TRUE(a.start([] { return false; }));
    a.join();
    EXPECT_TRUE(a.finished() && !a.success());
}

TEST(ResourceFile, OpenFromDataAndSaveFolders) {
    CtestEngine eng;
    CresourceFile f;
    ASSERT_TRUE(f.open("textFiles/colours.txt"));
    EXPECT_EQ(f.text()[f.size()], 0);   // readable as text
    f.release();
    EXPECT_FALSE(f.open("textFiles/none.txt"));
    EXPECT_TRUE(gEngine->log.containsPart("Can't open file:"));

    ASSERT_TRUE(CresourceFile::save("blob.dat", "abc", 3));
    CresourceFile s, raw;
    ASSERT_TRUE(s.open("blob.dat", RF_SAVE));
    EXPECT_EQ(std::string(s.text(), s.size()), "abc");
    ASSERT_TRUE(raw.open("blob.dat", RF_SAVE_RAW));
    EXPECT_EQ(raw.size(), 15u);   // 12-byte header + 3
    EXPECT_FALSE(fileExistsW(gEngine->savePath("blob.dat.tmp")));
}

TEST(Http, PostReturnsItsOwnReplyAndTellsFailureFromEmpty) {
    CtestEngine eng;
    ClocalHttpServer server([](const ChttpRequest& r) {
        ChttpResponse resp;
        if (r.path == "/empty") resp.body = "";
        else if (r.path == "/big") resp.body = std::string(30000, 'x');
        else resp.body = "echo:" + r.body;
        return resp;
    });
    ChttpReply a = httpPost("POST", server.hostPort(), "/x", "Content-Type: text/plain\r\n", "hi", 2);
    EXPECT_TRUE(a.ok && a.status == 200);
    EXPECT_EQ(a.body, "echo:hi");
    ChttpReply e = httpPost("POST", server.url(), "/empty", "", nullptr, 0);
    EXPECT_TRUE(e.ok && e.body.empty());   // an empty answer is no failure
    ChttpReply big = httpPost("POST", server.hostPort(), "/big", "", "", 0);
    EXPECT_TRUE(big.ok && big.body.size() == kHttpMaxReply);
    EXPECT_TRUE(gEngine->log.contains("Http Post: response bigger than 20k"));
    auto reqs = server.requests();
    ASSERT_FALSE(reqs.empty());
    EXPECT_EQ(reqs[0].header("content-type"), "text/plain");
    server.stop();
    ChttpReply dead = httpPost("POST", server.hostPort(), "/x", "", "a", 1, 2);
    EXPECT_FALSE(dead.ok || dead.error.empty());
}

TEST(Http, PercentEncodeKeepsUnreservedAndEncodesEverythingElse) {
    EXPECT_EQ(percentEncode("AZaz09~-_."), "AZaz09~-_.");
    EXPECT_EQ(percentEncode(std::string("a b+c&d=e/f,g!\xc3\xa9\x7f\0", 18)), "a%20b%2Bc%26d%3De%2Ff%2Cg%21%C3%A9%7F%00");
    EXPECT_EQ(percentEncode("~a~", false), "%7Ea%7E");
}

TEST(Http, SlowServerTimesOut) {
    CtestEngine eng;
    // The answer would come after a minute (the server stops waiting when it
    // is stopped): only the request's own one-second limit ends it first.
    ClocalHttpServer server([](const ChttpRequest&) {
        ChttpResponse r;
        r.delayMs = 60000;
        r.body = "late";
        return r;
    });
    ChttpReply r = httpPost("POST", server.hostPort(), "/slow", "", "a", 1, 1);
    EXPECT_FALSE(r.ok || !r.body.empty());
    EXPECT_NE(r.error.find("timed out"), std::string::npos) << r.error;
}

TEST(SaveFolder, XdgDocumentsFolder) {
    std::string home = makeTempFolder("home");
    std::string cfg = home + "/.config";
    makeFolders(cfg);
    std::ofstream(cfg + "/user-dirs.dirs") << "XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n";
    const char* oldHome = getenv("HOME");
    std::string keepHome = oldHome ? oldHome : "";
    const char* oldSave = getenv("ZORBEX_SAVE_DIR");
    std::string keepSave = oldSave ? oldSave : "";
    unsetenv("ZORBEX_SAVE_DIR");
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", cfg.c_str(), 1);
    EXPECT_EQ(defaultSaveFolder("Zorbex"), home + "/Docs/QuillmarshGames/Zorbex/");
    std::ofstream(cfg + "/user-dirs.dirs") << "# nothing\n";
    EXPECT_EQ(defaultSaveFolder("Zorbex"), home + "/Documents/QuillmarshGames/Zorbex/");
    unsetenv("XDG_CONFIG_HOME");
    if (!keepHome.empty()) setenv("HOME", keepHome.c_str(), 1);
    if (!keepSave.empty()) setenv("ZORBEX_SAVE_DIR", keepSave.c_str(), 1);
    removeFolderTree(home);
}
