// Music files of the player's own: tags through TagLib and audio through
// FFmpeg, from small (mostly corrupt) files. The first byte picks the file's
// extension and whether it is decoded or only has its tags read.
#include <unistd.h>

#include "fuzzEngine.h"
#include "platform/audio/audioDecoder.h"
#include "platform/audio/audioTags.h"

std::vector<CfuzzReader> fuzzReaders() {
    std::vector<CfuzzReader> readers;
    for (bool decode : {false, true})
        for (const char* ext : {"mp3", "ogg", "flac", "wav", "m4a", "opus", "wma"})
            readers.push_back([decode, ext](const uint8_t* p, size_t n) {
                const std::string path = "/tmp/zx_fuzz_media_" + std::to_string(getpid()) + "." + ext;
                if (!fuzzWriteFile(path, p, n)) return;
                CaudioFileTags tags;
                CaudioDecoder decoder;
                if (!decode) {
                    readAudioFileTags(path, tags);
                    probeAudioLength(path);
                } else if (decoder.open(path, {})) {
                    // A few seconds at most: a corrupt file must end or fail, never loop.
                    std::vector<float> pcm(4096 * 2);
                    for (int i = 0; i < 64 && decoder.read(pcm.data(), 4096) > 0; ++i) {
                    }
                    decoder.seek(1.0);
                    decoder.read(pcm.data(), 4096);
                }
                unlink(path.c_str());
            });
    return readers;
}
