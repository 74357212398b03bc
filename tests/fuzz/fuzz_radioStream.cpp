// A radio station's stream as the decoder plays it: served from 127.0.0.1 with
// ICY headers, read frame by frame while the title, station and genre are
// picked up as the mixer does. Input: [metaint byte] icy-name '\n' icy-genre
// '\n', then the body as sent on the wire: audio with a metadata block (a
// length byte L, 16 * L bytes) after every metaint bytes.
#include <algorithm>
#include <mutex>

#include "fuzzEngine.h"
#include "platform/audio/audioDecoder.h"
#include "support/localHttpServer.h"

namespace {
std::mutex gMutex;
ChttpResponse gAnswer;

std::string takeLine(std::string& rest) {
    size_t end = std::min(rest.find('\n'), rest.size());
    std::string line = rest.substr(0, end);
    rest.erase(0, end + 1);
    line.erase(std::remove(line.begin(), line.end(), '\r'), line.end());   // a header value ends at a line break
    return line;
}
}  // namespace

std::vector<CfuzzReader> fuzzReaders() {
    return {[](const uint8_t* data, size_t size) {
        // A few seconds of audio at most.
        if (size < 1 || size > 64 * 1024) return;
        static ClocalHttpServer server([](const ChttpRequest&) {
            std::lock_guard<std::mutex> lock(gMutex);
            return gAnswer;
        });
        std::string rest = fuzzText(data + 1, size - 1), name = takeLine(rest), genre = takeLine(rest);
        {
            std::lock_guard<std::mutex> lock(gMutex);
            gAnswer.contentType = "audio/mpeg";
            gAnswer.extraHeaders = {{"icy-metaint", std::to_string(1 + data[0] * 4)}, {"icy-name", name}, {"icy-genre", genre}};
            gAnswer.body = rest;
        }
        server.clearRequests();
        CaudioDecoder decoder;
        CaudioDecoder::Coptions options;
        options.connectTimeoutMs = options.readTimeoutMs = 2000;
        if (!decoder.open(server.url() + "/stream", options)) return;
        std::vector<float> pcm(2048 * 2);
        for (int i = 0; i < 256; ++i) {
            int n = decoder.read(pcm.data(), 2048);
            // Read back between reads, as the mixer's channel does for the game.
            (void)decoder.streamTitle();
            (void)decoder.titleSerial();
            (void)decoder.stationName();
            (void)decoder.stationGenre();
            if (n <= 0) break;
        }
    }};
}
