#include "melp_sub.h"

#include <cmath>

#include "codec_alloc.h"
#include "dsp_signal.h"
#include "scratch_floats.h"

namespace {

// 4th-order highpass: at least 27 dB down below 60 Hz, -3 dB near 95 Hz.
constexpr float kDcNumerator[kDcOrder + 1] = {0.926924169f, -3.70563841f, 5.55742884f, -3.70563841f,
                                              0.926924169f};
constexpr float kDcDenominator[kDcOrder + 1] = {1.0f, -3.84610724f, 5.5520978f, -3.56516075f,
                                                0.859188378f};

constexpr double kEnvelopePole1 = 1.9266;
constexpr double kEnvelopePole2 = -0.9409;
constexpr float kPeakinessFloor = 0.01f;
constexpr double kGainFloor = 0.01;
constexpr int kDcScratchSite = 226;

}  // namespace

void dc_block(const float* in, float* out, float* mem, int n) {
    // A whole frame fits on the stack; only longer blocks take heap memory.
    ScratchFloats<kFrameLength + kDcOrder> scratch(n + kDcOrder, "melp_sub", kMemAlloc,
                                                   kDcScratchSite);
    float* work = scratch.data();
    vec_copy(work, mem, kDcOrder);
    all_pole_filter(in, kDcDenominator, work + kDcOrder, kDcOrder, n);
    vec_copy(mem, work + n, kDcOrder);
    fir_filter(work + kDcOrder, kDcNumerator, out, kDcOrder, n);
}

float frame_log_energy(const float* x, int n) {
    double energy = 0.0;
    for (int i = 0; i < (n + 1) / 2; i++) energy += static_cast<double>(x[2 * i]) * x[2 * i];
    return static_cast<float>(std::log(energy));
}

void envelope_filter(const float* x, float prev, float* y, int n) {
    // Kept aside because y may overwrite x.
    double prev_magnitude = std::fabs(prev);
    for (int i = 0; i < n; i++) {
        const double magnitude = std::fabs(x[i]);
        // The newest output last: only its term waits for the previous sample.
        y[i] = static_cast<float>((magnitude - prev_magnitude + kEnvelopePole2 * y[i - 2]) +
                                  kEnvelopePole1 * y[i - 1]);
        prev_magnitude = magnitude;
    }
}

float peakiness(const float* x, int n) {
    double magnitude_sum = 0.0;
    for (int i = 0; i < n; i++) magnitude_sum += std::fabs(x[i]);
    if (magnitude_sum <= kPeakinessFloor) return 0.0f;
    return static_cast<float>(std::sqrt(n * static_cast<double>(vec_energy(x, n))) / magnitude_sum);
}

float gain_measure(const float* x, float len, float min_len, int max_len) {
    float window = len;
    // A non-positive period could never reach min_len.
    while (window < min_len && len > 0.0f) window += len;
    int n = static_cast<int>(std::floor(window + 0.5f));
    if (n > max_len) n /= 2;
    if (n < 1) n = 1;
    const double gain = 10.0 * std::log10(vec_energy(x - n / 2, n) / n + kGainFloor);
    return gain < 0.0 ? 0.0f : static_cast<float>(gain);
}
