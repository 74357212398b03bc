#pragma once
// CaudioCapture: live audio from an SDL capture device. On PulseAudio and
// PipeWire the "Monitor of ..." sources carry what the desktop plays, which
// serves as desktop loopback; other sources are line-ins or microphones.
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/audio/audioMixer.h"
#include "platform/audio/testCaptureSource.h"

enum EcaptureKind { CAPTURE_DESKTOP = 0, CAPTURE_LINE_IN = 1, CAPTURE_MICROPHONE = 2 };

// Stands in for the system's capture devices: the list they report and the
// names that fail to start. A started stand-in delivers nothing.
struct CcaptureFake {
    std::vector<CaudioDeviceInfo> devices;
    std::vector<std::string> failing;
};

class CaudioCapture {
public:
    // Called on the capture thread with interleaved float frames.
    using Csink = std::function<void(const float* frames, int count, int channels, int rate)>;

    CaudioCapture() = default;
    ~CaudioCapture() { stop(); }
    CaudioCapture(const CaudioCapture&) = delete;
    CaudioCapture& operator=(const CaudioCapture&) = delete;

    // Every capture source with its kind; ids are the system's capture indices.
    static std::vector<CaudioDeviceInfo> devices();
    // While set (not owned), devices and start go to the stand-in.
    static void setFake(const CcaptureFake* fake);
    static int kindOfName(const std::string& name);
    // The default device of a kind from a list, or -1 (an index into the list).
    static int defaultOfKind(const std::vector<CaudioDeviceInfo>& list, int kind);

    // Opens the named source (empty: the system default) and starts delivering.
    bool start(const std::string& deviceName, Csink sink);
    void stop();
    bool running() const { return device_ != 0 || fakeRunning_ || testSource_.running(); }
    // False once a running device has stopped by itself (unplugged, lost).
    bool alive() const;
    int rate() const { return rate_; }
    int channels() const { return channels_; }
    const std::string& lastError() const { return error_; }

private:
    static void sdlCallback(void* self, uint8_t* stream, int len);
    uint32_t device_ = 0;
    bool fakeRunning_ = false;
    CtestCaptureSource testSource_;
    int rate_ = 0, channels_ = 0;
    bool sdlInit_ = false;
    std::mutex sinkMutex_;
    Csink sink_;
    std::string error_;
};
