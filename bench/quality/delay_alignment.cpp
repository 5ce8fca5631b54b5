#include "delay_alignment.h"

#include <cmath>

#include "analysis_grid.h"

namespace {

constexpr int kEnvelopeHop = kMeasureRate / 1000;  // 1 ms
constexpr int kEnvelopeWindow = 10 * kEnvelopeHop;

std::vector<double> centred_envelope(const std::vector<float>& signal) {
    std::vector<double> envelope(signal.size() / kEnvelopeHop);
    double mean = 0.0;
    for (std::size_t e = 0; e < envelope.size(); ++e) {
        double sum = 0.0;
        for (std::size_t i = e * kEnvelopeHop; i < e * kEnvelopeHop + kEnvelopeWindow; ++i) {
            if (i < signal.size()) sum += static_cast<double>(signal[i]) * signal[i];
        }
        envelope[e] = std::sqrt(sum / kEnvelopeWindow);
        mean += envelope[e];
    }
    if (!envelope.empty()) mean /= static_cast<double>(envelope.size());
    for (double& value : envelope) value -= mean;
    return envelope;
}

// Correlation normalized by the energy of the overlapping parts, so that lags with a short
// overlap are not favoured or penalized.
double normalized_correlation(const std::vector<double>& a, const std::vector<double>& b, int lag) {
    double cross = 0.0;
    double energy_a = 0.0;
    double energy_b = 0.0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const long j = static_cast<long>(i) + lag;
        if (j < 0 || j >= static_cast<long>(b.size())) continue;
        const double x = a[i];
        const double y = b[static_cast<std::size_t>(j)];
        cross += x * y;
        energy_a += x * x;
        energy_b += y * y;
    }
    return energy_a > 0.0 && energy_b > 0.0 ? cross / std::sqrt(energy_a * energy_b) : -1.0;
}

}  // namespace

int estimate_delay(const std::vector<float>& input, const std::vector<float>& decoded) {
    const std::vector<double> a = centred_envelope(input);
    const std::vector<double> b = centred_envelope(decoded);
    // Without any overlap of signal to correlate, no delay is claimed.
    int best_lag = 0;
    double best = -1.0;
    for (int lag = -kMaxDelayMs; lag <= kMaxDelayMs; ++lag) {
        const double score = normalized_correlation(a, b, lag);
        if (score > best) {
            best = score;
            best_lag = lag;
        }
    }
    return best_lag * kEnvelopeHop;
}

std::vector<float> shift_earlier(const std::vector<float>& decoded, int delay, std::size_t length) {
    std::vector<float> shifted(length, 0.0f);
    for (std::size_t i = 0; i < length; ++i) {
        const long j = static_cast<long>(i) + delay;
        if (j >= 0 && j < static_cast<long>(decoded.size())) {
            shifted[i] = decoded[static_cast<std::size_t>(j)];
        }
    }
    return shifted;
}
