// Makes a small music collection for the road test: two albums of tagged
// 40-second tracks in folders of their own.
// usage: zx_make_music_folder <folder>
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "tools/audiogen/lib/encoder.h"
#include "tools/audiogen/lib/synth.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: zx_make_music_folder <folder>\n");
        return 2;
    }
    const struct {
        const char* folder;
        const char* file;
        const char* title;
        const char* album;
        int number;
        double freq;
    } tracks[] = {
        {"Night Drive", "01 Neon.mp3", "Neon", "Night Drive", 1, 220.0},
        {"Night Drive", "02 Tunnel.mp3", "Tunnel", "Night Drive", 2, 247.0},
        {"Daybreak", "01 Sunrise.mp3", "Sunrise", "Daybreak", 1, 262.0},
        {"Daybreak", "02 Noon.mp3", "Noon", "Daybreak", 2, 294.0},
    };
    std::string root = argv[1];
    mkdir(root.c_str(), 0755);
    for (const auto& t : tracks) {
        std::string dir = root + "/" + t.folder;
        mkdir(dir.c_str(), 0755);
        std::string path = dir + "/" + t.file, err;
        CpcmBuffer pcm = synth::makeTone(t.freq, 40.0, 22050, 1, 0.3f);
        if (!encodeAudioFile(path, pcm, 32, &err) ||
            !writeFileTags(path, CfileTags{t.title, "Road Band", t.album, "Electronic", t.number, 2026}, &err)) {
            fprintf(stderr, "zx_make_music_folder: %s: %s\n", path.c_str(), err.c_str());
            return 1;
        }
    }
    return 0;
}
