#pragma once
// Tag and length reading of music files over TagLib.
#include <string>

struct CaudioFileTags {
    std::string title, artist, album, genre;
    unsigned trackNumber = 0;
    float lengthSeconds = 0;
};

// False when the file can't be opened as audio. Texts are UTF-8.
bool readAudioFileTags(const std::string& path, CaudioFileTags& tags);
// The length alone, decoding headers with FFmpeg when the tag reader gives none.
float probeAudioLength(const std::string& path);
