// Launch to the title: the game (./zorbex beside this program, or the one
// ZORBEX_BENCH_GAME names) started in the
// X display (run under xvfb-run) until its log asks for PressStart, then
// ended. The first run warms the file cache and is not counted. Reported
// beside the wall time: the time less the loading logo's minimum time, which
// is spent whatever the loading costs, and where the time before the logo
// goes: the moments the start-up's log lines first appear. Each run follows
// a run of the bare window (a window and GL context presenting one frame,
// zx_bareWindow), the reference for the time beyond the logo; the memory of
// both at their end (the game's at the title) is printed beside it.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "benchmarks/bareWindow/bareWindowRun.h"
#include "screens/loading.h"

namespace {
std::string readAll(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

// Start-up steps by the log line that ends each; the counter names the step.
struct Cphase {
    const char* counter;
    const char* line;
};
const Cphase kPhases[] = {
    {"toSdlS", "SDL started"},                // the program loaded, its first files read, SDL up
    {"toAudioS", "Audio: "},                  // the audio device
    {"toWindowS", "Window "},                 // the window and its GL context
    {"toSpritesS", "Sprites: "},              // the shaders, the sprites and their atlas
    {"toLoadingS", "GameMode = Loading"},     // fonts, tracks, the start-up services
};
constexpr int kPhaseCount = (int)(sizeof kPhases / sizeof kPhases[0]);

double residentMbOf(pid_t pid) {
    long pages = 0, resident = 0;
    FILE* f = fopen(("/proc/" + std::to_string(pid) + "/statm").c_str(), "r");
    if (!f) return 0;
    if (fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    fclose(f);
    return (double)resident * (double)sysconf(_SC_PAGESIZE) / (1024.0 * 1024.0);
}

// Seconds from start to the title request, or a negative number on failure;
// at[i]: seconds to the first sight of kPhases[i]'s line (negative: never seen);
// rssMb: the game's resident memory then.
double launchOnce(const std::string& game, const std::string& data, double* at = nullptr, double* rssMb = nullptr) {
    if (at)
        for (int i = 0; i < kPhaseCount; ++i) at[i] = -1;
    char dir[] = "/tmp/zx_launch_XXXXXX";
    if (!mkdtemp(dir)) return -1;
    const std::string save = dir, log = save + "/debug.txt";
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        setenv("ZORBEX_SAVE_DIR", save.c_str(), 1);
        setenv("ZORBEX_DATA", data.c_str(), 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        execl(game.c_str(), game.c_str(), "-NoGoogle", "-Linux", (char*)nullptr);
        _exit(127);
    }
    double seconds = -1;
    while (pid > 0) {
        const double t = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const std::string text = readAll(log);
        for (int i = 0; at && i < kPhaseCount; ++i)
            if (at[i] < 0 && text.find(kPhases[i].line) != std::string::npos) at[i] = t;
        if (text.find("GameMode = PressStart") != std::string::npos) {
            seconds = t;
            if (rssMb) *rssMb = residentMbOf(pid);
            break;
        }
        if (t > 30 || waitpid(pid, nullptr, WNOHANG) == pid) {
            pid = 0;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
    (void)!system(("rm -rf '" + save + "'").c_str());
    return seconds;
}

void BM_LaunchToPressStart(benchmark::State& state) {
    if (!getenv("DISPLAY")) {
        state.SkipWithError("no X display (run under xvfb-run)");
        return;
    }
    const char* g = getenv("ZORBEX_BENCH_GAME");   // another build of the game, to compare
    const std::string game = g && *g ? g : "./zorbex";
    const char* d = getenv("ZORBEX_DATA");
    const std::string data = d && *d ? d : "data";
    if (access(game.c_str(), X_OK) != 0) {
        state.SkipWithError("no ./zorbex here");
        return;
    }
    if (launchOnce(game, data) < 0) {
        state.SkipWithError("the game did not reach the title");
        return;
    }
    // The logo fades in by a step a redraw, redraws at least kRedrawMs apart.
    const double redraws = std::ceil(CloadingScreen::kFadeToLeave / CloadingScreen::kFadeStep);
    const double logoSeconds = (redraws - 1) * CloadingScreen::kRedrawMs / 1000.0;
    double total = 0, phaseTotal[kPhaseCount] = {0}, bareTotal = 0, bareMb = 0, titleMb = 0;
    for (auto _ : state) {
        const bench::CbareWindowRun bare = bench::runBareWindow();
        if (bare.seconds < 0) {
            state.SkipWithError("no ./zx_bareWindow here, or it failed");
            return;
        }
        bareTotal += bare.seconds;
        bareMb += bare.residentMb;
        double at[kPhaseCount], rss = 0;
        double s = launchOnce(game, data, at, &rss);
        if (s < 0) {
            state.SkipWithError("the game did not reach the title");
            return;
        }
        titleMb += rss;
        state.SetIterationTime(s);
        total += s;
        for (int i = 0; i < kPhaseCount; ++i) phaseTotal[i] += at[i];
    }
    const double n = (double)state.iterations();
    const double mean = total / n;
    state.counters["logoMinimumS"] = logoSeconds;
    state.counters["beyondLogoS"] = mean - logoSeconds;
    state.counters["bareWindowS"] = bareTotal / n;
    state.counters["beyondLogoVsBare"] = bareTotal > 0 ? (mean - logoSeconds) / (bareTotal / n) : 0;
    state.counters["titleRssMB"] = titleMb / n;
    state.counters["bareWindowMB"] = bareMb / n;
    // Each step's share, from the previous line to its own (a line never seen counts as 0).
    double before = 0;
    for (int i = 0; i < kPhaseCount; ++i) {
        const double t = phaseTotal[i] / n;
        state.counters[kPhases[i].counter] = t >= before ? t - before : 0;
        if (t > before) before = t;
    }
    // The loading screen, logo and all: beyond the logo's minimum, the loading itself.
    state.counters["loadingScreenS"] = mean - before;
}
}  // namespace

BENCHMARK(BM_LaunchToPressStart)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
