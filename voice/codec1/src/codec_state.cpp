#include "codec_state.h"

#include <new>

#include "dsp_signal.h"

namespace {

constexpr float kResetPitch = 50.0f;
constexpr float kResetNoiseLevel = 10.0f;  // dB
// Evenly spaced LSFs k/11: the spectrum of a flat predictor.
constexpr float kResetLsfStep = 1.0f / 11.0f;
// The noise mixing filter of the previous frame starts as a pure delay of this many samples,
// the group delay of the band filters.
constexpr int kMixDelay = kMixOrder / 2;

void reset_previous_params(CodecState* prev) {
    prev->gain[0] = 0.0f;
    prev->gain[1] = 0.0f;
    prev->pitch = kResetPitch;
    prev->lsf[0] = 0.0f;
    for (int k = 1; k <= kLpcOrder; k++) prev->lsf[k] = prev->lsf[k - 1] + kResetLsfStep;
    prev->jitter = 0.0f;
    vec_zero(prev->voicing, kVoicingBands);
    vec_fill(prev->harm_mag, 1.0f, kHarmonics);
}

}  // namespace

CodecState* codec_state_create() {
    CodecState* state = new (std::nothrow) CodecState{};
    CodecState* prev = new (std::nothrow) CodecState{};
    if (state == nullptr || prev == nullptr) {
        delete prev;
        delete state;
        return nullptr;
    }
    state->prev = prev;
    codec_state_reset(state);
    return state;
}

void codec_state_destroy(CodecState* state) {
    if (state == nullptr) return;
    delete state->prev;
    delete state;
}

void codec_state_reset(CodecState* state) {
    CodecState* prev = state->prev;
    *state = CodecState{};
    state->prev = prev;
    reset_previous_params(prev);
    state->prev_noise_mix[kMixDelay] = 1.0f;
    state->noise_level = kResetNoiseLevel;
    state->first_frame = 1;
}
