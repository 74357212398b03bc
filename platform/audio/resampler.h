#pragma once
// Cresampler: streaming sample-rate conversion of interleaved float audio
// over libsamplerate (captured audio into the mixer and the fingerprint step).
#include <string>
#include <vector>

struct SRC_STATE_tag;

class Cresampler {
public:
    Cresampler() = default;
    ~Cresampler();
    Cresampler(const Cresampler&) = delete;
    Cresampler& operator=(const Cresampler&) = delete;

    // False with lastError() when libsamplerate refuses.
    bool init(int channels, double inRate, double outRate);
    void reset();
    // Appends the converted frames of inFrames input frames to out.
    bool process(const float* in, long inFrames, std::vector<float>& out);
    int channels() const { return channels_; }
    const std::string& lastError() const { return error_; }

private:
    SRC_STATE_tag* state_ = nullptr;
    int channels_ = 0;
    double ratio_ = 1.0;
    std::string error_;
};
