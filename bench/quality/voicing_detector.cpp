#include "voicing_detector.h"

#include <algorithm>
#include <cmath>

#include "analysis_grid.h"
#include "frame_energy.h"

namespace {

constexpr int kMinLag = 20;
constexpr int kMaxLag = 160;
constexpr int kCorrelationLength = 160;
constexpr float kLoudRangeDb = 30.0f;
constexpr double kVoicedCorrelation = 0.5;

double sample_at(const std::vector<float>& signal, std::size_t index) {
    return index < signal.size() ? signal[index] : 0.0;
}

double peak_normalized_autocorrelation(const std::vector<float>& signal, std::size_t start) {
    double best = 0.0;
    for (int lag = kMinLag; lag <= kMaxLag; ++lag) {
        double cross = 0.0;
        double head = 0.0;
        double tail = 0.0;
        for (int i = 0; i < kCorrelationLength; ++i) {
            const double a = sample_at(signal, start + static_cast<std::size_t>(i));
            const double b = sample_at(signal, start + static_cast<std::size_t>(i + lag));
            cross += a * b;
            head += a * a;
            tail += b * b;
        }
        if (head > 0.0 && tail > 0.0) best = std::max(best, cross / std::sqrt(head * tail));
    }
    return best;
}

}  // namespace

std::vector<bool> voiced_frames(const std::vector<float>& signal) {
    const std::vector<bool> loud = frames_near_peak(frame_energy_db(signal), kLoudRangeDb);
    std::vector<bool> voiced(loud.size());
    for (std::size_t f = 0; f < voiced.size(); ++f) {
        voiced[f] = loud[f] &&
                    peak_normalized_autocorrelation(signal, f * kHopSamples) > kVoicedCorrelation;
    }
    return voiced;
}
