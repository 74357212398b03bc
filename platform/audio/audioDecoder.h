#pragma once
// CaudioDecoder: one file or network stream decoded with FFmpeg into
// interleaved float PCM at a chosen rate and channel count. Opening and
// reading block; network sources give up after their time-outs or as soon as
// the cancel test says so. Internet radio playlists (.pls, .m3u) are resolved
// to their first stream, and ICY stream titles are picked up while reading.
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

struct AVFormatContext;
struct AVCodecContext;
struct SwrContext;
struct AVPacket;
struct AVFrame;

class CaudioDecoder {
public:
    struct Coptions {
        int outRate = 44100;
        int outChannels = 2;
        int connectTimeoutMs = 8000;   // network: connecting and the first data
        int readTimeoutMs = 10000;     // network: any later wait for data
        std::function<bool()> cancel;  // true ends any wait at once
    };

    CaudioDecoder();
    ~CaudioDecoder();
    CaudioDecoder(const CaudioDecoder&) = delete;
    CaudioDecoder& operator=(const CaudioDecoder&) = delete;

    bool open(const std::string& pathOrUrl, const Coptions& options);
    void close();
    bool isOpen() const { return fmt_ != nullptr; }

    // Up to maxFrames frames into out (maxFrames * outChannels floats).
    // Returns the frames written; 0 at the end; -1 on an error.
    int read(float* out, int maxFrames);
    bool seek(double seconds);

    double duration() const { return duration_; }   // seconds; 0 when unknown (live streams)
    bool isNetwork() const { return network_; }
    int inputRate() const { return inputRate_; }
    int inputChannels() const { return inputChannels_; }
    const std::string& codecName() const { return codecName_; }
    const std::string& lastError() const { return error_; }
    const std::string& resolvedUrl() const { return resolved_; }

    // ICY metadata of a radio stream: the title changes while it plays.
    std::string streamTitle() const;
    uint32_t titleSerial() const;   // goes up by one with every new title
    std::string stationName() const;
    std::string stationGenre() const;

    static bool isUrl(const std::string& s);
    // The first stream of a .pls or .m3u playlist text; empty when none.
    static std::string parsePlaylist(const std::string& text);
    // The title in an ICY metadata block ("StreamTitle='...';").
    static std::string parseIcyTitle(const std::string& block);

private:
    static int interruptCallback(void* self);
    bool fail(const std::string& what, int code = 0);
    bool fetchText(const std::string& url, std::string& out);
    bool fillPending();
    bool convertFrame();
    void pollIcy();
    void armDeadline(int ms);

    AVFormatContext* fmt_ = nullptr;
    AVCodecContext* codec_ = nullptr;
    SwrContext* swr_ = nullptr;
    AVPacket* pkt_ = nullptr;
    AVFrame* frame_ = nullptr;
    int streamIndex_ = -1;
    Coptions opt_;
    std::vector<float> pending_;
    size_t pendingPos_ = 0;
    bool inputDone_ = false, flushed_ = false, errored_ = false;
    int swrRate_ = -1, swrFormat_ = -1, swrChannels_ = -1;
    double skipToSeconds_ = -1;
    double duration_ = 0;
    bool network_ = false;
    int inputRate_ = 0, inputChannels_ = 0;
    std::string codecName_, error_, resolved_;
    int64_t deadlineUs_ = 0;   // 0: no deadline

    mutable std::mutex metaMutex_;
    std::string icyRaw_, title_, station_, genre_;
    uint32_t titleSerial_ = 0;
};
