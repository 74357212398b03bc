#pragma once
// Shared by the benchmarks: an engine with its rendering started (the null
// backend, or OpenGL in a window of its own when an X display is there), and
// the full play field kept at its size.
#include <GL/glew.h>
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "engine/engine.h"
#include "game/playEffects.h"
#include "game/playHarness.h"

namespace bench {
// The process's resident memory in MiB.
inline double residentMb() {
    long pages = 0, resident = 0;
    FILE* f = fopen("/proc/self/statm", "r");
    if (!f) return 0;
    if (fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    fclose(f);
    return (double)resident * (double)sysconf(_SC_PAGESIZE) / (1024.0 * 1024.0);
}

// An engine with its rendering started, for the length of one benchmark.
class CbenchEngine {
public:
    // batched false: no atlases and a draw call per blend change, the way
    // frames were drawn before the batching, to measure against.
    explicit CbenchEngine(ErenderBackend backend, bool batched = true) {
        char dir[] = "/tmp/zx_bench_XXXXXX";
        if (mkdtemp(dir)) saveDir_ = dir;
        Cengine::create();
        gEngine->log.echoToSdl = false;
        gEngine->setSaveFolder(saveDir_);
        const char* data = getenv("ZORBEX_DATA");
        gEngine->setDataRoot(data && *data ? data : "data");
        if (!gEngine->init("")) {
            error = "engine init failed";
            return;
        }
        if (backend == RENDER_GL && !openWindow()) return;
        gEngine->textures.setPacking(batched);
        gEngine->renderer.setMergeBlends(batched);
        if (!initRendering(backend)) {
            error = "renderer init failed";
            return;
        }
        gEngine->renderer.recording = false;
        ok = true;
    }
    ~CbenchEngine() {
        if (gEngine->renderer.isReady()) shutdownRendering();
        if (context_) SDL_GL_DeleteContext(context_);
        if (window_) SDL_DestroyWindow(window_);
        if (window_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
        Cengine::destroy();
        if (!saveDir_.empty()) {
            std::string cmd = "rm -rf '" + saveDir_ + "'";
            (void)!system(cmd.c_str());
        }
    }
    bool ok = false;
    std::string error;
    void swap() {
        if (window_) SDL_GL_SwapWindow(window_);
    }

private:
    bool openWindow() {
        if (!getenv("DISPLAY")) {
            error = "no X display (run under xvfb-run)";
            return false;
        }
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            error = SDL_GetError();
            return false;
        }
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
        window_ = SDL_CreateWindow("bench", 0, 0, 1280, 720, SDL_WINDOW_OPENGL);
        context_ = window_ ? SDL_GL_CreateContext(window_) : nullptr;
        if (!context_) {
            error = SDL_GetError();
            return false;
        }
        SDL_GL_SetSwapInterval(0);
        SDL_GL_GetDrawableSize(window_, &gEngine->windowWidth, &gEngine->windowHeight);
        return true;
    }
    std::string saveDir_;
    SDL_Window* window_ = nullptr;
    SDL_GLContext context_ = nullptr;
};

// The play harness's field at its fullest: 200 enemies, 2,000 projectiles and
// every particle in use, topped up between frames.
class CfullField {
public:
    static constexpr int kEnemies = 200;
    static constexpr int kProjectiles = 2000;

    // Needs the engine with its rendering started.
    bool start() {
        harness = std::make_unique<CplayHarness>();
        CharnessOptions o;
        o.length = 600;
        o.title = "Benchmark";
        if (!harness->start(o)) return false;
        harness->world.waves.enabled = false;   // the field is kept at its size by hand
        harness->world.music.intensity = 0.6f;
        return true;
    }

    void topUp() {
        CgameWorld& w = harness->world;
        Crandom& r = rnd_;
        if (Cship* me = w.ships.playerShip(0)) me->invulnerableTimer = 100;   // the field never ends the game
        static const char* kinds[] = {"Grunt", "Weaver", "Gunner", "Splitter", "Dasher"};
        float hw = w.arenaHalfWidth - 8, hh = w.arenaHalfHeight - 8;
        for (int n = w.ships.countEnemies(); n < kEnemies; ++n) {
            Cship* s = w.ships.addShip(w.ships.findShipDef(kinds[r.choice(5)]));
            if (!s) break;
            s->pos = Cvec3(r.range(-hw, hw), r.range(-hh, hh), 0);
            s->aiDir.x = r.choice(2) ? 1.0f : -1.0f;
        }
        for (int n = w.projectiles.count(); n < kProjectiles; ++n) {
            float a = r.range(0, 2 * kPi);
            Cvec2 at(r.range(-hw, hw), r.range(-hh, hh));
            Cvec2 v(std::sin(a), -std::cos(a));
            if (n % 2) w.projectiles.fire(at, v * 240.0f, 0, 0, SHOT_BULLET, 10, Ccolour(0.3f, 1, 1), 1.3f);
            else w.projectiles.fire(at, v * 55.0f, -1, -1, SHOT_ROUND, 1, Ccolour(1, 0.3f, 0.8f), 4.0f);
        }
        CparticleSystem& ps = gEngine->particles;
        while (ps.countActive() < CparticleSystem::kMaxParticles)
            playSparks(50, Cvec2(r.range(-hw, hw), r.range(-hh, hh)), 60.0f, Ccolour(1, 0.6f, 0.2f), 2.0f);
    }

    // One step of play, the pilot flying.
    void step() {
        harness->pilots[0].drive(harness->world, 0);
        harness->world.session.update(harness->dt);
        gEngine->particles.update(harness->dt);
    }

    std::unique_ptr<CplayHarness> harness;

private:
    Crandom rnd_{4242};
};

// The engine and the full field ready, or the benchmark skipped with the reason.
inline bool startFullField(benchmark::State& state, CbenchEngine& eng, CfullField& field) {
    if (!eng.ok) {
        state.SkipWithError(eng.error.c_str());
        return false;
    }
    if (!field.start()) {
        state.SkipWithError("the play harness did not start");
        return false;
    }
    return true;
}
}  // namespace bench
