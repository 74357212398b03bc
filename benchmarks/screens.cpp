// The game's own screens as a player meets them: the engine and the game
// started the way the program starts them (its heap settings included) in a
// window of the X display (run under xvfb-run). A frame is an update period
// and a draw. Per frame: the main thread's CPU time, and its minor page
// faults (memory handed back to the kernel and taken again faults each time).
//  - MainMenu: beside a bare frame (a clear and a swap) of the same window;
//    its resident memory beside a bare window's (zx_bareWindow) run just after.
//  - MusicBrowser/N: the Files view of a folder of N tracks, beside the main
//    menu with the same library just before; the memory the list takes per
//    track; the frame's ratio to the 100-track list of the same run.
//  - FindMusicWalk: the music search screen walking 10,000 tracks at the
//    frame loop's own pace, beside what 4 ms slices at 60 frames a second
//    allow at TagLib's own rate, measured just before. Its parts: slices a
//    second, each slice's length (from the walk's own clock readings) and
//    files a second within slices against TagLib's rate; TagLib's rate again
//    after the walk shows how far the machine's load moved meanwhile.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "benchmarks/bareWindow/bareWindowRun.h"
#include "benchmarks/benchEngine.h"
#include "benchmarks/benchSupport.h"
#include "engine/engine.h"
#include "engine/render/render.h"
#include "engine/ui/uiMgr.h"
#include "game/frameLoop.h"
#include "game/game.h"
#include "screens/findMusic.h"
#include "screens/screenRegistry.h"

namespace {
using bench::residentMb;
// ZORBEX_BENCH_FRAMES: frames measured of each (300).
const int kFrames = [] {
    const char* n = getenv("ZORBEX_BENCH_FRAMES");
    return n && atoi(n) > 0 ? atoi(n) : 300;
}();

double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return (double)t.tv_sec * 1e3 + (double)t.tv_nsec * 1e-6;
}

long threadMinorFaults() {
    rusage u{};
    getrusage(RUSAGE_THREAD, &u);
    return u.ru_minflt;
}


double nowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

struct Ccost {
    double cpuMs = 0;   // a frame's
    double faults = 0;  // a frame's
};

Ccost measure(int frames, const std::function<void()>& frame) {
    const double t0 = threadCpuMs();
    const long f0 = threadMinorFaults();
    for (int i = 0; i < frames; ++i) frame();
    return {(threadCpuMs() - t0) / frames, (double)(threadMinorFaults() - f0) / frames};
}

// The engine and the game, started once for every benchmark of the run.
class CbenchGame {
public:
    static CbenchGame& get() {
        if (!made_) made_ = new CbenchGame;
        return *made_;
    }
    static CbenchGame* made() { return made_; }
    bool ok = false;
    std::string error;
    CframeLoop loop;

    void frame() {
        loop.runPeriod();
        loop.draw();
    }
    void bareFrame() {
        Crenderer& r = gEngine->renderer;
        r.beginFrame();
        r.flush();
        gEngine->platform.swapWindow();
    }
    void frames(int n) {
        for (int i = 0; i < n; ++i) frame();
    }
    // To a game mode, and on until its opening has settled.
    void goTo(int mode) {
        gGame->setGameMode(mode);
        frames(90);
    }
    // As the program's main loop runs: passes at real time, idle between.
    void runLikeTheGame(const std::function<bool()>& until, double seconds) {
        const double end = nowMs() + seconds * 1000.0;
        while (!until() && nowMs() < end)
            if (!loop.runPass()) SDL_Delay(1);
    }
    void pressKey(SDL_Scancode sc) {
        for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
            SDL_Event e{};
            e.type = type;
            e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
            e.key.keysym.scancode = sc;
            e.key.keysym.sym = SDL_GetKeyFromScancode(sc);
            SDL_PushEvent(&e);
            frames(2);
        }
    }
    std::string save;

private:
    static CbenchGame* made_;
    CbenchGame() {
        if (!getenv("DISPLAY")) {
            error = "no X display (run under xvfb-run)";
            return;
        }
        Cplatform::keepFreedMemory();
        char dir[] = "/tmp/zx_bench_game_XXXXXX";
        save = mkdtemp(dir) ? dir : "";
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        Cengine::create();
        gEngine->log.echoToSdl = false;
        gEngine->setSaveFolder(save);
        const char* data = getenv("ZORBEX_DATA");
        gEngine->setDataRoot(data && *data ? data : "data");
        if (!gEngine->init("-NoGoogle -Linux")) {
            error = "engine init failed";
            return;
        }
        Cgame::create();
        if (!gGame->init() || !gGame->startUp()) {
            error = "game start-up failed";
            return;
        }
        loop.start();
        loop.runPeriod();
        runLikeTheGame([] { return gGame->mode() == GM_PRESS_START; }, 30);
        if (gGame->mode() != GM_PRESS_START) {
            error = "the game did not reach the title";
            return;
        }
        // A returning player: the first visit's help boxes have been seen.
        for (const char* t : {"Tut_Intro1", "Tut_Intro2", "Tut_Intro3", "Tut_Intro4", "TUt_ManageMusic",
                              "TUt_ShipEditIntro", "Tut_10Years1", "Tut_PerkMainMenu1"})
            if (auto* box = gUi->tutorials.find(t)) box->seen = true;
        goTo(GM_MAIN_MENU);
        ok = true;
    }
};

CbenchGame* CbenchGame::made_ = nullptr;

bool ready(benchmark::State& state) {
    CbenchGame& g = CbenchGame::get();
    if (!g.ok) state.SkipWithError(g.error.c_str());
    return g.ok;
}

void BM_MainMenu(benchmark::State& state) {
    if (!ready(state)) return;
    CbenchGame& g = CbenchGame::get();
    g.goTo(GM_MAIN_MENU);
    Ccost bare, menu;
    for (auto _ : state) {
        bare = measure(kFrames, [&] { g.bareFrame(); });
        menu = measure(kFrames, [&] { g.frame(); });
        state.SetIterationTime(menu.cpuMs / 1000.0);
    }
    state.counters["menuMs"] = menu.cpuMs;
    state.counters["bareFrameMs"] = bare.cpuMs;
    state.counters["vsBareFrame"] = bare.cpuMs > 0 ? menu.cpuMs / bare.cpuMs : 0;
    state.counters["faultsPerFrame"] = menu.faults;
    state.counters["rssMB"] = residentMb();
    // The reference: a bare window's at its end, run just now.
    const double bareMb = bench::runBareWindow().residentMb;
    state.counters["bareWindowMB"] = bareMb;
    state.counters["vsBareWindowRss"] = bareMb > 0 ? residentMb() / bareMb : 0;
}

// A folder of n empty music files, each known to the library by its tags.
std::string makeTrackFolder(int n) {
    std::string folder = CbenchGame::get().save + "/tracks" + std::to_string(n);
    std::filesystem::create_directories(folder);
    CsongInfoMgr& lib = gGame->songLibrary;
    lib.clearLocalTracks();
    char name[32];
    for (int i = 0; i < n; ++i) {
        snprintf(name, sizeof name, "Track %05d.mp3", i);
        const std::string path = folder + "/" + name;
        std::ofstream(path).put('\0');
        CtrackTags tags;
        tags.title = "Title " + std::to_string(i);
        tags.artist = "Artist " + std::to_string(i / 100);
        tags.album = "Album " + std::to_string(i / 10);
        tags.genre = "Genre";
        tags.trackNumber = (uint32_t)(i % 10 + 1);
        tags.length = 200;
        lib.addLocalTrack(SONG_LOCAL, tags, path);
    }
    lib.save();   // not in the frames measured: the library saves once it has been left alone a while
    return folder;
}

// The music browser's frame and the memory its list takes, with n tracks
// in the library and the folder; the main menu's frame just before.
struct Cbrowsing {
    Ccost menu, browser;
    double kbPerTrack = 0;
};

Cbrowsing browse(int n) {
    CbenchGame& g = CbenchGame::get();
    gGame->saveLoad.settings.currentFolder = makeTrackFolder(n);
    Cbrowsing b;
    g.goTo(GM_MAIN_MENU);
    b.menu = measure(kFrames, [&] { g.frame(); });
    const double before = residentMb();
    g.goTo(GM_MUSIC_BROWSER);
    b.browser = measure(kFrames, [&] { g.frame(); });
    // ZORBEX_BENCH_SHOT: the list's next frame saved as <value>-<n>.png, to compare builds.
    if (const char* shot = getenv("ZORBEX_BENCH_SHOT"); shot && *shot) {
        Crenderer& r = gEngine->renderer;
        g.loop.runPeriod();
        r.beginFrame();
        gGame->draw();
        r.flush();
        if (r.readPixels(0, 0, gEngine->screenWidth, gEngine->screenHeight))
            r.saveScreenshotPng(std::string(shot) + "-" + std::to_string(n) + ".png");
        gEngine->platform.swapWindow();
    }
    b.kbPerTrack = (residentMb() - before) * 1024.0 / n;
    g.goTo(GM_MAIN_MENU);
    return b;
}

void BM_MusicBrowser(benchmark::State& state) {
    if (!ready(state)) return;
    const int n = (int)state.range(0);
    Cbrowsing hundred, b;
    for (auto _ : state) {
        hundred = browse(100);
        b = n == 100 ? hundred : browse(n);
        state.SetIterationTime(b.browser.cpuMs / 1000.0);
    }
    gGame->songLibrary.clearLocalTracks();
    state.counters["browserMs"] = b.browser.cpuMs;
    state.counters["menuMs"] = b.menu.cpuMs;
    state.counters["vsMainMenu"] = b.menu.cpuMs > 0 ? b.browser.cpuMs / b.menu.cpuMs : 0;
    state.counters["vs100Tracks"] = hundred.browser.cpuMs > 0 ? b.browser.cpuMs / hundred.browser.cpuMs : 0;
    state.counters["faultsPerFrame"] = b.browser.faults;
    state.counters["kBPerTrack"] = b.kbPerTrack;
}

void BM_FindMusicWalk(benchmark::State& state) {
    if (!ready(state)) return;
    CbenchGame& g = CbenchGame::get();
    static Ccollection c(2000, 5);
    if (!c.ready()) {
        state.SkipWithError("could not make the test files");
        return;
    }
    // The folder dialog answers with the collection.
    const std::string script = g.save + "/pickFolder.sh";
    std::ofstream(script) << "#!/bin/sh\necho '" << c.root << "/music'\n";
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    gEngine->platform.dialogProgram = script;
    CfindMusicScreen* screen = screens::get<CfindMusicScreen>();
    auto tagLibRate = [&] {
        const double t0 = nowMs();
        readTagsWithTagLib(c.files);
        return (double)c.files.size() / ((nowMs() - t0) / 1000.0);
    };
    // A slice runs in each draw: the walk's clock readings of one draw are one slice.
    std::vector<double> slices;
    uint64_t sliceDraw = 0;
    double sliceBegan = 0;
    screen->setWalkClock([&] {
        const double t = nowMs();
        if (g.loop.draws() != sliceDraw || slices.empty()) {
            sliceDraw = g.loop.draws();
            sliceBegan = t;
            slices.push_back(0);
        }
        slices.back() = t - sliceBegan;
        return t;
    });
    double before = 0, after = 0, walkRate = 0, seconds = 0;
    int files = 0;
    for (auto _ : state) {
        gGame->songLibrary.clearLocalTracks();
        slices.clear();
        slices.reserve(4096);   // never grown inside a slice
        before = tagLibRate();
        g.goTo(GM_FIND_MUSIC);
        Cmenu* menu = screen->screen()->findMenu("Menu");
        if (menu) menu->setSelectedIdx(0);
        g.pressKey(SDL_SCANCODE_RETURN);
        g.runLikeTheGame([&] { return screen->running(); }, 5);
        const double t0 = nowMs();
        g.runLikeTheGame([&] { return !screen->running(); }, 120);
        seconds = (nowMs() - t0) / 1000.0;
        files = gGame->songLibrary.countKind(SONG_LOCAL);
        walkRate = (double)files / seconds;
        state.SetIterationTime(seconds);
        after = tagLibRate();
    }
    screen->setWalkClock(nullptr);
    g.goTo(GM_MAIN_MENU);
    // 4 ms of each 60th of a second at TagLib's rate.
    const double allowed = before * (CfindMusicScreen::kSliceMs * 60.0 / 1000.0);
    state.counters["filesPerSecond"] = walkRate;
    state.counters["allowedPerSecond"] = allowed;
    state.counters["vsAllowed"] = allowed > 0 ? walkRate / allowed : 0;
    if (!slices.empty()) {
        double sliceSum = 0;
        for (double s : slices) sliceSum += s;
        std::sort(slices.begin(), slices.end());
        const double n = (double)slices.size();
        state.counters["slicesPerSecond"] = seconds > 0 ? n / seconds : 0;
        state.counters["sliceMs"] = sliceSum / n;
        state.counters["p99SliceMs"] = slices[std::min(slices.size() - 1, slices.size() * 99 / 100)];
        state.counters["filesPerSlice"] = files / n;
        state.counters["inSliceVsTagLib"] = sliceSum > 0 && before > 0 ? files / (sliceSum / 1000.0) / before : 0;
    }
    state.counters["tagLibAfterVsBefore"] = before > 0 ? after / before : 0;
}
}  // namespace

BENCHMARK(BM_MainMenu)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MusicBrowser)->Arg(100)->Arg(2000)->Arg(20000)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindMusicWalk)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (gGame) Cgame::destroy();
    if (gEngine) {
        if (gEngine->renderer.isReady()) shutdownRendering();
        Cengine::destroy();
    }
    if (CbenchGame* g = CbenchGame::made(); g && !g->save.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(g->save, ec);
    }
    return 0;
}
