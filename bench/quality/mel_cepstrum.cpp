#include "mel_cepstrum.h"

#include <algorithm>
#include <cmath>

#include "analysis_grid.h"
#include "periodogram.h"

namespace {

constexpr int kFftPoints = 256;
constexpr double kLowHz = 80.0;
constexpr double kHighHz = 3800.0;
// Keeps the log finite in digital silence, about 100 dB below full scale.
constexpr double kPowerFloor = 1e-10;

double hz_to_mel(double hz) { return 2595.0 * std::log10(1.0 + hz / 700.0); }
double mel_to_hz(double mel) { return 700.0 * (std::pow(10.0, mel / 2595.0) - 1.0); }

using Filterbank = std::vector<std::vector<float>>;  // band x FFT bin weight

Filterbank make_filterbank() {
    const int bins = kFftPoints / 2 + 1;
    std::array<double, kMelBands + 2> edges_hz{};
    const double low = hz_to_mel(kLowHz);
    const double high = hz_to_mel(kHighHz);
    for (int i = 0; i < kMelBands + 2; ++i) {
        edges_hz[static_cast<std::size_t>(i)] = mel_to_hz(low + (high - low) * i / (kMelBands + 1));
    }
    Filterbank bank(kMelBands, std::vector<float>(static_cast<std::size_t>(bins), 0.0f));
    for (int band = 0; band < kMelBands; ++band) {
        const double left = edges_hz[static_cast<std::size_t>(band)];
        const double centre = edges_hz[static_cast<std::size_t>(band) + 1];
        const double right = edges_hz[static_cast<std::size_t>(band) + 2];
        for (int bin = 0; bin < bins; ++bin) {
            const double hz = bin * static_cast<double>(kMeasureRate) / kFftPoints;
            double weight = 0.0;
            if (hz > left && hz <= centre) weight = (hz - left) / (centre - left);
            if (hz > centre && hz < right) weight = (right - hz) / (right - centre);
            bank[static_cast<std::size_t>(band)][static_cast<std::size_t>(bin)] =
                static_cast<float>(weight);
        }
    }
    return bank;
}

std::vector<float> hamming_window() {
    std::vector<float> window(kWindowSamples);
    for (int i = 0; i < kWindowSamples; ++i) {
        window[static_cast<std::size_t>(i)] =
            static_cast<float>(0.54 - 0.46 * std::cos(2.0 * M_PI * i / (kWindowSamples - 1)));
    }
    return window;
}

MelCepstrum dct_of_log_amplitudes(const std::array<double, kMelBands>& log_amplitude) {
    MelCepstrum cepstrum{};
    // Scaled as a true cepstrum (L_b ~ c0 + 2 sum c_d cos), so that the classic distortion
    // formula gives the RMS log-amplitude difference of the bands.
    const double scale = 1.0 / kMelBands;
    for (int d = 1; d <= kCepstralOrder; ++d) {
        double sum = 0.0;
        for (int b = 0; b < kMelBands; ++b) {
            sum += log_amplitude[static_cast<std::size_t>(b)] *
                   std::cos(M_PI * d * (b + 0.5) / kMelBands);
        }
        cepstrum[static_cast<std::size_t>(d) - 1] = static_cast<float>(scale * sum);
    }
    return cepstrum;
}

}  // namespace

std::vector<MelCepstrum> mel_cepstra(const std::vector<float>& signal) {
    static const Filterbank bank = make_filterbank();
    static const std::vector<float> window = hamming_window();
    const std::size_t frames = frame_count(signal.size());
    std::vector<MelCepstrum> cepstra(frames);
    std::vector<float> frame(kWindowSamples);
    for (std::size_t f = 0; f < frames; ++f) {
        const std::size_t start = f * kHopSamples;
        for (std::size_t i = 0; i < frame.size(); ++i) {
            const float sample = start + i < signal.size() ? signal[start + i] : 0.0f;
            frame[i] = sample * window[i];
        }
        const std::vector<float> power = power_spectrum(frame, kFftPoints);
        std::array<double, kMelBands> log_amplitude{};
        for (std::size_t band = 0; band < bank.size(); ++band) {
            double band_power = 0.0;
            for (std::size_t bin = 0; bin < power.size(); ++bin) {
                band_power += bank[band][bin] * power[bin];
            }
            log_amplitude[band] = 0.5 * std::log(std::max(band_power, kPowerFloor));
        }
        cepstra[f] = dct_of_log_amplitudes(log_amplitude);
    }
    return cepstra;
}

float mel_cepstral_distortion(const MelCepstrum& a, const MelCepstrum& b) {
    double sum = 0.0;
    for (std::size_t d = 0; d < a.size(); ++d) {
        const double diff = static_cast<double>(a[d]) - b[d];
        sum += diff * diff;
    }
    return static_cast<float>(10.0 / std::log(10.0) * std::sqrt(2.0 * sum));
}
