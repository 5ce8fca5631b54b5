#include "pit_lib.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "codec_alloc.h"
#include "dsp_signal.h"
#include "window_poles.h"

namespace {

constexpr const char* kModule = "pit_lib";
constexpr int kPitchHistorySite = 318;
constexpr int kFinalLpfMemSite = 445;
constexpr int kFinalWorkSite = 449;

// 6th-order Butterworth lowpass, -3 dB at 1000 Hz.
constexpr float kLowpassNum[kPitchLpfOrder + 1] = {0.00105165003f, 0.00630987994f, 0.0157747008f,
                                                   0.0210329406f,  0.0157747008f,  0.00630987994f,
                                                   0.00105165003f};
constexpr float kLowpassDen[kPitchLpfOrder + 1] = {
    1.0f, -2.97852993f, 4.13608122f, -3.25976419f, 1.51727879f, -0.391117215f, 0.0433569886f};

constexpr float kNormalizeFloor =
    0.01f;                               // correlations and denominators below this are not divided
constexpr int kMultipleCheckLimit = 30;  // pitches below this are checked at a multiple
constexpr int kFinalSearchRange = 5;
constexpr float kFinalVoicedCorr = 0.6f;
constexpr float kFinalMinCorr = 0.55f;
constexpr float kLongPitch = 100.0f;
constexpr int kDoubleCheckMaxDivisor = 8;

// Runs the 1 kHz lowpass over the kPitchSpan samples behind work's kPitchLpfOrder history
// slots; mem carries the all-pole outputs into the next frame, which starts one frame later.
void lowpass_pitch_span(float* work, float* mem) {
    vec_copy(work, mem, kPitchLpfOrder);
    float* signal = work + kPitchLpfOrder;
    all_pole_filter(signal, kLowpassDen, signal, kPitchLpfOrder, kPitchSpan);
    vec_copy(mem, signal + kPitchFrameAdvance - kPitchLpfOrder, kPitchLpfOrder);
    fir_filter(signal, kLowpassNum, signal, kPitchLpfOrder, kPitchSpan);
}

int round_down(double value) { return static_cast<int>(std::floor(value)); }

}  // namespace

void frame_end_pitch_init(FrameEndPitch* state) {
    vec_zero(state->lpf_mem, kPitchLpfOrder);
    vec_fill(state->estimate, kDefaultPitch, 2);
    WindowPoles kept{state->last_input, state->poles};
    window_poles_reset(&kept, kPitchLpfOrder, kPitchFrameAdvance);
}

void frame_end_pitch_estimate(FrameEndPitch* state, const float* x) {
    // The speech window moves on by a frame, so the lowpass reuses its shared outputs.
    WindowPoles kept{state->last_input, state->poles};
    window_poles_run(&kept, x - kPitchMax, kLowpassDen, state->lpf_mem, kPitchLpfOrder, kPitchSpan,
                     kPitchFrameAdvance);
    float filtered[kPitchSpan];
    fir_filter(state->poles + kPitchLpfOrder, kLowpassNum, filtered, kPitchLpfOrder, kPitchSpan);
    float corr = 0.0f;
    state->estimate[1] = integer_pitch_search(filtered + kPitchMax, &corr, kFrameEndSearchMin,
                                              kPitchMax, kPitchWindow);
}

void frame_end_pitch_quiet(FrameEndPitch* state) { state->estimate[1] = kDefaultPitch; }

void frame_end_pitch_advance(FrameEndPitch* state) { state->estimate[0] = state->estimate[1]; }

float integer_pitch_search(const float* x, float* corr, int lo, int hi, int len) {
    const float* first = x - (len + hi) / 2;
    const float* second = first + hi;
    double energy1 = vec_energy(first, len);
    double energy2 = vec_energy(second, len);
    double best = 0.0;
    int best_lag = lo;
    for (int lag = hi; lag >= lo; lag--) {
        if (lag < hi) {
            // The windows close in alternately, staying centred on x.
            if ((hi - lag) % 2 == 1) {
                energy1 += static_cast<double>(first[len]) * first[len] -
                           static_cast<double>(first[0]) * first[0];
                first++;
            } else {
                second--;
                energy2 += static_cast<double>(second[0]) * second[0] -
                           static_cast<double>(second[len]) * second[len];
            }
        }
        double value = vec_dot(first, second, len);
        if (value > kNormalizeFloor) {
            const double energies = energy1 * energy2;
            value = energies > 0.0 ? value * value / energies : 0.0;
        }
        if (value > best) {
            best = value;
            best_lag = lag;
        }
    }
    *corr = static_cast<float>(std::sqrt(best));
    return static_cast<float>(best_lag);
}

float fractional_pitch(const float* x, float* corr, float pitch, int range, int pmin, int pmax,
                       int len) {
    int base = round_down(pitch + 0.5);
    if (range > 0) {
        const int lo = std::max({base - range, pmin, round_down(0.75 * base)});
        const int hi = std::min(base + range, pmax);
        float search_corr = 0.0f;
        base = round_down(integer_pitch_search(x, &search_corr, lo, hi, std::max(len, base)) + 0.5);
    }
    if (base >= pmax) base = pmax - 1;
    const int win = std::max(len, base);
    const float* w0 = x - (win + base) / 2;

    double c0t = vec_dot(w0, w0 + base, win);
    double c0t1 = vec_dot(w0, w0 + base + 1, win);
    const double c0tm = vec_dot(w0, w0 + base - 1, win);
    if (c0tm > c0t1) {
        base--;
        c0t1 = c0t;
        c0t = c0tm;
    }
    const float* wt = w0 + base;
    const double ctt = vec_energy(wt, win);
    const double ct1 = vec_dot(wt, wt + 1, win);
    const double c11 = vec_energy(wt + 1, win);
    const double c00 = vec_energy(w0, win);

    const double denom = c0t1 * (ctt - ct1) + c0t * (c11 - ct1);
    double delta = std::fabs(denom) > kNormalizeFloor ? (c0t1 * ctt - c0t * ct1) / denom : 0.5;
    delta = std::clamp(delta, -1.0, 2.0);
    const double refined =
        std::clamp(base + delta, static_cast<double>(pmin), static_cast<double>(pmax));
    delta = refined - base;

    const double interp_energy = c11 * delta * delta + ctt * (1.0 - delta) * (1.0 - delta) +
                                 2.0 * ct1 * delta * (1.0 - delta);
    const double den = std::sqrt(std::max(0.0, interp_energy * c00));
    *corr = den > kNormalizeFloor ? static_cast<float>((c0t1 * delta + c0t * (1.0 - delta)) / den)
                                  : 0.0f;
    return static_cast<float>(refined);
}

void pitch_multiple_check(const float* x, float* corr, float pitch, int pmin, int pmax, int len) {
    if (!(pitch > 0.0f) || pitch >= kMultipleCheckLimit) return;
    int multiple = 2;
    while (multiple * pitch < kMultipleCheckLimit) multiple++;
    float multiple_corr = 0.0f;
    fractional_pitch(x, &multiple_corr, multiple * pitch, 0, pmin, pmax, len);
    if (multiple_corr < *corr) *corr = multiple_corr;
}

float pitch_double_check(const float* x, float* corr, float pitch, float thresh, int pmin, int pmax,
                         int len) {
    pitch = fractional_pitch(x, corr, pitch, 0, pmin, pmax, len);
    const float threshold = thresh * (*corr);
    for (int divisor = kDoubleCheckMaxDivisor; divisor >= 2; divisor--) {
        const float candidate = pitch / divisor;
        if (candidate < pmin) continue;
        float candidate_corr = 0.0f;
        const float refined = fractional_pitch(x, &candidate_corr, candidate, 0, pmin, pmax, len);
        pitch_multiple_check(x, &candidate_corr, refined, pmin, pmax, len);
        if (candidate_corr > threshold) {
            pitch = fractional_pitch(x, corr, refined, 0, pmin, pmax, len);
            break;
        }
    }
    pitch_multiple_check(x, corr, pitch, pmin, pmax, len);
    return pitch;
}

void final_pitch_init(FinalPitch* state) {
    state->lpf_mem = codec_alloc_floats(kPitchLpfOrder, kModule, kFinalLpfMemSite);
    state->work = codec_alloc_floats(kPitchLpfOrder + kPitchSpan, kModule, kFinalWorkSite);
}

void final_pitch_release(FinalPitch* state) {
    std::free(state->work);
    std::free(state->lpf_mem);
    state->work = nullptr;
    state->lpf_mem = nullptr;
}

float final_pitch(FinalPitch* state, const float* speech, const float* resid, float sub_pitch,
                  float pitch_avg, float* corr_out) {
    float* centre = state->work + kPitchLpfOrder + kPitchMax;
    vec_copy(state->work + kPitchLpfOrder, resid - kPitchMax, kPitchSpan);
    lowpass_pitch_span(state->work, state->lpf_mem);

    float corr = 0.0f;
    float pitch = fractional_pitch(centre, &corr, sub_pitch, kFinalSearchRange, kPitchMin,
                                   kPitchMax, kPitchWindow);
    if (corr >= kFinalVoicedCorr) {
        const float thresh = pitch > kLongPitch ? 0.5f : 0.75f;
        pitch =
            pitch_double_check(centre, &corr, pitch, thresh, kPitchMin, kPitchMax, kPitchWindow);
    } else {
        // The residual is not periodic enough: look at the speech itself.
        vec_copy(state->work + kPitchLpfOrder, speech - kPitchMax, kPitchSpan);
        pitch = fractional_pitch(centre, &corr, sub_pitch, 0, kPitchMin, kPitchMax, kPitchWindow);
        if (corr >= kFinalMinCorr) {
            const float thresh = pitch > kLongPitch ? 0.7f : 0.9f;
            pitch = pitch_double_check(centre, &corr, pitch, thresh, kPitchMin, kPitchMax,
                                       kPitchWindow);
        }
    }
    if (corr < kFinalMinCorr) pitch = pitch_avg;
    *corr_out = corr;
    return pitch;
}

void pitch_average_init(PitchAverage* state) {
    state->hist = codec_alloc_floats(kPitchHistoryLength, kModule, kPitchHistorySite);
    vec_fill(state->hist, kDefaultPitch, kPitchHistoryLength);
    state->avg = kDefaultPitch;
}

void pitch_average_release(PitchAverage* state) {
    std::free(state->hist);
    state->hist = nullptr;
}

float pitch_average_update(PitchAverage* state, float pitch, float corr, float vmin) {
    float* hist = state->hist;
    if (corr > vmin) {
        vec_copy(hist + 1, hist, kPitchHistoryLength - 1);
        hist[0] = pitch;
    } else {
        for (int i = 0; i < kPitchHistoryLength; i++) {
            hist[i] = (1.0f - kPitchAverageDecay) * kDefaultPitch + kPitchAverageDecay * hist[i];
        }
    }
    state->avg = median_small(hist, kPitchHistoryLength);
    return state->avg;
}
