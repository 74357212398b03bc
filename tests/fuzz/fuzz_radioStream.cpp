// A radio station's stream as the decoder plays it: served from 127.0.0.1 with
// ICY headers and title metadata interleaved in the audio, read frame by frame
// while the title, station and genre are picked up as the mixer does.
// Input: [metaint byte] icy-name '\n' icy-genre '\n' [audio size, 2 bytes LE]
// audio, then the metadata as sent on the wire (a length byte L, 16 * L bytes),
// one block after every metaint bytes of audio until it runs out.
#include <algorithm>
#include <mutex>
#include <vector>

#include "fuzzEngine.h"
#include "platform/audio/audioDecoder.h"
#include "support/localHttpServer.h"

namespace {
// Bounds the work of one input: a few seconds of audio at most.
constexpr size_t kMaxInput = 64 * 1024;
constexpr int kMaxReads = 256;
constexpr int kReadFrames = 2048;

struct Cstation {
    size_t metaint = 0;
    std::string name, genre, audio, meta;
};

std::string takeLine(const uint8_t*& at, const uint8_t* end) {
    std::string line;
    while (at < end && *at != '\n') {
        if (*at != '\r') line.push_back((char)*at);   // a header value ends at a line break
        ++at;
    }
    if (at < end) ++at;
    return line;
}

Cstation readStation(const uint8_t* data, size_t size) {
    const uint8_t* at = data;
    const uint8_t* end = data + size;
    Cstation s;
    s.metaint = 1 + (size_t)*at++ * 4;
    s.name = takeLine(at, end);
    s.genre = takeLine(at, end);
    size_t audioSize = 0;
    if (end - at >= 2) {
        audioSize = at[0] | (size_t)at[1] << 8;
        at += 2;
    }
    audioSize = std::min(audioSize, (size_t)(end - at));
    s.audio.assign((const char*)at, audioSize);
    at += audioSize;
    s.meta.assign((const char*)at, (size_t)(end - at));
    return s;
}

std::string icyBody(const Cstation& s) {
    std::string out;
    size_t meta = 0;
    for (size_t at = 0; at < s.audio.size(); at += s.metaint) {
        out += s.audio.substr(at, s.metaint);
        if (at + s.metaint > s.audio.size()) break;
        if (meta >= s.meta.size()) {
            out.push_back('\0');
            continue;
        }
        size_t len = 1 + 16 * (size_t)(uint8_t)s.meta[meta];
        out += s.meta.substr(meta, len);   // a short last block is sent short
        meta += len;
    }
    return out;
}

std::mutex gMutex;
ChttpResponse gAnswer;

ClocalHttpServer& server() {
    static ClocalHttpServer s([](const ChttpRequest&) {
        std::lock_guard<std::mutex> lock(gMutex);
        return gAnswer;
    });
    return s;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzEngine();
    if (size < 1 || size > kMaxInput) return 0;
    Cstation station = readStation(data, size);
    {
        std::lock_guard<std::mutex> lock(gMutex);
        gAnswer = ChttpResponse{};
        gAnswer.contentType = "audio/mpeg";
        gAnswer.extraHeaders = {{"icy-metaint", std::to_string(station.metaint)}, {"icy-name", station.name},
                                {"icy-genre", station.genre}};
        gAnswer.body = icyBody(station);
    }
    server().clearRequests();
    CaudioDecoder decoder;
    CaudioDecoder::Coptions options;
    options.connectTimeoutMs = 2000;
    options.readTimeoutMs = 2000;
    if (!decoder.open(server().url() + "/stream", options)) return 0;
    std::vector<float> pcm((size_t)kReadFrames * options.outChannels);
    for (int i = 0; i < kMaxReads; ++i) {
        int n = decoder.read(pcm.data(), kReadFrames);
        // Read back between reads, as the mixer's channel does for the game.
        (void)decoder.streamTitle();
        (void)decoder.titleSerial();
        (void)decoder.stationName();
        (void)decoder.stationGenre();
        if (n <= 0) break;
    }
    return 0;
}
