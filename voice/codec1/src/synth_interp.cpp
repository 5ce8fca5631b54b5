#include "synth_interp.h"

void interp_vectors(const float* a, const float* b, float x, float* out, int n) {
    for (int i = 0; i < n; i++) {
        out[i] = static_cast<float>((1.0 - x) * a[i] + static_cast<double>(x) * b[i]);
    }
}

float bounded_ramp(float x, float x_lo, float x_hi, float y_lo, float y_hi) {
    if (x <= x_lo) return y_lo;
    if (x >= x_hi) return y_hi;
    return static_cast<float>(y_lo + (static_cast<double>(x) - x_lo) * (y_hi - y_lo) /
                                         (static_cast<double>(x_hi) - x_lo));
}
