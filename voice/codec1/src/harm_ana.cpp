#include <cmath>

#include "dsp_signal.h"
#include "fft.h"
#include "melp_sub.h"

namespace {
constexpr double kHarmonicSumFloor = 0.0001;
constexpr int kMinSearchWidth = 2;
}  // namespace

void harmonic_magnitudes(const float* x, float* mag, float pitch, int count, int n) {
    vec_fill(mag, 1.0f, count);
    if (n > kHarmonicFftSize) n = kHarmonicFftSize;
    float spectrum[2 * kHarmonicFftSize] = {};
    for (int i = 0; i < n; i++) spectrum[2 * i] = x[i];
    complex_fft(spectrum, kHarmonicFftSize, -1);
    // Bin k's power goes to slot k, below the slots 2k and 2k + 1 still to be read.
    for (int k = 0; k < kHarmonicFftSize; k++) {
        const float re = spectrum[2 * k];
        const float im = spectrum[2 * k + 1];
        spectrum[k] = re * re + im * im;
    }
    const float* power = spectrum;

    // Short pitch periods have fewer harmonics below the band edge.
    if (count > pitch / 4) count = static_cast<int>(pitch / 4);
    if (count <= 0) return;
    const float bin_spacing = kHarmonicFftSize / pitch;
    int width = static_cast<int>(bin_spacing);
    if (width < kMinSearchWidth) width = kMinSearchWidth;

    double sum = 0.0;
    for (int h = 1; h <= count; h++) {
        int start = static_cast<int>(std::floor(h * bin_spacing - width / 2 + 0.5f));
        if (start < 0) start = 0;
        if (start > kHarmonicFftSize - width) start = kHarmonicFftSize - width;
        mag[h - 1] = power[start + vec_argmax(power + start, width)];
        sum += mag[h - 1];
    }
    for (int h = 1; h <= count; h++) {
        mag[h - 1] = static_cast<float>(std::sqrt(count / (sum + kHarmonicSumFloor) * mag[h - 1]));
    }
}
