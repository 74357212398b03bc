#pragma once
// CaudioMixer: the program's audio output. It opens one SDL output device and
// mixes channels into it: in-memory samples (sound effects), file and URL
// streams decoded by a worker thread each, and push streams fed by the
// program (captured audio). Channels are numbered handles; 0 is none.
// Every call is made from the main thread; the device callback and the
// stream workers meet the main thread only through the locks inside.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio/audioDecoder.h"
#include "platform/audio/fft.h"

using HaudioChannel = uint32_t;
using HaudioSample = uint32_t;

enum EaudioAttrib { AUDIO_VOLUME = 0, AUDIO_PAN = 1, AUDIO_RATE = 2 };

enum EchannelState {
    CHANNEL_STOPPED = 0,   // never started, stopped, ended, or no such channel
    CHANNEL_PLAYING,
    CHANNEL_PAUSED,
    CHANNEL_STALLED,       // playing but waiting for data
    CHANNEL_CONNECTING,    // a URL stream still opening
    CHANNEL_FAILED,        // a stream that could not open or broke off
};

struct CaudioDeviceInfo {
    int id = -1;        // index in the system's list of its kind
    int kind = 0;       // output devices: 0; capture: 0 desktop loopback, 1 line-in, 2 microphone
    std::string name;
    int channels = 0;
    int rate = 0;
    bool isDefault = false;
};

class CaudioMixer {
public:
    static constexpr int kHistoryFrames = 16384;

    CaudioMixer();
    ~CaudioMixer();
    CaudioMixer(const CaudioMixer&) = delete;
    CaudioMixer& operator=(const CaudioMixer&) = delete;

    // Opens an output device (null: the system's default). With manual set no
    // device is opened: the owner calls mix() itself (tools and tests). A
    // driver name picks SDL's audio driver whatever the environment says
    // ("dummy": no sound, but the device's clock and callback run).
    bool init(const char* deviceName, int rate = 44100, int bufferFrames = 1024, bool manual = false,
              const char* driver = nullptr);
    void shutdown();
    bool isOpen() const { return open_; }
    int rate() const { return rate_; }
    const std::string& lastError() const { return error_; }
    // SDL's audio driver in use, or "" when no device is open.
    std::string driverName() const;
    static std::vector<CaudioDeviceInfo> outputDevices();

    // Mixes every playing channel into frames of interleaved stereo.
    void mix(float* out, int frames);

    // Samples: decoded whole into memory. maxPlaybacks channels at once; a
    // further playback takes over the oldest.
    HaudioSample loadSample(const std::string& path, int maxPlaybacks = 1);
    void freeSample(HaudioSample sample);
    double sampleLength(HaudioSample sample) const;
    HaudioChannel sampleChannel(HaudioSample sample);   // stopped until play()

    // A local file: opened here (0 when it can't be), decoded ahead on a worker.
    HaudioChannel streamFile(const std::string& path);
    // A network stream: returns at once in CHANNEL_CONNECTING; the worker
    // connects within the time-outs and the state turns to playing or failed.
    HaudioChannel streamUrl(const std::string& url, int connectTimeoutMs = 8000, int readTimeoutMs = 10000);
    // Interleaved float at the mixer's rate; channels 1 or 2.
    HaudioChannel streamPush(int channels);
    int pushData(HaudioChannel h, const float* interleaved, int frames);   // frames taken

    bool play(HaudioChannel h, bool restart = false);
    bool pause(HaudioChannel h);
    bool stop(HaudioChannel h);
    void freeChannel(HaudioChannel h);
    EchannelState state(HaudioChannel h) const;
    bool exists(HaudioChannel h) const;

    bool setAttribute(HaudioChannel h, EaudioAttrib a, float value);
    float attribute(HaudioChannel h, EaudioAttrib a) const;
    double position(HaudioChannel h) const;   // seconds played
    bool setPosition(HaudioChannel h, double seconds);
    double length(HaudioChannel h) const;     // seconds; 0 for live and push streams

    // The latest frames the channel played, as mono, oldest first (before its
    // volume). Returns the frames written (fewer before enough has played).
    int getData(HaudioChannel h, float* mono, int frames) const;
    // Magnitudes of fftSize/2 bins of the latest fftSize frames; 0 on a bad size.
    int getFft(HaudioChannel h, float* bins, int fftSize);

    std::string streamTitle(HaudioChannel h) const;
    uint32_t titleSerial(HaudioChannel h) const;
    std::string stationName(HaudioChannel h) const;
    std::string error(HaudioChannel h) const;
    size_t channelCount() const;

private:
    struct Csample;
    struct Cfeed;
    struct Cchannel;
    static void sdlCallback(void* self, uint8_t* stream, int len);
    static void workerMain(std::shared_ptr<Cfeed> feed);
    HaudioChannel addChannel(std::unique_ptr<Cchannel> c);
    Cchannel* find(HaudioChannel h) const;
    void retire(std::unique_ptr<Cchannel> c);
    void reapWorkers(bool wait);
    int fillChannel(Cchannel& c, float* buf, int frames);

    mutable std::mutex mutex_;   // channels, samples, the mix
    std::map<HaudioChannel, std::unique_ptr<Cchannel>> channels_;
    std::map<HaudioSample, std::shared_ptr<Csample>> samples_;
    std::vector<std::shared_ptr<Cfeed>> dying_;
    std::vector<float> mixTemp_;
    Cfft fft_;
    std::vector<float> fftIn_;
    uint32_t nextId_ = 1;
    uint32_t device_ = 0;
    bool open_ = false, manual_ = false, sdlInit_ = false;
    int rate_ = 44100;
    std::string error_;
};
