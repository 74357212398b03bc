#include "engine/crashHandler.h"

#include <execinfo.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "engine/engine.h"

namespace {
char gCrashPath[4096];

void writeText(int fd, const char* s) {
    if (fd >= 0 && s) {
        ssize_t r = ::write(fd, s, strlen(s));
        (void)r;
    }
}

void onFatalSignal(int sig) {
    // Only async-signal-safe calls from here on.
    int fd = ::open(gCrashPath, O_WRONLY | O_APPEND | O_CREAT, 0644);
    // Lines held for a burst go first, so the log ends where the program did.
    if (fd >= 0 && gEngine) gEngine->log.writeHeldLines(fd);
    writeText(fd, "E 00:00.00 : ****************--CRASH--****************\n");
    writeText(fd, "E 00:00.00 : Fatal signal: ");
    writeText(fd, strsignal(sig));
    writeText(fd, "\nCall stack:\n");
    void* frames[64];
    int n = backtrace(frames, 64);
    if (fd >= 0) backtrace_symbols_fd(frames, n, fd);
    writeText(2, "Fatal signal; call stack written to debug.txt\n");
    backtrace_symbols_fd(frames, n, 2);
    if (fd >= 0) ::close(fd);
    _exit(1);
}
}  // namespace

void installCrashHandler() {
    std::string path = gEngine ? gEngine->savePath("debug.txt") : "debug.txt";
    snprintf(gCrashPath, sizeof gCrashPath, "%s", path.c_str());
    void* warm[1];
    backtrace(warm, 1);   // loads libgcc now, not inside the handler
    struct sigaction sa;
    memset(&sa, 0, sizeof sa);
    sa.sa_handler = onFatalSignal;
    sa.sa_flags = SA_RESETHAND;
    for (int sig : {SIGSEGV, SIGABRT, SIGFPE, SIGILL, SIGBUS}) sigaction(sig, &sa, nullptr);
}
