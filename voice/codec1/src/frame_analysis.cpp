#include "frame_analysis.h"

#include "dsp_signal.h"
#include "low_mips.h"
#include "lpc_lib.h"
#include "melp_sub.h"

namespace {

constexpr int kPitchWindowStart = kAnalysisPoint - kAnalysisHalfWindow;  // 90
constexpr float kSilenceLogEnergy = 13.0f;
constexpr float kJitterVoicing = 0.5f;
constexpr float kJitter = 0.25f;
constexpr float kBandwidthExpansion = 0.994f;
constexpr int kPeakinessStart = kAnalysisHalfWindow - kCorrelationWindow / 2;  // 80
constexpr float kPeakyLow = 1.34f;
constexpr float kPeakyAll = 1.6f;
constexpr float kGainVoicing = 0.6f;
constexpr int kGainCentre = 160;
constexpr int kGainCentreStep = 90;
constexpr float kVoicedMinWindow = 120.0f;
constexpr float kUnvoicedWindow = 119.2f;
constexpr int kGainMaxWindow = 320;
constexpr float kConfidentGain = 30.0f;
constexpr float kPitchAverageVoicing = 0.8f;
constexpr float kHarmonicVoicing = 0.6f;

// Not reset by start-up: the highpass runs on across codec restarts.
float dc_mem[kDcOrder] = {};

void analyze_pitch_and_voicing(EncoderState* state, FrameParams* params, float* sub_pitch,
                               int* silent) {
    float* new_samples = state->speech + kSpeechNew;
    *silent = frame_log_energy(new_samples, kFrameLength) < kSilenceLogEnergy;
    if (*silent) {
        frame_end_pitch_quiet(&state->frame_end);
        *sub_pitch = kDefaultPitch;
        vec_zero(params->voicing, kVoicingBands);
        return;
    }
    const float* centre = state->speech + kAnalysisPoint;
    frame_end_pitch_estimate(&state->frame_end, centre);
    voicing_analysis(&state->voicing, centre, state->frame_end.estimate, params->voicing,
                     sub_pitch);
}

void analyze_lpc(const EncoderState* state, float* a) {
    float windowed[kLpcWindowLength];
    vec_mult(state->speech + kLpcWindowStart, state->lpc_window, windowed, kLpcWindowLength);
    float r[kLpcOrder + 1];
    autocorr(windowed, r, kLpcOrder, kLpcWindowLength);
    lpc_from_autocorr(r, a, nullptr, kLpcOrder);
    a[0] = 1.0f;
    bw_expand(a, a, kBandwidthExpansion, kLpcOrder);
}

// A peaky residual marks a voiced frame whose pulses correlate poorly (e.g. jittery onsets).
void apply_peakiness(const float* residual, float* voicing) {
    const float peaky = peakiness(residual + kPeakinessStart, kCorrelationWindow);
    if (peaky > kPeakyLow) voicing[0] = 1.0f;
    if (peaky > kPeakyAll) {
        voicing[1] = 1.0f;
        voicing[2] = 1.0f;
    }
}

void measure_gains(const EncoderState* state, FrameParams* params, float sub_pitch) {
    for (int i = 0; i < 2; i++) {
        const float* centre = state->speech + kGainCentre + kGainCentreStep * i;
        // Voiced windows span whole pitch periods so the gain does not ripple with the pitch.
        params->gain[i] = params->voicing[0] > kGainVoicing
                              ? gain_measure(centre, sub_pitch, kVoicedMinWindow, kGainMaxWindow)
                              : gain_measure(centre, kUnvoicedWindow, 0.0f, kGainMaxWindow);
    }
}

}  // namespace

void analyze_signal(EncoderState* state, FrameParams* params, const float* frame,
                    SpectralAnalysis* out) {
    dc_block(frame, state->speech + kSpeechNew, dc_mem, kFrameLength);

    float sub_pitch = kDefaultPitch;
    analyze_pitch_and_voicing(state, params, &sub_pitch, &out->silent);
    params->jitter = params->voicing[0] < kJitterVoicing ? kJitter : 0.0f;

    analyze_lpc(state, out->lpc);
    float residual[kAnalysisWindow];
    fir_filter(state->speech + kPitchWindowStart, out->lpc, residual, kLpcOrder, kAnalysisWindow);
    apply_peakiness(residual, params->voicing);

    float corr = 0.0f;
    params->pitch =
        final_pitch(&state->final_pitch, state->speech + kAnalysisPoint,
                    residual + kAnalysisHalfWindow, sub_pitch, state->pitch_avg.avg, &corr);
    measure_gains(state, params, sub_pitch);
    pitch_average_update(&state->pitch_avg, params->pitch,
                         params->gain[1] > kConfidentGain ? corr : 0.0f, kPitchAverageVoicing);

    pred_to_lsf(out->lpc, params->lsf, kLpcOrder);
    lsf_clamp(params->lsf, kLsfMinDistance, kLpcOrder);
}

void analyze_harmonics(const EncoderState* state, const float* lsf, float pitch, float voicing,
                       float* harm_mag) {
    vec_fill(harm_mag, 1.0f, kHarmonics);
    if (low_mips_active() || voicing <= kHarmonicVoicing) return;
    float a[kLpcOrder + 1];
    lsf_to_pred(lsf, a, kLpcOrder);
    a[0] = 1.0f;
    float residual[kLpcWindowLength];
    fir_filter(state->speech + kLpcWindowStart, a, residual, kLpcOrder, kLpcWindowLength);
    vec_mult(residual, state->lpc_window, residual, kLpcWindowLength);
    harmonic_magnitudes(residual, harm_mag, pitch, kHarmonics, kLpcWindowLength);
}

void advance_frame(EncoderState* state) {
    vec_copy(state->speech, state->speech + kFrameLength, kSpeechNew);
    frame_end_pitch_advance(&state->frame_end);
}
