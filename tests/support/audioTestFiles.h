#pragma once
// Test audio: files written with the project's synthesiser and encoder
// (link zx_audiogen), and a frequency estimate for checking what decodes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/audio/fft.h"
#include "tools/audiogen/lib/encoder.h"
#include "tools/audiogen/lib/synth.h"

inline std::string writeTestAudio(const std::string& folder, const std::string& name, const CpcmBuffer& pcm,
                                  const CfileTags* tags = nullptr, int kbps = 96) {
    std::string path = folder + "/" + name, err;
    if (encodeAudioFile(path, pcm, kbps, &err) && (!tags || writeFileTags(path, *tags, &err))) return path;
    ADD_FAILURE() << "encode or tag " << path << ": " << err;
    return {};
}

// The strongest frequency of a mono block (n a power of two).
inline double dominantFrequency(const float* mono, int n, int rate) {
    Cfft fft;
    if (!fft.setSize(n)) return 0;
    std::vector<float> bins((size_t)n / 2);
    fft.magnitudes(mono, bins.data());
    int best = 1;
    for (int i = 1; i < n / 2; ++i)
        if (bins[i] > bins[best]) best = i;
    return (double)best * rate / n;
}

// Mono mix of interleaved stereo.
inline std::vector<float> toMono(const std::vector<float>& stereo) {
    std::vector<float> m(stereo.size() / 2);
    for (size_t i = 0; i < m.size(); ++i) m[i] = 0.5f * (stereo[i * 2] + stereo[i * 2 + 1]);
    return m;
}
