#include "real_idft.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// Sizes 1..kMaxIdftSize one after the other.
constexpr int kCosineCount = kMaxIdftSize * (kMaxIdftSize + 1) / 2;
// Outputs computed together: their sums are independent, so they overlap in the processor.
constexpr int kOutputsAtOnce = 4;

// cos(m * w) for m < n with w = 2 pi / n in single precision, for every size, built once: a
// period's pulse would otherwise cost one cosine per sample.
struct CosineTables {
    float values[kCosineCount];

    CosineTables() {
        float* table = values;
        for (int n = 1; n <= kMaxIdftSize; n++) {
            const float step = static_cast<float>(2.0 * std::acos(-1.0) / n);
            for (int m = 0; m < n; m++)
                table[m] = static_cast<float>(std::cos(m * static_cast<double>(step)));
            table += n;
        }
    }

    const float* of_size(int n) const { return values + (n - 1) * n / 2; }
};

void scale_spectrum(float* spectrum, int n) {
    const int half = n / 2;
    const double dc_scale = 1.0 / n;
    const double scale = 2.0 / n;
    spectrum[0] = static_cast<float>(spectrum[0] * dc_scale);
    for (int k = 1; k < half; k++) spectrum[k] = static_cast<float>(spectrum[k] * scale);
    // The Nyquist bin of an even size has no mirror image.
    spectrum[half] = static_cast<float>(spectrum[half] * (n % 2 == 0 ? dc_scale : scale));
}

// out[first..first+Count-1]; the table index k * i mod n advances by i per harmonic.
template <int Count>
void idft_outputs(const float* spectrum, const float* cosines, int n, int first, float* out) {
    double sum[Count];
    int index[Count];
    for (int j = 0; j < Count; j++) {
        sum[j] = spectrum[0];
        index[j] = 0;
    }
    for (int k = 1; k <= n / 2; k++) {
        for (int j = 0; j < Count; j++) {
            index[j] += first + j;
            if (index[j] >= n) index[j] -= n;
            sum[j] += static_cast<double>(spectrum[k]) * cosines[index[j]];
        }
    }
    for (int j = 0; j < Count; j++) out[first + j] = static_cast<float>(sum[j]);
}

}  // namespace

void real_idft(float* spectrum, float* out, int n) {
    if (n > kMaxIdftSize) {
        std::printf("****ERROR: IDFT size too large **** \n");
        std::exit(1);
    }
    // Constant once built, so decoders of different talkers may share it.
    static const CosineTables tables;
    const float* cosines = tables.of_size(n);
    scale_spectrum(spectrum, n);
    // An even spectrum gives an even pulse, out[n - i] = out[i]: only the first half is summed.
    const int last = n / 2;
    int i = 0;
    for (; i + kOutputsAtOnce <= last + 1; i += kOutputsAtOnce)
        idft_outputs<kOutputsAtOnce>(spectrum, cosines, n, i, out);
    for (; i <= last; i++) idft_outputs<1>(spectrum, cosines, n, i, out);
    for (i = last + 1; i < n; i++) out[i] = out[n - i];
}
