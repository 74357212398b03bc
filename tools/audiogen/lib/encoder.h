#pragma once
// Encodes float PCM into an audio file (the format follows the extension:
// mp3, ogg, opus, flac, m4a, wav, wma) and writes its tags.
#include <string>

#include "tools/audiogen/lib/synth.h"

struct CfileTags {
    std::string title, artist, album, genre;
    int trackNumber = 0;
    int year = 0;
};

// bitrateKbps is ignored by the lossless formats. False with a reason in error.
bool encodeAudioFile(const std::string& path, const CpcmBuffer& pcm, int bitrateKbps, std::string* error = nullptr);
bool writeFileTags(const std::string& path, const CfileTags& tags, std::string* error = nullptr);
