#include "real_idft.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

void scale_spectrum(float* spectrum, int n) {
    const int half = n / 2;
    const double dc_scale = 1.0 / n;
    const double scale = 2.0 / n;
    spectrum[0] = static_cast<float>(spectrum[0] * dc_scale);
    for (int k = 1; k < half; k++) spectrum[k] = static_cast<float>(spectrum[k] * scale);
    // The Nyquist bin of an even size has no mirror image.
    spectrum[half] = static_cast<float>(spectrum[half] * (n % 2 == 0 ? dc_scale : scale));
}

}  // namespace

void real_idft(float* spectrum, float* out, int n) {
    if (n > kMaxIdftSize) {
        std::printf("****ERROR: IDFT size too large **** \n");
        std::exit(1);
    }
    // Local table: the decoders of different talkers never share it.
    float cosines[kMaxIdftSize];
    const float step = static_cast<float>(2.0 * std::acos(-1.0) / n);
    for (int m = 0; m < n; m++)
        cosines[m] = static_cast<float>(std::cos(m * static_cast<double>(step)));

    scale_spectrum(spectrum, n);
    const int half = n / 2;
    for (int i = 0; i < n; i++) {
        double sum = spectrum[0];
        for (int k = 1; k <= half; k++)
            sum += static_cast<double>(spectrum[k]) * cosines[(k * i) % n];
        out[i] = static_cast<float>(sum);
    }
}
