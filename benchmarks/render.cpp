// Cost of building and flushing a batch of 10,000 quads: with the null
// backend (the batch alone) and, when an X display is there, with OpenGL
// (the batch, the upload and the draw, finished before the clock stops).
#include <GL/glew.h>
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "engine/engine.h"

namespace {
constexpr int kQuads = 10000;

// An engine with its rendering started, for the length of one benchmark.
class CbenchEngine {
public:
    explicit CbenchEngine(ErenderBackend backend) {
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
        return true;
    }
    std::string saveDir_;
    SDL_Window* window_ = nullptr;
    SDL_GLContext context_ = nullptr;
};

// 10,000 particle-sized quads; textureRun quads share a texture before the next one.
void buildAndFlush(benchmark::State& state, ErenderBackend backend) {
    CbenchEngine eng(backend);
    if (!eng.ok) {
        state.SkipWithError(eng.error.c_str());
        return;
    }
    const int textureRun = (int)state.range(0);
    const Csprite* sprites[4] = {gEngine->sprites.findSprite("builtin_soft"), gEngine->sprites.findSprite("builtin_ring"),
                                 gEngine->sprites.findSprite("builtin_spark"), gEngine->sprites.findSprite("builtin_star")};
    Crenderer& r = gEngine->renderer;
    for (auto _ : state) {
        r.beginFrame();
        for (int i = 0; i < kQuads; ++i) {
            Cquad q;
            q.sprite = sprites[(i / textureRun) & 3];
            q.centre = Cvec3((float)(i * 37 % 1280), (float)(i * 91 % 720), 0);
            q.colour = Ccolour(1, 0.5f, 0.25f, 0.8f);
            q.rotation = (float)(i % 360);
            q.width = q.height = 16;
            q.blend = BLEND_ADDITIVE;
            r.addQuad(q);
        }
        r.flush();
        if (backend == RENDER_GL) glFinish();
        benchmark::DoNotOptimize(r.frameQuads());
    }
    state.counters["drawCalls"] = r.frameDrawCalls();
    state.SetItemsProcessed(state.iterations() * kQuads);
}

void BM_quads10kNull(benchmark::State& state) { buildAndFlush(state, RENDER_NULL); }
void BM_quads10kGl(benchmark::State& state) { buildAndFlush(state, RENDER_GL); }
}  // namespace

// Argument: quads in a run of one texture (10000: one draw call; 50: 200 draw calls).
BENCHMARK(BM_quads10kNull)->Arg(10000)->Arg(50)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_quads10kGl)->Arg(10000)->Arg(50)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
