#pragma once
// CtestCaptureSource: a capture source for automated tests and test displays,
// where no desktop audio can be captured. It is chosen only by the
// environment variable ZORBEX_TEST_CAPTURE ("tone" for a steady tone, or the
// path of an audio file, decoded and looped), never by a setting a player
// can reach. While chosen it is the only capture source the system reports.
// It delivers in real time: a stretch of silence, then the sound, again and
// again, as a player who starts a track after the countdown has heard quiet.
#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "platform/audio/audioMixer.h"

class CtestCaptureSource {
public:
    using Csink = std::function<void(const float* frames, int count, int channels, int rate)>;
    static constexpr const char* kEnv = "ZORBEX_TEST_CAPTURE";
    static constexpr const char* kDeviceName = "Monitor of Zorbex test source";
    static constexpr int kRate = 48000, kChannels = 2;
    static constexpr double kSilenceSeconds = 1.5, kSoundSeconds = 8.0;

    // The environment's choice: empty when no test source is chosen.
    static std::string chosen();
    static CaudioDeviceInfo device();

    CtestCaptureSource() = default;
    ~CtestCaptureSource() { stop(); }
    CtestCaptureSource(const CtestCaptureSource&) = delete;
    CtestCaptureSource& operator=(const CtestCaptureSource&) = delete;

    // False (with the reason) when the chosen file cannot be decoded.
    bool start(Csink sink, std::string& error);
    void stop();
    bool running() const { return thread_.joinable(); }

private:
    void run(std::string what, Csink sink);
    std::thread thread_;
    std::atomic<bool> stop_{false};
};
