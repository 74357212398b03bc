#pragma once
// A radix-2 FFT for the music analysis: Hann window, magnitudes of the
// first n/2 bins, scaled so that a full-scale sine peaks near 1.
#include <complex>
#include <vector>

class Cfft {
public:
    // n must be a power of two from 16 to 65536; false otherwise.
    bool setSize(int n);
    int size() const { return n_; }
    // in: n samples; out: n/2 magnitudes.
    void magnitudes(const float* in, float* out);

private:
    int n_ = 0;
    std::vector<float> window_;
    std::vector<std::complex<float>> twiddle_, work_;
    std::vector<int> bitrev_;
};
