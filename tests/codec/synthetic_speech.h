// Test helper: speech-like signals with a known pitch and spectral envelope, and the
// measurements the codec tests compare them by.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

constexpr double kSpeechRate = 8000.0;

// A vowel: a pulse train at pitch_hz through three formant resonators.
struct Voice {
    double pitch_hz;
    double formants_hz[3];
};

constexpr Voice kLowVoice = {100.0, {400.0, 800.0, 2400.0}};    // a low /u/-like vowel
constexpr Voice kHighVoice = {220.0, {850.0, 1900.0, 2900.0}};  // a high /a/-like vowel

inline void resonate(std::vector<double>* x, double hz, double bandwidth_hz) {
    const double pi = std::acos(-1.0);
    const double r = std::exp(-pi * bandwidth_hz / kSpeechRate);
    const double c1 = 2.0 * r * std::cos(2.0 * pi * hz / kSpeechRate);
    const double c2 = -r * r;
    double y1 = 0.0;
    double y2 = 0.0;
    for (double& v : *x) {
        const double y = (1.0 - r) * v + c1 * y1 + c2 * y2;
        y2 = y1;
        y1 = y;
        v = y;
    }
}

// rms on the 16-bit scale; a slow vibrato of +-2 % keeps the pitch from being too regular.
inline std::vector<float> vowel(const Voice& voice, int samples, double rms) {
    std::vector<double> x(static_cast<std::size_t>(samples), 0.0);
    const double pi = std::acos(-1.0);
    double phase = 0.0;
    for (int n = 0; n < samples; n++) {
        const double hz =
            voice.pitch_hz * (1.0 + 0.02 * std::sin(2.0 * pi * 3.0 * n / kSpeechRate));
        phase += hz / kSpeechRate;
        if (phase >= 1.0) {
            phase -= 1.0;
            x[static_cast<std::size_t>(n)] = 1.0;
        }
    }
    for (double hz : voice.formants_hz) resonate(&x, hz, 80.0);
    double energy = 0.0;
    for (double v : x) energy += v * v;
    const double scale = rms / std::sqrt(energy / samples + 1e-30);
    std::vector<float> out(x.size());
    for (std::size_t i = 0; i < x.size(); i++) out[i] = static_cast<float>(x[i] * scale);
    return out;
}

inline std::vector<float> white_noise(int samples, double rms, uint32_t seed) {
    std::mt19937 rng(seed);
    std::normal_distribution<double> gauss(0.0, rms);
    std::vector<float> out(static_cast<std::size_t>(samples));
    for (float& v : out) v = static_cast<float>(gauss(rng));
    return out;
}

inline void append(std::vector<float>* to, const std::vector<float>& part) {
    to->insert(to->end(), part.begin(), part.end());
}

inline std::vector<int16_t> to_pcm16(const std::vector<float>& x) {
    std::vector<int16_t> out(x.size());
    for (std::size_t i = 0; i < x.size(); i++) {
        out[i] = static_cast<int16_t>(std::clamp(std::lround(x[i]), -32768L, 32767L));
    }
    return out;
}

// Level in dB (16-bit scale) of x[begin, end).
inline double level_db(const std::vector<float>& x, std::size_t begin, std::size_t end) {
    double energy = 0.0;
    for (std::size_t i = begin; i < end; i++) energy += static_cast<double>(x[i]) * x[i];
    return 10.0 * std::log10(energy / static_cast<double>(end - begin) + 1e-9);
}

// x[begin, end) through a 63-tap windowed-sinc lowpass at cutoff_hz, so that formants do not
// pass for the pitch.
inline std::vector<double> lowpass(const std::vector<float>& x, std::size_t begin, std::size_t end,
                                   double cutoff_hz) {
    constexpr int kHalf = 31;
    const double pi = std::acos(-1.0);
    const double fc = cutoff_hz / kSpeechRate;
    std::vector<double> taps(2 * kHalf + 1);
    for (int i = -kHalf; i <= kHalf; i++) {
        const double sinc = i == 0 ? 2.0 * fc : std::sin(2.0 * pi * fc * i) / (pi * i);
        const double window = 0.54 + 0.46 * std::cos(pi * i / kHalf);
        taps[static_cast<std::size_t>(i + kHalf)] = sinc * window;
    }
    std::vector<double> y(end - begin, 0.0);
    for (std::size_t n = begin; n < end; n++) {
        double sum = 0.0;
        for (int i = -kHalf; i <= kHalf; i++) {
            const long at = static_cast<long>(n) + i;
            if (at >= static_cast<long>(begin) && at < static_cast<long>(end)) {
                sum += taps[static_cast<std::size_t>(i + kHalf)] * x[static_cast<std::size_t>(at)];
            }
        }
        y[n - begin] = sum;
    }
    return y;
}

// Pitch period in samples of x[begin, end): on the signal below 800 Hz, the shortest lag
// between 20 and 160 samples whose normalized autocorrelation is a local peak within 15 % of
// the best (avoids pitch multiples).
inline double pitch_period(const std::vector<float>& x, std::size_t begin, std::size_t end) {
    constexpr int kMinLag = 20;
    constexpr int kMaxLag = 160;
    const std::vector<double> y = lowpass(x, begin, end, 800.0);
    std::vector<double> r(kMaxLag + 2, 0.0);
    double best = 0.0;
    for (int lag = kMinLag - 1; lag <= kMaxLag + 1; lag++) {
        double cross = 0.0;
        double e0 = 0.0;
        double e1 = 0.0;
        for (std::size_t i = 0; i + static_cast<std::size_t>(lag) < y.size(); i++) {
            const double a = y[i];
            const double b = y[i + static_cast<std::size_t>(lag)];
            cross += a * b;
            e0 += a * a;
            e1 += b * b;
        }
        r[static_cast<std::size_t>(lag)] = cross / std::sqrt(e0 * e1 + 1e-30);
        if (lag >= kMinLag && lag <= kMaxLag)
            best = std::max(best, r[static_cast<std::size_t>(lag)]);
    }
    for (std::size_t lag = kMinLag; lag <= kMaxLag; lag++) {
        if (r[lag] >= 0.85 * best && r[lag] >= r[lag - 1] && r[lag] >= r[lag + 1]) {
            return static_cast<double>(lag);
        }
    }
    return 0.0;
}

// Share of the energy of x[begin, end) above split_hz, from a plain DFT.
inline double high_band_share(const std::vector<float>& x, std::size_t begin, std::size_t end,
                              double split_hz) {
    const double pi = std::acos(-1.0);
    const std::size_t n = end - begin;
    double low = 0.0;
    double high = 0.0;
    for (std::size_t k = 1; k < n / 2; k++) {
        double re = 0.0;
        double im = 0.0;
        for (std::size_t i = 0; i < n; i++) {
            const double w = 0.5 - 0.5 * std::cos(2.0 * pi * static_cast<double>(i) / n);
            re += w * x[begin + i] * std::cos(2.0 * pi * static_cast<double>(k * i) / n);
            im -= w * x[begin + i] * std::sin(2.0 * pi * static_cast<double>(k * i) / n);
        }
        const double power = re * re + im * im;
        (static_cast<double>(k) * kSpeechRate / n < split_hz ? low : high) += power;
    }
    return high / (low + high + 1e-30);
}
