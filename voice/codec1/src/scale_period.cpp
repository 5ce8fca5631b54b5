#include "scale_period.h"

#include <cmath>

#include "dsp_signal.h"

namespace {
constexpr int kRampLength = 10;
// Keeps the factor finite for a silent period.
constexpr double kRmsFloor = 0.01;
}  // namespace

void scale_period(float* s, float gain, float* last_scale, int n) {
    const double rms = std::sqrt(static_cast<double>(vec_energy(s, n)) / n);
    const double scale = gain / (rms + kRmsFloor);
    // Ramping from the old factor avoids a click at the period boundary.
    for (int i = 1; i < kRampLength; i++) {
        const double factor =
            ((kRampLength - i) * static_cast<double>(*last_scale) + i * scale) / kRampLength;
        s[i - 1] = static_cast<float>(s[i - 1] * factor);
    }
    for (int i = kRampLength - 1; i < n; i++) s[i] = static_cast<float>(s[i] * scale);
    *last_scale = static_cast<float>(scale);
}
