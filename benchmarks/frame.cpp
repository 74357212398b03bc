// The full play field drawn through OpenGL (run under xvfb-run): draw calls
// per frame and the main thread's CPU time of building and flushing a frame,
// then the resident memory over 10,000 frames. wallFrameMs is the whole frame
// on the clock, the swap and the rasteriser's own threads included. Argument 1 draws batched (the
// atlases and the shared blend function), 0 the way frames were drawn before,
// for comparison in the same run.
//
// The batched run also draws the floor between its frames: the same quads
// written by a bare loop and drawn in one call by a plain program, as a
// one-call SDL+GL program would. cpuMs and buildMs (the CPU minus the flush)
// are medians, each beside the floor's from the same frames, with their ratios.
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

#include "benchEngine.h"

namespace {
using bench::CbenchEngine;
using bench::CfullField;
using bench::residentMb;
using bench::startFullField;

double threadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return (double)t.tv_sec + (double)t.tv_nsec * 1e-9;
}

// Steps the field, then draws it; returns the main thread's CPU seconds of
// the draw, and of its flush alone.
double playAndDraw(CbenchEngine& eng, CfullField& field, double* flushSeconds = nullptr) {
    field.topUp();
    field.step();
    Crenderer& r = gEngine->renderer;
    const double t0 = threadCpuSeconds();
    r.beginFrame();
    field.harness->world.session.draw();
    const double t1 = threadCpuSeconds();
    r.flush();
    const double t2 = threadCpuSeconds();
    eng.swap();
    if (flushSeconds) *flushSeconds = t2 - t1;
    return t2 - t0;
}

double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::nth_element(v.begin(), v.begin() + (long)v.size() / 2, v.end());
    return v[v.size() / 2];
}

// The floor's frame: a copy of one frame's quads, held as a scene holds them
// (angle and float colour) and turned into vertices every frame, drawn with
// one texture in one call.
class CfloorFrame {
public:
    ~CfloorFrame() {
        if (vao_) glDeleteVertexArrays(1, &vao_);
        if (vbo_) glDeleteBuffers(1, &vbo_);
        if (ibo_) glDeleteBuffers(1, &ibo_);
        if (program_) glDeleteProgram(program_);
    }

    bool start(const CquadVertex* v, int quads, unsigned texture) {
        texture_ = texture;
        for (int i = 0; i < quads; ++i, v += 4) {
            // What a scene holds of each quad: its centre, size, angle, colour, image rectangle and blend.
            Csource q;
            q.cx = (v[0].x + v[2].x) * 0.5f;
            q.cy = (v[0].y + v[2].y) * 0.5f;
            q.hw = std::hypot(v[1].x - v[0].x, v[1].y - v[0].y) * 0.5f;
            q.hh = std::hypot(v[3].x - v[0].x, v[3].y - v[0].y) * 0.5f;
            q.angle = v[0].rotSin == 0 && v[0].rotCos == 1 ? 0 : std::atan2(v[0].rotSin, v[0].rotCos);
            const uint32_t c = v[0].colour;
            q.colour = Ccolour((float)(c & 255) / 255.0f, (float)((c >> 8) & 255) / 255.0f,
                               (float)((c >> 16) & 255) / 255.0f, (float)(c >> 24) / 255.0f);
            q.u0 = v[0].u;
            q.v0 = v[0].v;
            q.u1 = v[2].u;
            q.v1 = v[2].v;
            q.blend = v[0].additive != 0 ? BLEND_ADDITIVE : BLEND_ALPHA;
            quads_.push_back(q);
        }
        vertices_.resize(quads_.size() * 4);
        std::vector<uint32_t> idx(quads_.size() * 6);
        for (uint32_t i = 0; i < (uint32_t)quads_.size(); ++i) {
            const uint32_t b = i * 4, k[6] = {b, b + 1, b + 2, b, b + 2, b + 3};
            std::copy(k, k + 6, &idx[(size_t)i * 6]);
        }
        program_ = link();
        if (!program_) return false;
        scaleAt_ = glGetUniformLocation(program_, "uScale");
        glGenVertexArrays(1, &vao_);
        glBindVertexArray(vao_);
        glGenBuffers(1, &vbo_);
        glBindBuffer(GL_ARRAY_BUFFER, vbo_);
        glBufferData(GL_ARRAY_BUFFER, (GLsizeiptr)(vertices_.size() * sizeof(CquadVertex)), nullptr, GL_STREAM_DRAW);
        glGenBuffers(1, &ibo_);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ibo_);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, (GLsizeiptr)(idx.size() * 4), idx.data(), GL_STATIC_DRAW);
        const GLsizei stride = sizeof(CquadVertex);
        glEnableVertexAttribArray(0);
        glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(CquadVertex, x));
        glEnableVertexAttribArray(1);
        glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(CquadVertex, u));
        glEnableVertexAttribArray(2);
        glVertexAttribPointer(2, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride, (void*)offsetof(CquadVertex, colour));
        glBindVertexArray(0);
        return true;
    }

    // The main thread's CPU seconds of the frame; buildSeconds: of writing the vertices.
    double draw(int width, int height, double* buildSeconds) {
        const double t0 = threadCpuSeconds();
        glViewport(0, 0, width, height);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        const double t1 = threadCpuSeconds();
        CquadVertex* v = vertices_.data();
        for (const Csource& q : quads_) {
            float c = 1, s = 0;
            if (q.angle != 0) sincosf(q.angle, &s, &c);
            const float hwc = q.hw * c, hws = q.hw * s, hhc = q.hh * c, hhs = q.hh * s;
            const uint32_t col = packColour(q.colour);
            const float add = q.blend == BLEND_ADDITIVE ? 1.0f : 0.0f;
            v[0] = {(q.cx - hwc) + hhs, (q.cy - hws) - hhc, q.u0, q.v0, col, c, s, add};
            v[1] = {(q.cx + hwc) + hhs, (q.cy + hws) - hhc, q.u1, q.v0, col, c, s, add};
            v[2] = {(q.cx + hwc) - hhs, (q.cy + hws) + hhc, q.u1, q.v1, col, c, s, add};
            v[3] = {(q.cx - hwc) - hhs, (q.cy - hws) + hhc, q.u0, q.v1, col, c, s, add};
            v += 4;
        }
        benchmark::DoNotOptimize(vertices_.data());
        const double t2 = threadCpuSeconds();
        glUseProgram(program_);
        glUniform2f(scaleAt_, 2.0f / 1280.0f, -2.0f / 720.0f);
        glBindVertexArray(vao_);
        glBindBuffer(GL_ARRAY_BUFFER, vbo_);
        // Fresh storage each frame, so that the upload never waits for the last frame's drawing.
        const GLsizeiptr bytes = (GLsizeiptr)(vertices_.size() * sizeof(CquadVertex));
        glBufferData(GL_ARRAY_BUFFER, bytes, nullptr, GL_STREAM_DRAW);
        glBufferSubData(GL_ARRAY_BUFFER, 0, bytes, vertices_.data());
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, texture_);
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
        glDrawElements(GL_TRIANGLES, (GLsizei)quads_.size() * 6, GL_UNSIGNED_INT, nullptr);
        glBindVertexArray(0);
        const double t3 = threadCpuSeconds();
        *buildSeconds = t2 - t1;
        return t3 - t0;
    }

private:
    struct Csource {
        float cx, cy, hw, hh;
        float angle;   // radians
        Ccolour colour;
        float u0, v0, u1, v1;
        Eblend blend;
    };

    static GLuint compile(GLenum type, const char* text) {
        GLuint sh = glCreateShader(type);
        glShaderSource(sh, 1, &text, nullptr);
        glCompileShader(sh);
        GLint ok = 0;
        glGetShaderiv(sh, GL_COMPILE_STATUS, &ok);
        return ok ? sh : 0;
    }
    static GLuint link() {
        GLuint vs = compile(GL_VERTEX_SHADER, R"(#version 330 core
layout(location = 0) in vec2 aPos;
layout(location = 1) in vec2 aUv;
layout(location = 2) in vec4 aColour;
uniform vec2 uScale;
out vec2 vUv;
out vec4 vColour;
void main() {
    vUv = aUv;
    vColour = aColour;
    gl_Position = vec4(aPos * uScale + vec2(-1.0, 1.0), 0.0, 1.0);
})");
        GLuint fs = compile(GL_FRAGMENT_SHADER, R"(#version 330 core
in vec2 vUv;
in vec4 vColour;
uniform sampler2D uTex;
out vec4 fragColour;
void main() {
    vec4 c = texture(uTex, vUv) * vColour;
    fragColour = vec4(c.rgb * c.a, c.a);
})");
        if (!vs || !fs) return 0;
        GLuint p = glCreateProgram();
        glAttachShader(p, vs);
        glAttachShader(p, fs);
        glLinkProgram(p);
        glDeleteShader(vs);
        glDeleteShader(fs);
        GLint ok = 0;
        glGetProgramiv(p, GL_LINK_STATUS, &ok);
        return ok ? p : 0;
    }

    std::vector<Csource> quads_;
    std::vector<CquadVertex> vertices_;
    GLuint program_ = 0, vao_ = 0, vbo_ = 0, ibo_ = 0;
    GLint scaleAt_ = -1;
    unsigned texture_ = 0;
};

void BM_FullFieldFrameGl(benchmark::State& state) {
    const bool batched = state.range(0) != 0;
    CbenchEngine eng(RENDER_GL, batched);
    CfullField field;
    if (!startFullField(state, eng, field)) return;
    // ZORBEX_BENCH_RASTERISE draws numbers from rasterised lines, as before they came from glyph images.
    if (const char* off = getenv("ZORBEX_BENCH_RASTERISE"); off && *off) gEngine->fonts.composeNumbers = false;
    for (int i = 0; i < 60; ++i) playAndDraw(eng, field);   // every picture loaded, the field full
    // ZORBEX_BENCH_SHOT saves the next frame as a PNG, to compare builds by eye or pixel by pixel.
    if (const char* shot = getenv("ZORBEX_BENCH_SHOT"); shot && *shot) {
        field.topUp();
        field.step();
        Crenderer& r = gEngine->renderer;
        r.beginFrame();
        field.harness->world.session.draw();
        if (r.readPixels(0, 0, 1280, 720)) r.saveScreenshotPng(shot);
        eng.swap();
    }
    // The floor draws a copy of the next frame's quads.
    CfloorFrame floor;
    bool withFloor = false;
    if (batched) {
        field.topUp();
        field.step();
        Crenderer& r = gEngine->renderer;
        r.beginFrame();
        field.harness->world.session.draw();
        withFloor = floor.start(r.pendingVertices(), r.pendingQuads(), gEngine->textures.imageAtlas().pageId(0));
        r.flush();
        eng.swap();
    }
    double calls = 0, quads = 0, flushing = 0, wall = 0;
    std::vector<double> cpu, build, floorCpu, floorBuild;
    for (auto _ : state) {
        double flush = 0;
        const auto start = std::chrono::steady_clock::now();
        const double frame = playAndDraw(eng, field, &flush);
        state.SetIterationTime(frame);
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        flushing += flush;
        calls += gEngine->renderer.frameDrawCalls();
        quads += gEngine->renderer.frameQuads();
        cpu.push_back(frame);
        build.push_back(frame - flush);
        if (withFloor) {
            double floorBuilding = 0;
            floorCpu.push_back(floor.draw(gEngine->windowWidth, gEngine->windowHeight, &floorBuilding));
            floorBuild.push_back(floorBuilding);
            eng.swap();
        }
    }
    state.counters["cpuMs"] = median(cpu) * 1000.0;
    state.counters["buildMs"] = median(build) * 1000.0;
    if (withFloor && !floorCpu.empty()) {
        state.counters["floorCpuMs"] = median(floorCpu) * 1000.0;
        state.counters["floorBuildMs"] = median(floorBuild) * 1000.0;
        state.counters["cpuRatio"] = median(cpu) / std::max(median(floorCpu), 1e-9);
        state.counters["buildRatio"] = median(build) / std::max(median(floorBuild), 1e-9);
    }
    const double n = (double)state.iterations();
    state.counters["drawCalls"] = n > 0 ? calls / n : 0;
    state.counters["quads"] = n > 0 ? quads / n : 0;
    state.counters["flushMs"] = n > 0 ? flushing / n * 1000.0 : 0;
    // The whole frame as the player waits for it: a step of play, the drawing
    // and the swap, the rasteriser's threads included.
    state.counters["wallFrameMs"] = n > 0 ? wall / n * 1000.0 : 0;
}

void BM_FullFieldMemoryGl(benchmark::State& state) {
    const bool batched = state.range(0) != 0;
    CbenchEngine eng(RENDER_GL, batched);
    CfullField field;
    if (!startFullField(state, eng, field)) return;
    // ZORBEX_BENCH_FRAMES shortens the run; ZORBEX_BENCH_TRACE prints the
    // resident memory every 100 frames.
    const char* framesEnv = getenv("ZORBEX_BENCH_FRAMES");
    const int kFrames = framesEnv && atoi(framesEnv) > 0 ? atoi(framesEnv) : 10000, kSettled = 1000;
    const bool trace = getenv("ZORBEX_BENCH_TRACE") != nullptr;
    double atStart = residentMb(), atSettled = 0;
    for (auto _ : state) {
        for (int f = 1; f <= kFrames; ++f) {
            playAndDraw(eng, field);
            if (f == kSettled) atSettled = residentMb();
            if (trace && f % 100 == 0) fprintf(stderr, "frame %d: %.1f MB\n", f, residentMb());
        }
    }
    const double atEnd = residentMb();
    state.counters["rssStartMB"] = atStart;
    state.counters["rssFrame1000MB"] = atSettled;
    state.counters["rssFrame10000MB"] = atEnd;
    state.counters["growthAfter1000MB"] = atEnd - atSettled;
}
}  // namespace

BENCHMARK(BM_FullFieldFrameGl)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_FullFieldMemoryGl)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_MAIN();
