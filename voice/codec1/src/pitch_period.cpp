#include "pitch_period.h"

#include <algorithm>
#include <cmath>

#include "dispersion_filter.h"
#include "dsp_signal.h"
#include "low_mips.h"
#include "lpc_lib.h"
#include "melp_syn.h"
#include "real_idft.h"
#include "scale_period.h"
#include "synth_interp.h"
#include "uniform_noise.h"

namespace {

constexpr int kHalfFrame = kFrameLength / 2;
constexpr int kMinPeriod = kPitchMin;
// A gain jump above this makes the parameters follow the gain instead of time.
constexpr float kGainJumpDb = 6.0f;
constexpr float kEnhanceStartDb = 12.0f;  // above the noise level
constexpr float kEnhanceFullDb = 30.0f;
constexpr float kEnhanceZeroExpansion = 0.5f;
constexpr float kEnhancePoleExpansion = 0.8f;
constexpr double kPulseScale = 1000.0;
constexpr int kPulseDelay = 10;
constexpr float kNoiseAmplitude = 1732.0f;  // RMS about 1000, like the pulse

// The values of one period, interpolated between the previous and this frame.
struct PeriodValues {
    float gain_db;
    float factor;       // follows the gain when it jumps, else the time
    float time_factor;  // position in the frame
    float lpc[kLpcOrder + 1];
    float enhance_zero[kLpcOrder + 1];
    float enhance_pole[kLpcOrder + 1];
    float tilt[2];
    float pitch;
    float pulse_mix[kMixTaps];
    float noise_mix[kMixTaps];
    float linear_gain;
    int length;
};

float log_gain_at(const CodecState& state, int t) {
    const double start = state.prev->gain[1];
    if (t < kHalfFrame) {
        const double x = static_cast<double>(t) / kHalfFrame;
        return static_cast<float>(x * state.gain[0] + (1.0 - x) * start);
    }
    const double u = static_cast<double>(t - kHalfFrame) / kHalfFrame;
    return static_cast<float>((1.0 - u) * state.gain[0] + u * state.gain[1]);
}

float parameter_factor(const CodecState& state, float gain_db, float time_factor) {
    const double start = state.prev->gain[1];
    const double jump = state.gain[1] - start;
    if (std::fabs(jump) <= kGainJumpDb) return time_factor;
    return static_cast<float>(std::clamp((gain_db - start) / jump, 0.0, 1.0));
}

int period_length(const CodecState& state, float time_factor, float pitch) {
    const CodecState& prev = *state.prev;
    const double jitter = (1.0 - time_factor) * prev.jitter + time_factor * state.jitter;
    float r;
    uniform_noise(&r, 1.0f, 1);
    const int length = static_cast<int>((1.0 - jitter * r) * pitch + 0.5);
    return std::clamp(length, kMinPeriod, kMaxPeriod);
}

PeriodValues period_values(const CodecState& state, const FrameSynthValues& frame) {
    const CodecState& prev = *state.prev;
    PeriodValues v;
    v.time_factor = static_cast<float>(state.pending * (1.0 / kFrameLength));
    v.gain_db = log_gain_at(state, state.pending);
    v.factor = parameter_factor(state, v.gain_db, v.time_factor);
    const float f = v.factor;

    float lsf[kLpcOrder + 1];
    interp_vectors(prev.lsf, state.lsf, f, lsf, kLpcOrder + 1);
    v.lpc[0] = 1.0f;
    lsf_to_pred(lsf, v.lpc, kLpcOrder);

    const float strength = bounded_ramp(v.gain_db, state.noise_level + kEnhanceStartDb,
                                        state.noise_level + kEnhanceFullDb, 0.0f, 1.0f);
    v.enhance_zero[0] = 1.0f;
    bw_expand(v.lpc, v.enhance_zero, kEnhanceZeroExpansion * strength, kLpcOrder);
    v.enhance_pole[0] = 1.0f;
    bw_expand(v.lpc, v.enhance_pole, kEnhancePoleExpansion * strength, kLpcOrder);
    v.tilt[0] = 1.0f;
    v.tilt[1] = static_cast<float>(strength * ((1.0 - f) * state.last_tilt + f * frame.tilt));

    v.pitch = static_cast<float>((1.0 - f) * prev.pitch + static_cast<double>(f) * state.pitch);
    const float mix_factor = std::sqrt(v.time_factor);
    interp_vectors(state.prev_pulse_mix, frame.pulse_mix, mix_factor, v.pulse_mix, kMixTaps);
    interp_vectors(state.prev_noise_mix, frame.noise_mix, mix_factor, v.noise_mix, kMixTaps);
    v.linear_gain = static_cast<float>(std::pow(10.0, 0.05 * v.gain_db));
    v.length = period_length(state, v.time_factor, v.pitch);
    return v;
}

// One pitch pulse, delayed by kPulseDelay samples so that its filters see it whole.
void make_pulse(CodecState* state, const PeriodValues& v, bool low_mips, float* period) {
    const int n = v.length;
    if (low_mips) {
        vec_zero(period, n);
        period[0] = 1.0f;
    } else {
        float* spectrum = state->harm_buf;
        vec_fill(spectrum, 1.0f, n);
        spectrum[0] = 0.0f;
        interp_vectors(state->prev->harm_mag, state->harm_mag, v.factor, spectrum + 1, kHarmonics);
        real_idft(spectrum, period, n);
    }
    float* copy = state->harm_buf;
    vec_copy(copy, period, n);
    vec_copy(period + kPulseDelay, copy, n - kPulseDelay);
    vec_copy(period, copy + n - kPulseDelay, kPulseDelay);
    vec_scale(period, static_cast<float>(kPulseScale * std::sqrt(v.pitch)), n);
}

// FIR filtering in place with the input history kept in hist.
void fir_with_history(float* x, float* hist, const float* taps, int order, int n) {
    vec_copy(x - order, hist, order);
    vec_copy(hist, x + n - order, order);
    fir_filter(x, taps, x, order, n);
}

// All-pole filtering in place with the output history kept in hist.
void all_pole_with_history(float* x, float* hist, const float* a, int order, int n) {
    vec_copy(x - order, hist, order);
    all_pole_filter(x, a, x, order, n);
    vec_copy(hist, x + n - order, order);
}

void add_noise(CodecState* state, const PeriodValues& v, float* period) {
    float* noise = state->noise_buf + kNoiseHistory;
    uniform_noise(noise, kNoiseAmplitude, v.length);
    fir_with_history(noise, state->noise_hist, v.noise_mix, kMixOrder, v.length);
    add_vectors(period, noise, v.length);
}

void enhance(CodecState* state, const PeriodValues& v, float* period) {
    const int n = v.length;
    all_pole_with_history(period, state->ase_hist, v.enhance_pole, kLpcOrder, n);
    // The zero filter's input history is the pole filter's previous output, still in front.
    fir_filter(period, v.enhance_zero, period, kLpcOrder, n);
    fir_with_history(period, state->tilt_hist, v.tilt, 1, n);
}

// Abrupt gain changes of damaged payloads can carry a loud period's scale into the ramp of a
// quiet one; the limit keeps such clicks within what the host can convert.
void copy_limited(float* dst, const float* src, int n) {
    for (int i = 0; i < n; i++)
        dst[i] = std::clamp(src[i], -kDecodedSampleLimit, kDecodedSampleLimit);
}

void emit(CodecState* state, const float* period, int n, float* out) {
    const int t = state->pending;
    const int in_frame = std::min(n, kFrameLength - t);
    copy_limited(out + t, period, in_frame);
    copy_limited(state->overflow, period + in_frame, n - in_frame);
    state->pending = t + n;
}

}  // namespace

void synth_period(CodecState* state, const FrameSynthValues& frame, float* out) {
    const PeriodValues v = period_values(*state, frame);
    const int n = v.length;
    // Read once: the wizard may switch the flag while a frame is synthesized.
    const bool low_mips = low_mips_active() != 0;
    float* period = state->period_buf + kPeriodHistory;
    make_pulse(state, v, low_mips, period);
    fir_with_history(period, state->pulse_hist, v.pulse_mix, kMixOrder, n);
    add_noise(state, v, period);
    enhance(state, v, period);
    all_pole_with_history(period, state->lpc_hist, v.lpc, kLpcOrder, n);
    scale_period(period, v.linear_gain, &state->last_scale, n);
    if (!low_mips) {
        fir_with_history(period, state->disp_hist, dispersion_filter, kDispersionOrder, n);
    }
    emit(state, period, n, out);
}
