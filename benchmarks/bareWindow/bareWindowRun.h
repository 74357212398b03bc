#pragma once
// Runs the bare window (zx_bareWindow beside the benchmark) once: its whole
// run from fork to exit, and the resident memory it reported.
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

namespace bench {
struct CbareWindowRun {
    double seconds = -1;   // negative: it did not run
    double residentMb = 0;
};

inline CbareWindowRun runBareWindow(const char* program = "./zx_bareWindow") {
    CbareWindowRun run;
    int out[2];
    if (access(program, X_OK) != 0 || pipe(out) != 0) return run;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], 1);
        close(out[0]);
        close(out[1]);
        execl(program, program, (char*)nullptr);
        _exit(127);
    }
    close(out[1]);
    char text[64] = {0};
    ssize_t got = pid > 0 ? read(out[0], text, sizeof text - 1) : -1;
    close(out[0]);
    int status = 0;
    if (pid <= 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return run;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.residentMb = got > 0 ? atof(text) : 0;
    return run;
}
}  // namespace bench
