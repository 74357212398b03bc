#include "platform/audio/testCaptureSource.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/audio/audioDecoder.h"

namespace {
constexpr int kBlockFrames = 1024;
constexpr float kToneHz = 440.0f, kToneLevel = 0.5f;

CaudioDecoder::Coptions decoderOptions() {
    CaudioDecoder::Coptions o;
    o.outRate = CtestCaptureSource::kRate;
    o.outChannels = CtestCaptureSource::kChannels;
    return o;
}
}  // namespace

std::string CtestCaptureSource::chosen() {
    const char* env = std::getenv(kEnv);
    return env ? env : "";
}

CaudioDeviceInfo CtestCaptureSource::device() {
    CaudioDeviceInfo d;
    d.id = 0;
    d.kind = 0;   // desktop loopback
    d.name = kDeviceName;
    d.channels = kChannels;
    d.rate = kRate;
    d.isDefault = true;
    return d;
}

bool CtestCaptureSource::start(Csink sink, std::string& error) {
    stop();
    std::string what = chosen();
    if (what.empty()) {
        error = "no test capture source chosen";
        return false;
    }
    if (what != "tone") {
        CaudioDecoder probe;
        if (!probe.open(what, decoderOptions())) {
            error = "can't decode " + what + ": " + probe.lastError();
            return false;
        }
    }
    stop_ = false;
    thread_ = std::thread(&CtestCaptureSource::run, this, what, std::move(sink));
    return true;
}

void CtestCaptureSource::stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

void CtestCaptureSource::run(std::string what, Csink sink) {
    std::unique_ptr<CaudioDecoder> file;
    if (what != "tone") {
        file = std::make_unique<CaudioDecoder>();
        if (!file->open(what, decoderOptions())) return;
    }
    std::vector<float> block((size_t)kBlockFrames * kChannels);
    const auto begin = std::chrono::steady_clock::now();
    const double cycle = kSilenceSeconds + kSoundSeconds;
    int64_t sent = 0;   // frames delivered
    double phase = 0;
    while (!stop_) {
        const double at = (double)sent / kRate;
        // Real time: a block is handed over once it has been "heard".
        std::this_thread::sleep_until(begin + std::chrono::microseconds((int64_t)((at + (double)kBlockFrames / kRate) * 1e6)));
        if (std::fmod(at, cycle) < kSilenceSeconds) {
            std::fill(block.begin(), block.end(), 0.0f);
        } else if (file) {
            int got = 0;
            bool rewound = false;
            while (got < kBlockFrames && !stop_) {
                int n = file->read(block.data() + (size_t)got * kChannels, kBlockFrames - got);
                if (n > 0) {
                    got += n;
                    rewound = false;
                } else if (n < 0 || rewound || !file->seek(0)) {   // a broken or empty file is heard as silence
                    std::fill(block.begin() + (long)got * kChannels, block.end(), 0.0f);
                    break;
                } else {
                    rewound = true;   // looped
                }
            }
        } else {
            for (int i = 0; i < kBlockFrames; ++i) {
                float v = kToneLevel * (float)std::sin(phase);
                phase = std::fmod(phase + 2.0 * M_PI * kToneHz / kRate, 2.0 * M_PI);
                for (int c = 0; c < kChannels; ++c) block[(size_t)i * kChannels + (size_t)c] = v;
            }
        }
        sink(block.data(), kBlockFrames, kChannels, kRate);
        sent += kBlockFrames;
    }
}
