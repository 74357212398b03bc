#include "platform/audio/audioCapture.h"

#include <SDL.h>

#include <algorithm>

namespace {
const CcaptureFake* gFake = nullptr;

std::string lowerAscii(std::string s) {
    for (auto& c : s) c = (char)tolower((unsigned char)c);
    return s;
}
}  // namespace

int CaudioCapture::kindOfName(const std::string& name) {
    std::string l = lowerAscii(name);
    if (l.rfind("monitor of", 0) == 0 || l.find(".monitor") != std::string::npos) return CAPTURE_DESKTOP;
    if (l.find("line") != std::string::npos) return CAPTURE_LINE_IN;
    return CAPTURE_MICROPHONE;
}

void CaudioCapture::setFake(const CcaptureFake* fake) { gFake = fake; }

std::vector<CaudioDeviceInfo> CaudioCapture::devices() {
    if (gFake) return gFake->devices;
    if (!CtestCaptureSource::chosen().empty()) return {CtestCaptureSource::device()};
    std::vector<CaudioDeviceInfo> out;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return out;
    char* defCapture = nullptr;
    SDL_AudioSpec spec{};
    if (SDL_GetDefaultAudioInfo(&defCapture, &spec, 1) != 0) defCapture = nullptr;
    char* defOutput = nullptr;
    if (SDL_GetDefaultAudioInfo(&defOutput, &spec, 0) != 0) defOutput = nullptr;
    std::string monitorOfDefault = defOutput ? std::string("Monitor of ") + defOutput : std::string();
    int n = SDL_GetNumAudioDevices(1);
    for (int i = 0; i < n; ++i) {
        CaudioDeviceInfo d;
        d.id = i;
        const char* name = SDL_GetAudioDeviceName(i, 1);
        d.name = name ? name : "";
        d.kind = kindOfName(d.name);
        SDL_AudioSpec s{};
        if (SDL_GetAudioDeviceSpec(i, 1, &s) == 0) {
            d.channels = s.channels;
            d.rate = s.freq;
        }
        d.isDefault = d.kind == CAPTURE_DESKTOP ? (!monitorOfDefault.empty() && d.name == monitorOfDefault)
                                                : (defCapture && d.name == defCapture);
        out.push_back(d);
    }
    if (defCapture) SDL_free(defCapture);
    if (defOutput) SDL_free(defOutput);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return out;
}

int CaudioCapture::defaultOfKind(const std::vector<CaudioDeviceInfo>& list, int kind) {
    int first = -1;
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i].kind != kind) continue;
        if (list[i].isDefault) return (int)i;
        if (first < 0) first = (int)i;
    }
    return first;
}

bool CaudioCapture::start(const std::string& deviceName, Csink sink) {
    stop();
    error_.clear();
    if (gFake) {
        const CaudioDeviceInfo* found = nullptr;
        for (const auto& d : gFake->devices)
            if (d.name == deviceName) found = &d;
        bool fails = std::find(gFake->failing.begin(), gFake->failing.end(), deviceName) != gFake->failing.end();
        if (!found || fails) {
            error_ = found ? "the device failed to start" : "no such device";
            return false;
        }
        rate_ = found->rate > 0 ? found->rate : 48000;
        channels_ = found->channels > 0 ? found->channels : 2;
        fakeRunning_ = true;
        return true;
    }
    if (!CtestCaptureSource::chosen().empty()) {
        if (deviceName != CtestCaptureSource::kDeviceName) {
            error_ = "no such device";
            return false;
        }
        if (!testSource_.start(std::move(sink), error_)) return false;
        rate_ = CtestCaptureSource::kRate;
        channels_ = CtestCaptureSource::kChannels;
        return true;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        error_ = SDL_GetError();
        return false;
    }
    sdlInit_ = true;
    {
        std::lock_guard<std::mutex> lock(sinkMutex_);
        sink_ = std::move(sink);
    }
    SDL_AudioSpec want{}, have{};
    want.freq = 48000;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = &CaudioCapture::sdlCallback;
    want.userdata = this;
    device_ = SDL_OpenAudioDevice(deviceName.empty() ? nullptr : deviceName.c_str(), 1, &want, &have,
                                  SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
    if (!device_) {
        error_ = SDL_GetError();
        if (error_.empty()) error_ = "can't open capture device";
        stop();
        return false;
    }
    rate_ = have.freq;
    channels_ = have.channels;
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

bool CaudioCapture::alive() const {
    if (fakeRunning_ || testSource_.running()) return true;
    return device_ && SDL_GetAudioDeviceStatus(device_) != SDL_AUDIO_STOPPED;
}

void CaudioCapture::stop() {
    fakeRunning_ = false;
    testSource_.stop();
    if (device_) SDL_CloseAudioDevice(device_);   // waits for the callback to finish
    device_ = 0;
    {
        std::lock_guard<std::mutex> lock(sinkMutex_);
        sink_ = nullptr;
    }
    if (sdlInit_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    sdlInit_ = false;
}

void CaudioCapture::sdlCallback(void* self, uint8_t* stream, int len) {
    auto* c = (CaudioCapture*)self;
    std::lock_guard<std::mutex> lock(c->sinkMutex_);
    if (!c->sink_ || c->channels_ <= 0) return;
    int frames = len / (int)(sizeof(float) * c->channels_);
    c->sink_((const float*)stream, frames, c->channels_, c->rate_);
}
