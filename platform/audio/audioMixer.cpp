#include "platform/audio/audioMixer.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
enum EchannelType { TYPE_SAMPLE = 0, TYPE_STREAM, TYPE_PUSH };
constexpr int kFeedFrames = 32768;   // decoded ahead: about 0.7 s
constexpr int kPushFrames = 65536;
}  // namespace

struct CaudioMixer::Csample {
    // At the mixer rate: interleaved stereo, or one value a frame where both
    // sides were the same throughout (most effects), which halves it.
    std::vector<float> pcm;
    size_t sides = 2;
    size_t frames() const { return pcm.size() / sides; }
    // Drops the right side when it equals the left, bit for bit.
    void foldEqualSides() {
        const size_t n = pcm.size() / 2;
        for (size_t i = 0; i < n; ++i)
            if (memcmp(&pcm[i * 2], &pcm[i * 2 + 1], sizeof(float)) != 0) return;
        for (size_t i = 0; i < n; ++i) pcm[i] = pcm[i * 2];
        pcm.resize(n);
        sides = 1;
    }
    int maxPlaybacks = 1;
    std::vector<HaudioChannel> channels;   // oldest first
};

// A ring of stereo frames between a producer (worker or pushData) and the mix.
struct CaudioMixer::Cfeed {
    std::mutex m;
    std::condition_variable cv;
    std::vector<float> ring;
    size_t capacity = 0, head = 0, count = 0;
    uint32_t generation = 0;
    bool eof = false, failed = false, connected = false, done = false;
    double seekTo = -1, duration = 0;
    std::string source, error;
    std::atomic<bool> quit{false};
    std::thread worker;
    CaudioDecoder decoder;   // the worker's own, but for its thread-safe metadata
    int outRate = 44100;
    int connectMs = 8000, readMs = 10000;
    bool opened = false;   // the decoder was opened before the worker started

    explicit Cfeed(size_t frames) : ring(frames * 2), capacity(frames) {}
    // Copies up to frames; called with m held.
    size_t take(float* out, size_t frames) {
        size_t n = std::min(frames, count);
        for (size_t i = 0; i < n; ++i) {
            size_t p = ((head + i) % capacity) * 2;
            out[i * 2] = ring[p];
            out[i * 2 + 1] = ring[p + 1];
        }
        head = (head + n) % capacity;
        count -= n;
        return n;
    }
    size_t put(const float* in, size_t frames, int channels) {
        size_t n = std::min(frames, capacity - count);
        for (size_t i = 0; i < n; ++i) {
            size_t p = ((head + count + i) % capacity) * 2;
            float l = in[i * channels];
            float r = channels > 1 ? in[i * channels + 1] : l;
            ring[p] = l;
            ring[p + 1] = r;
        }
        count += n;
        return n;
    }
    void clear() {
        head = count = 0;
    }
};

struct CaudioMixer::Cchannel {
    HaudioChannel id = 0;
    int type = TYPE_SAMPLE;
    EchannelState state = CHANNEL_STOPPED;   // what the program asked: stopped, playing or paused
    bool ended = false;
    bool started = false;   // play() was called at least once
    float volume = 1, pan = 0, rate = 1;
    HaudioSample sampleId = 0;
    std::shared_ptr<Csample> sample;
    double samplePos = 0;
    std::shared_ptr<Cfeed> feed;
    int pushChannels = 2;
    double basePosition = 0;
    uint64_t consumed = 0;
    std::vector<float> history = std::vector<float>(kHistoryFrames, 0.0f);
    size_t historyPos = 0, historyFill = 0;
};

CaudioMixer::CaudioMixer() = default;
CaudioMixer::~CaudioMixer() { shutdown(); }

bool CaudioMixer::init(const char* deviceName, int rate, int bufferFrames, bool manual, const char* driver) {
    shutdown();
    rate_ = rate > 0 ? rate : 44100;
    manual_ = manual;
    error_.clear();
    if (manual) {
        open_ = true;
        return true;
    }
    // SDL reads the driver hint as its audio starts; an override outranks
    // the SDL_AUDIODRIVER environment variable.
    if (driver) SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, driver, SDL_HINT_OVERRIDE);
    int initRc = SDL_InitSubSystem(SDL_INIT_AUDIO);
    if (initRc != 0) error_ = SDL_GetError();
    if (driver) SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    if (initRc != 0) return false;
    sdlInit_ = true;
    SDL_AudioSpec want{}, have{};
    want.freq = rate_;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = (Uint16)std::clamp(bufferFrames, 256, 8192);
    want.callback = &CaudioMixer::sdlCallback;
    want.userdata = this;
    device_ = SDL_OpenAudioDevice(deviceName, 0, &want, &have, 0);
    if (!device_) {
        error_ = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        sdlInit_ = false;
        return false;
    }
    open_ = true;
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

std::string CaudioMixer::driverName() const {
    if (!open_ || manual_) return {};
    const char* d = SDL_GetCurrentAudioDriver();
    return d ? d : "";
}

void CaudioMixer::shutdown() {
    if (device_) {
        SDL_CloseAudioDevice(device_);
        device_ = 0;
    }
    std::vector<std::unique_ptr<Cchannel>> gone;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (auto& kv : channels_) gone.push_back(std::move(kv.second));
        channels_.clear();
        samples_.clear();
    }
    for (auto& c : gone) retire(std::move(c));
    reapWorkers(true);
    if (sdlInit_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    sdlInit_ = false;
    open_ = false;
}

std::vector<CaudioDeviceInfo> CaudioMixer::outputDevices() {
    std::vector<CaudioDeviceInfo> out;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return out;
    char* defName = nullptr;
    SDL_AudioSpec defSpec{};
    bool haveDefault = SDL_GetDefaultAudioInfo(&defName, &defSpec, 0) == 0;
    int n = SDL_GetNumAudioDevices(0);
    for (int i = 0; i < n; ++i) {
        CaudioDeviceInfo d;
        d.id = i;
        const char* name = SDL_GetAudioDeviceName(i, 0);
        d.name = name ? name : "";
        SDL_AudioSpec spec{};
        if (SDL_GetAudioDeviceSpec(i, 0, &spec) == 0) {
            d.channels = spec.channels;
            d.rate = spec.freq;
        }
        d.isDefault = haveDefault && defName && d.name == defName;
        out.push_back(d);
    }
    if (defName) SDL_free(defName);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return out;
}

void CaudioMixer::sdlCallback(void* self, uint8_t* stream, int len) {
    ((CaudioMixer*)self)->mix((float*)stream, len / (int)(2 * sizeof(float)));
}

int CaudioMixer::fillChannel(Cchannel& c, float* buf, int frames) {
    int got = 0;
    if (c.type == TYPE_SAMPLE) {
        const std::vector<float>& pcm = c.sample->pcm;
        // A folded sample reads its one value for both sides.
        const size_t ch = c.sample->sides, right = ch - 1;
        size_t total = c.sample->frames();
        double step = c.rate > 0 ? c.rate : 1.0;
        for (; got < frames; ++got) {
            size_t i0 = (size_t)c.samplePos;
            if (i0 + 1 >= total) {
                if (i0 < total) {
                    buf[got * 2] = pcm[i0 * ch];
                    buf[got * 2 + 1] = pcm[i0 * ch + right];
                    c.samplePos += step;
                    ++got;
                }
                c.ended = true;
                break;
            }
            float f = (float)(c.samplePos - (double)i0);
            const float* a = &pcm[i0 * ch];
            const float* b = a + ch;
            buf[got * 2] = a[0] + (b[0] - a[0]) * f;
            buf[got * 2 + 1] = a[right] + (b[right] - a[right]) * f;
            c.samplePos += step;
        }
    } else {
        Cfeed& f = *c.feed;
        std::lock_guard<std::mutex> lock(f.m);
        got = (int)f.take(buf, (size_t)frames);
        if (got < frames && c.type == TYPE_STREAM && f.eof) c.ended = true;
        f.cv.notify_all();
        c.consumed += (uint64_t)got;
    }
    return got;
}

void CaudioMixer::mix(float* out, int frames) {
    std::fill(out, out + (size_t)frames * 2, 0.0f);
    std::lock_guard<std::mutex> lock(mutex_);
    if ((int)mixTemp_.size() < frames * 2) mixTemp_.resize((size_t)frames * 2);
    float* tmp = mixTemp_.data();
    for (auto& kv : channels_) {
        Cchannel& c = *kv.second;
        if (c.state != CHANNEL_PLAYING || c.ended) continue;
        int got = fillChannel(c, tmp, frames);
        if (c.ended) c.state = CHANNEL_STOPPED;
        float gl = c.volume * (c.pan > 0 ? 1.0f - c.pan : 1.0f);
        float gr = c.volume * (c.pan < 0 ? 1.0f + c.pan : 1.0f);
        for (int i = 0; i < got; ++i) {
            float l = tmp[i * 2], r = tmp[i * 2 + 1];
            c.history[c.historyPos] = 0.5f * (l + r);
            c.historyPos = (c.historyPos + 1) % kHistoryFrames;
            out[i * 2] += l * gl;
            out[i * 2 + 1] += r * gr;
        }
        c.historyFill = std::min<size_t>(kHistoryFrames, c.historyFill + (size_t)got);
    }
    for (int i = 0; i < frames * 2; ++i) out[i] = std::clamp(out[i], -1.0f, 1.0f);
}

CaudioMixer::Cchannel* CaudioMixer::find(HaudioChannel h) const {
    auto it = channels_.find(h);
    return it == channels_.end() ? nullptr : it->second.get();
}

HaudioChannel CaudioMixer::addChannel(std::unique_ptr<Cchannel> c) {
    std::lock_guard<std::mutex> lock(mutex_);
    HaudioChannel id = nextId_++;
    if (nextId_ == 0) nextId_ = 1;
    c->id = id;
    channels_[id] = std::move(c);
    return id;
}

void CaudioMixer::retire(std::unique_ptr<Cchannel> c) {
    if (!c || !c->feed) return;
    std::shared_ptr<Cfeed> f = c->feed;
    f->quit = true;
    {
        std::lock_guard<std::mutex> lock(f->m);
        f->cv.notify_all();
    }
    // The worker may sit in a network wait: it ends on its own; join later.
    if (f->worker.joinable()) dying_.push_back(f);
}

void CaudioMixer::reapWorkers(bool wait) {
    for (auto it = dying_.begin(); it != dying_.end();) {
        bool done;
        {
            std::lock_guard<std::mutex> lock((*it)->m);
            done = (*it)->done;
        }
        if (done || wait) {
            if ((*it)->worker.joinable()) (*it)->worker.join();
            it = dying_.erase(it);
        } else {
            ++it;
        }
    }
}

HaudioSample CaudioMixer::loadSample(const std::string& path, int maxPlaybacks) {
    CaudioDecoder d;
    CaudioDecoder::Coptions o;
    o.outRate = rate_;
    // Samples may be decoded off the main thread: the error is set under the lock.
    if (!d.open(path, o)) {
        std::lock_guard<std::mutex> lock(mutex_);
        error_ = d.lastError();
        return 0;
    }
    auto s = std::make_shared<Csample>();
    s->maxPlaybacks = std::max(1, maxPlaybacks);
    std::vector<float> block(4096 * 2);
    for (;;) {
        int n = d.read(block.data(), 4096);
        if (n < 0) {
            std::lock_guard<std::mutex> lock(mutex_);
            error_ = d.lastError();
            return 0;
        }
        if (n == 0) break;
        s->pcm.insert(s->pcm.end(), block.begin(), block.begin() + n * 2);
    }
    // Kept for the whole game: without the room left by its growth.
    s->foldEqualSides();
    s->pcm.shrink_to_fit();
    std::lock_guard<std::mutex> lock(mutex_);
    HaudioSample id = nextId_++;
    samples_[id] = s;
    return id;
}

void CaudioMixer::freeSample(HaudioSample sample) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = samples_.find(sample);
    if (it == samples_.end()) return;
    for (HaudioChannel h : it->second->channels) channels_.erase(h);
    samples_.erase(it);
}

double CaudioMixer::sampleLength(HaudioSample sample) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = samples_.find(sample);
    return it == samples_.end() ? 0.0 : (double)it->second->frames() / rate_;
}

HaudioChannel CaudioMixer::sampleChannel(HaudioSample sample) {
    std::shared_ptr<Csample> s;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = samples_.find(sample);
        if (it == samples_.end()) return 0;
        s = it->second;
        // Drop the channels that have ended; take over the oldest when full.
        for (auto ch = s->channels.begin(); ch != s->channels.end();) {
            Cchannel* c = find(*ch);
            if (!c || c->ended || (c->started && c->state == CHANNEL_STOPPED)) {
                if (c) channels_.erase(*ch);
                ch = s->channels.erase(ch);
            } else {
                ++ch;
            }
        }
        while ((int)s->channels.size() >= s->maxPlaybacks) {
            channels_.erase(s->channels.front());
            s->channels.erase(s->channels.begin());
        }
    }
    auto c = std::make_unique<Cchannel>();
    c->type = TYPE_SAMPLE;
    c->sample = s;
    c->sampleId = sample;
    HaudioChannel h = addChannel(std::move(c));
    std::lock_guard<std::mutex> lock(mutex_);
    s->channels.push_back(h);
    return h;
}

void CaudioMixer::workerMain(std::shared_ptr<Cfeed> f) {
    CaudioDecoder::Coptions o;
    o.outRate = f->outRate;
    o.connectTimeoutMs = f->connectMs;
    o.readTimeoutMs = f->readMs;
    Cfeed* raw = f.get();
    o.cancel = [raw] { return raw->quit.load(); };
    if (!f->opened && !f->decoder.open(f->source, o)) {
        std::lock_guard<std::mutex> lock(f->m);
        f->failed = true;
        f->error = f->decoder.lastError();
        f->done = true;
        return;
    }
    {
        std::lock_guard<std::mutex> lock(f->m);
        f->connected = true;
        f->duration = f->decoder.duration();
    }
    std::vector<float> block(2048 * 2);
    while (!f->quit) {
        uint32_t gen;
        {
            std::unique_lock<std::mutex> lock(f->m);
            if (f->seekTo >= 0) {
                double t = f->seekTo;
                f->seekTo = -1;
                lock.unlock();
                f->decoder.seek(t);
                lock.lock();
            }
            gen = f->generation;
        }
        int n = f->decoder.read(block.data(), 2048);
        std::unique_lock<std::mutex> lock(f->m);
        if (n <= 0) {
            if (gen != f->generation) continue;   // a seek came in meanwhile
            if (n < 0) {
                f->failed = true;
                f->error = f->decoder.lastError();
            }
            f->eof = true;
            // Stay for a seek back into the file; leave on quit.
            f->cv.wait(lock, [&] { return f->quit || f->seekTo >= 0; });
            if (f->seekTo >= 0) f->eof = f->failed = false;
            continue;
        }
        size_t done = 0;
        while (done < (size_t)n && !f->quit && gen == f->generation) {
            done += f->put(block.data() + done * 2, (size_t)n - done, 2);
            if (done < (size_t)n)
                f->cv.wait_for(lock, std::chrono::milliseconds(50),
                               [&] { return f->quit || gen != f->generation || f->count < f->capacity; });
        }
    }
    std::lock_guard<std::mutex> lock(f->m);
    f->done = true;
}

HaudioChannel CaudioMixer::streamFile(const std::string& path) {
    reapWorkers(false);
    auto f = std::make_shared<Cfeed>(kFeedFrames);
    f->outRate = rate_;
    f->source = path;
    CaudioDecoder::Coptions o;
    o.outRate = rate_;
    if (!f->decoder.open(path, o)) {
        error_ = f->decoder.lastError();
        return 0;
    }
    f->opened = true;
    f->duration = f->decoder.duration();
    auto c = std::make_unique<Cchannel>();
    c->type = TYPE_STREAM;
    c->feed = f;
    f->worker = std::thread(&CaudioMixer::workerMain, f);
    return addChannel(std::move(c));
}

HaudioChannel CaudioMixer::streamUrl(const std::string& url, int connectTimeoutMs, int readTimeoutMs) {
    reapWorkers(false);
    auto f = std::make_shared<Cfeed>(kFeedFrames);
    f->outRate = rate_;
    f->source = url;
    f->connectMs = connectTimeoutMs;
    f->readMs = readTimeoutMs;
    auto c = std::make_unique<Cchannel>();
    c->type = TYPE_STREAM;
    c->feed = f;
    f->worker = std::thread(&CaudioMixer::workerMain, f);
    return addChannel(std::move(c));
}

HaudioChannel CaudioMixer::streamPush(int channels) {
    auto f = std::make_shared<Cfeed>(kPushFrames);
    f->connected = true;
    auto c = std::make_unique<Cchannel>();
    c->type = TYPE_PUSH;
    c->pushChannels = channels == 1 ? 1 : 2;
    c->feed = f;
    return addChannel(std::move(c));
}

int CaudioMixer::pushData(HaudioChannel h, const float* interleaved, int frames) {
    std::shared_ptr<Cfeed> f;
    int ch;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Cchannel* c = find(h);
        if (!c || c->type != TYPE_PUSH || frames <= 0) return 0;
        f = c->feed;
        ch = c->pushChannels;
    }
    std::lock_guard<std::mutex> lock(f->m);
    return (int)f->put(interleaved, (size_t)frames, ch);
}

bool CaudioMixer::play(HaudioChannel h, bool restart) {
    std::shared_ptr<Cfeed> seekFeed;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Cchannel* c = find(h);
        if (!c) return false;
        if (restart || c->ended) {
            if (c->type == TYPE_SAMPLE) {
                c->samplePos = 0;
            } else if (c->type == TYPE_STREAM && c->feed->duration > 0) {
                seekFeed = c->feed;
                c->basePosition = 0;
                c->consumed = 0;
            }
            c->ended = false;
        }
        c->state = CHANNEL_PLAYING;
        c->started = true;
    }
    if (seekFeed) {
        std::lock_guard<std::mutex> lock(seekFeed->m);
        seekFeed->seekTo = 0;
        ++seekFeed->generation;
        seekFeed->clear();
        seekFeed->eof = false;
        seekFeed->cv.notify_all();
    }
    return true;
}

bool CaudioMixer::pause(HaudioChannel h) {
    std::lock_guard<std::mutex> lock(mutex_);
    Cchannel* c = find(h);
    if (!c) return false;
    if (c->state == CHANNEL_PLAYING) c->state = CHANNEL_PAUSED;
    return true;
}

bool CaudioMixer::stop(HaudioChannel h) {
    std::lock_guard<std::mutex> lock(mutex_);
    Cchannel* c = find(h);
    if (!c) return false;
    c->state = CHANNEL_STOPPED;
    return true;
}

void CaudioMixer::freeChannel(HaudioChannel h) {
    std::unique_ptr<Cchannel> gone;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = channels_.find(h);
        if (it == channels_.end()) return;
        gone = std::move(it->second);
        channels_.erase(it);
        if (gone->sample) {
            auto& v = gone->sample->channels;
            v.erase(std::remove(v.begin(), v.end(), h), v.end());
        }
    }
    retire(std::move(gone));
    reapWorkers(false);
}

EchannelState CaudioMixer::state(HaudioChannel h) const {
    std::lock_guard<std::mutex> lock(mutex_);
    Cchannel* c = find(h);
    if (!c) return CHANNEL_STOPPED;
    if (c->feed && c->type == TYPE_STREAM) {
        std::lock_guard<std::mutex> fl(c->feed->m);
        if (c->feed->failed && c->feed->count == 0) return CHANNEL_FAILED;
        // Paused before its decoder has connected, a stream is paused, not coming.
        if (!c->feed->connected) return c->state == CHANNEL_PAUSED ? CHANNEL_PAUSED : CHANNEL_CONNECTING;
        if (c->state == CHANNEL_PLAYING && !c->ended && c->feed->count == 0 && !c->feed->eof) return CHANNEL_STALLED;
    } else if (c->feed && c->type == TYPE_PUSH && c->state == CHANNEL_PLAYING) {
        std::lock_guard<std::mutex> fl(c->feed->m);
        if (c->feed->count == 0) return CHANNEL_STALLED;
    }
    if (c->ended) return CHANNEL_STOPPED;
    return c->state;
}

bool CaudioMixer::exists(HaudioChannel h) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return find(h) != nullptr;
}

bool CaudioMixer::setAttribute(HaudioChannel h, EaudioAttrib a, float value) {
    std::lock_guard<std::mutex> lock(mutex_);
    Cchannel* c = find(h);
    if (!c || !std::isfinite(value)) return false;
    switch (a) {
    case AUDIO_VOLUME: c->volume = std::clamp(value, 0.0f, 4.0f); break;
    case AUDIO_PAN: c->pan = std::clamp(value, -1.0f, 1.0f); break;
    case AUDIO_RATE: c->rate = std::clamp(value, 0.05f, 8.0f); break;
    default: return false;
    }
    return true;
}

float CaudioMixer::attribute(HaudioChannel h, EaudioAttrib a) const {
    std::lock_guard<std::mutex> lock(mutex_);
    Cchannel* c = find(h);
    if (!c) return 0;
    return a == AUDIO_VOLUME ? c->volume : a == AUDIO_PAN ? c->pan : c->rate;
}

double CaudioMixer::position(HaudioChannel h) const {
    std::lock_guard<std::mutex> lock(mutex_);
    Cchannel* c = find(h);
    if (!c) return 0;
    if (c->type == TYPE_SAMPLE) return c->samplePos / rate_;
    return c->basePosition + (double)c->consumed / rate_;
}

bool CaudioMixer::setPosition(HaudioChannel h, double seconds) {
    std::shared_ptr<Cfeed> f;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Cchannel* c = find(h);
        if (!c || !std::isfinite(seconds)) return false;
        seconds = std::max(0.0, seconds);
        if (c->type == TYPE_SAMPLE) {
            c->samplePos = seconds * rate_;
            c->ended = false;
            return true;
        }
        if (c->type != TYPE_STREAM || c->feed->duration <= 0) return false;
        seconds = std::min(seconds, c->feed->duration);
        c->basePosition = seconds;
        c->consumed = 0;
        c->ended = false;
        f = c->feed;
    }
    std::lock_guard<std::mutex> lock(f->m);
    f->seekTo = seconds;
    ++f->generation;
    f->clear();
    f->eof = false;
    f->cv.notify_all();
    return true;
}

double CaudioMixer::length(HaudioChannel h) const {
    std::lock_guard<std::mutex> lock(mutex_);
    Cchannel* c = find(h);
    if (!c) return 0;
    if (c->type == TYPE_SAMPLE) return (double)c->sample->frames() / rate_;
    if (c->type == TYPE_STREAM) {
        std::lock_guard<std::mutex> fl(c->feed->m);
        return c->feed->duration;
    }
    return 0;
}

int CaudioMixer::getData(HaudioChannel h, float* mono, int frames) const {
    std::lock_guard<std::mutex> lock(mutex_);
    Cchannel* c = find(h);
    if (!c || frames <= 0) return 0;
    int n = (int)std::min<size_t>((size_t)std::min(frames, kHistoryFrames), c->historyFill);
    size_t start = (c->historyPos + kHistoryFrames - (size_t)n) % kHistoryFrames;
    for (int i = 0; i < n; ++i) mono[i] = c->history[(start + (size_t)i) % kHistoryFrames];
    return n;
}

int CaudioMixer::getFft(HaudioChannel h, float* bins, int fftSize) {
    if (fftSize > kHistoryFrames || !fft_.setSize(fftSize)) return 0;
    fftIn_.assign((size_t)fftSize, 0.0f);
    int got = getData(h, fftIn_.data(), fftSize);
    if (got < fftSize) {   // right-align what has played so far
        std::move_backward(fftIn_.begin(), fftIn_.begin() + got, fftIn_.end());
        std::fill(fftIn_.begin(), fftIn_.end() - got, 0.0f);
    }
    fft_.magnitudes(fftIn_.data(), bins);
    return fftSize / 2;
}

std::string CaudioMixer::streamTitle(HaudioChannel h) const {
    std::lock_guard<std::mutex> lock(mutex_);
    Cchannel* c = find(h);
    return c && c->feed && c->type == TYPE_STREAM ? c->feed->decoder.streamTitle() : std::string();
}

uint32_t CaudioMixer::titleSerial(HaudioChannel h) const {
    std::lock_guard<std::mutex> lock(mutex_);
    Cchannel* c = find(h);
    return c && c->feed && c->type == TYPE_STREAM ? c->feed->decoder.titleSerial() : 0;
}

std::string CaudioMixer::stationName(HaudioChannel h) const {
    std::lock_guard<std::mutex> lock(mutex_);
    Cchannel* c = find(h);
    return c && c->feed && c->type == TYPE_STREAM ? c->feed->decoder.stationName() : std::string();
}

std::string CaudioMixer::error(HaudioChannel h) const {
    std::lock_guard<std::mutex> lock(mutex_);
    Cchannel* c = find(h);
    if (!c || !c->feed) return {};
    std::lock_guard<std::mutex> fl(c->feed->m);
    return c->feed->error;
}

size_t CaudioMixer::channelCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return channels_.size();
}
