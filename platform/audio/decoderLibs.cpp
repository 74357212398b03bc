#include "platform/audio/decoderLibs.h"

#include <dlfcn.h>

#include <mutex>
#include <thread>

namespace {
enum Elib { AVUTIL, SWRESAMPLE, AVCODEC, AVFORMAT, LIB_COUNT };

// The sonames of the versions the headers describe; dependencies first.
std::string sonameOf(Elib lib) {
    switch (lib) {
    case AVUTIL: return "libavutil.so." AV_STRINGIFY(LIBAVUTIL_VERSION_MAJOR);
    case SWRESAMPLE: return "libswresample.so." AV_STRINGIFY(LIBSWRESAMPLE_VERSION_MAJOR);
    case AVCODEC: return "libavcodec.so." AV_STRINGIFY(LIBAVCODEC_VERSION_MAJOR);
    default: return "libavformat.so." AV_STRINGIFY(LIBAVFORMAT_VERSION_MAJOR);
    }
}

void load(CdecoderLibs& t) {
    void* handles[LIB_COUNT] = {};
    for (int i = 0; i < LIB_COUNT; ++i) {
        const std::string name = sonameOf((Elib)i);
        // Kept open for the rest of the program.
        handles[i] = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handles[i]) {
            const char* why = dlerror();
            t.error = "can't open " + name + (why ? std::string(": ") + why : std::string());
            return;
        }
    }
    bool missing = false;
#define ZX_DECODER_FIND(lib, name)                                                                                  \
    if (!missing) {                                                                                                 \
        t.name = reinterpret_cast<decltype(t.name)>(dlsym(handles[lib], #name));                                    \
        if (!t.name) {                                                                                              \
            t.error = "can't find " #name " in " + sonameOf(lib);                                                   \
            missing = true;                                                                                         \
        }                                                                                                           \
    }
    ZX_DECODER_FUNCTIONS(ZX_DECODER_FIND)
#undef ZX_DECODER_FIND
    if (missing) return;
    // Faults come back through the decoder's own errors; FFmpeg's chatter stays off the console.
    t.av_log_set_level(AV_LOG_FATAL);
    t.ok = true;
}

CdecoderLibs gLibs;
std::once_flag gLoaded;

// The preloading thread, joined when the program ends.
struct Cpreloader {
    std::mutex mutex;
    std::thread thread;
    ~Cpreloader() {
        if (thread.joinable()) thread.join();
    }
};
Cpreloader gPreloader;
}  // namespace

const CdecoderLibs& decoderLibs() {
    std::call_once(gLoaded, [] { load(gLibs); });
    return gLibs;
}

void preloadDecoderLibs() {
    std::lock_guard<std::mutex> lock(gPreloader.mutex);
    if (gPreloader.thread.joinable()) return;
    gPreloader.thread = std::thread([] { decoderLibs(); });
}
