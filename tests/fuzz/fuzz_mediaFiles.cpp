// Music files of the player's own: tags through TagLib and audio through
// FFmpeg, from small (mostly corrupt) files. The first byte picks the file's
// extension and whether it is decoded or only has its tags read.
#include <unistd.h>

#include <vector>

#include "fuzzEngine.h"
#include "platform/audio/audioDecoder.h"
#include "platform/audio/audioTags.h"

namespace {
const char* const kExtensions[] = {"mp3", "ogg", "flac", "wav", "m4a", "opus", "wma"};
constexpr int kKinds = sizeof kExtensions / sizeof kExtensions[0];
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzEngine();
    if (size < 1) return 0;
    static const std::string base = "/tmp/zx_fuzz_media_" + std::to_string(getpid()) + ".";
    const int kind = data[0] % (2 * kKinds);
    const std::string path = base + kExtensions[kind % kKinds];
    if (!fuzzWriteFile(path, data + 1, size - 1)) return 0;
    if (kind < kKinds) {
        CaudioFileTags tags;
        readAudioFileTags(path, tags);
        probeAudioLength(path);
    } else {
        CaudioDecoder decoder;
        CaudioDecoder::Coptions options;
        if (decoder.open(path, options)) {
            // A few seconds at most: a corrupt file must end or fail, never loop.
            std::vector<float> pcm(4096 * 2);
            for (int i = 0; i < 64; ++i)
                if (decoder.read(pcm.data(), 4096) <= 0) break;
            decoder.seek(1.0);
            decoder.read(pcm.data(), 4096);
        }
    }
    unlink(path.c_str());
    return 0;
}
