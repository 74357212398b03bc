#include "platform/audio/resampler.h"

#include <samplerate.h>

Cresampler::~Cresampler() {
    if (state_) src_delete(state_);
}

bool Cresampler::init(int channels, double inRate, double outRate) {
    if (state_) state_ = src_delete(state_);
    if (channels < 1 || inRate <= 0 || outRate <= 0) {
        error_ = "bad format";
        return false;
    }
    int err = 0;
    state_ = src_new(SRC_SINC_FASTEST, channels, &err);
    if (!state_) {
        error_ = src_strerror(err);
        return false;
    }
    channels_ = channels;
    ratio_ = outRate / inRate;
    return true;
}

void Cresampler::reset() {
    if (state_) src_reset(state_);
}

bool Cresampler::process(const float* in, long inFrames, std::vector<float>& out) {
    if (!state_) return false;
    while (inFrames > 0) {
        long chunk = inFrames > 4096 ? 4096 : inFrames;
        long cap = (long)(chunk * ratio_) + 16;
        size_t base = out.size();
        out.resize(base + (size_t)cap * channels_);
        SRC_DATA d{};
        d.data_in = in;
        d.input_frames = chunk;
        d.data_out = out.data() + base;
        d.output_frames = cap;
        d.src_ratio = ratio_;
        d.end_of_input = 0;
        int err = src_process(state_, &d);
        if (err) {
            out.resize(base);
            error_ = src_strerror(err);
            return false;
        }
        out.resize(base + (size_t)d.output_frames_gen * channels_);
        in += d.input_frames_used * channels_;
        inFrames -= d.input_frames_used;
        if (d.input_frames_used == 0 && d.output_frames_gen == 0) break;
    }
    return true;
}
