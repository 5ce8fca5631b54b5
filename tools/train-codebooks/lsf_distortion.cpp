#include "lsf_distortion.h"

#include <cmath>

#include "lpc_lib.h"

namespace {

constexpr int kBandPoints = 256;
constexpr double kNyquistHz = 4000.0;

}  // namespace

double lsf_spectral_distortion(const float* lsf_a, const float* lsf_b, int p, double band_hz) {
    float a[kMaxLpcOrder + 1] = {1.0f};
    float b[kMaxLpcOrder + 1] = {1.0f};
    lsf_to_pred(lsf_a, a, p);
    lsf_to_pred(lsf_b, b, p);
    const double pi = std::acos(-1.0);
    double sum = 0.0;
    for (int k = 0; k < kBandPoints; k++) {
        // Midpoints of the band's cells, which keeps 0 Hz and the band edge out.
        const double w = pi * (band_hz / kNyquistHz) * (k + 0.5) / kBandPoints;
        const double ratio = lpc_power_response(b, static_cast<float>(w), p) /
                             lpc_power_response(a, static_cast<float>(w), p);
        const double db = 10.0 * std::log10(ratio);
        sum += db * db;
    }
    return std::sqrt(sum / kBandPoints);
}

DistortionSummary summarize_distortion(const std::vector<double>& frame_db) {
    DistortionSummary s{0.0, 0.0, 0.0};
    if (frame_db.empty()) return s;
    for (double d : frame_db) {
        s.mean_db += d;
        s.share_above_2db += d > 2.0;
        s.share_above_4db += d > 4.0;
    }
    const double n = static_cast<double>(frame_db.size());
    s.mean_db /= n;
    s.share_above_2db /= n;
    s.share_above_4db /= n;
    return s;
}
