#include "platform/audio/fft.h"

#include <cmath>

bool Cfft::setSize(int n) {
    if (n < 16 || n > 65536 || (n & (n - 1))) return false;
    if (n == n_) return true;
    n_ = n;
    window_.resize(n);
    double sum = 0;
    for (int i = 0; i < n; ++i) {
        window_[i] = (float)(0.5 - 0.5 * std::cos(2.0 * M_PI * i / (n - 1)));
        sum += window_[i];
    }
    // A sine of amplitude 1 gives |X| = sum(w) / 2 at its bin.
    float norm = (float)(2.0 / sum);
    for (auto& w : window_) w *= norm;
    twiddle_.resize(n / 2);
    for (int i = 0; i < n / 2; ++i) twiddle_[i] = std::polar(1.0f, (float)(-2.0 * M_PI * i / n));
    bitrev_.resize(n);
    int bits = 0;
    while ((1 << bits) < n) ++bits;
    for (int i = 0; i < n; ++i) {
        int r = 0;
        for (int b = 0; b < bits; ++b)
            if (i & (1 << b)) r |= 1 << (bits - 1 - b);
        bitrev_[i] = r;
    }
    work_.resize(n);
    return true;
}

void Cfft::magnitudes(const float* in, float* out) {
    const int n = n_;
    for (int i = 0; i < n; ++i) work_[bitrev_[i]] = std::complex<float>(in[i] * window_[i], 0.0f);
    for (int len = 2; len <= n; len <<= 1) {
        int half = len / 2, step = n / len;
        for (int i = 0; i < n; i += len) {
            for (int k = 0; k < half; ++k) {
                std::complex<float> t = twiddle_[k * step] * work_[i + k + half];
                work_[i + k + half] = work_[i + k] - t;
                work_[i + k] += t;
            }
        }
    }
    for (int i = 0; i < n / 2; ++i) out[i] = std::abs(work_[i]);
}
