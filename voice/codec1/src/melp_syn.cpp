#include "melp_syn.h"

#include "codebook_prepare.h"
#include "codebooks.h"
#include "dsp_signal.h"
#include "frame_bits.h"
#include "lpc_lib.h"
#include "mix_filters.h"
#include "noise_suppress.h"
#include "pitch_period.h"
#include "pred_to_refl.h"
#include "vq_lib.h"

namespace {

constexpr const char* kModule = "melp_syn";
constexpr int kLsfListSites = 373;   // levels, index, bits
constexpr int kHarmListSites = 407;  // levels, index, bits
constexpr int kHarmBits[1] = {8};
constexpr int kHarmLevelList[1] = {kHarmLevels};

constexpr float kLsfMinDistance = 0.0125f;  // 50 Hz
// Line spectra closer than this to each other or to 0 and 1 give no stable synthesis filter.
constexpr float kLsfUsableGap = 0.5f * kLsfMinDistance;
constexpr float kNoiseUpDb = 0.0337435f;
constexpr float kNoiseDownDb = -0.135418f;
constexpr float kNoiseFloorDb = 10.0f;
constexpr float kNoiseCeilingDb = 80.0f;
constexpr float kSuppressCeilingDb = 20.0f;
constexpr float kSuppressMaxDb = 9.0f;
constexpr float kSuppressOffsetDb = 6.0f;
constexpr float kOnsetGainDb = 6.0f;

// Shared by all decoders: the reader fills and reads back the index lists within one frame.
VqDescription lsf_quantizer;
VqDescription harm_quantizer;
float inv_harm_weights[kHarmonics];

// The tail of the last period: fewer than kMaxPeriod samples, since every period starts
// inside its frame and erased frames keep this decoder's own signal memory.
void emit_pending(CodecState* state, float* out) {
    if (state->pending > 0) vec_copy(out, state->overflow, state->pending);
}

// An erased frame repeats the previous parameters. The reader restores the whole previous
// copy, whose signal memory is a frame old (its samples already played, `pending` not yet
// reduced); keeping this decoder's own signal memory lets the frame be synthesized normally.
int read_frame(CodecState* state) {
    CodecState signal = *state;
    const int erased = frame_reader(state, state->prev);
    if (erased != 0) {
        static_cast<FrameParams&>(signal) = *state;
        *state = signal;
    }
    return erased;
}

void unweight_harmonics(CodecState* state) {
    for (int k = 0; k < kHarmonics; k++) state->harm_mag[k] *= inv_harm_weights[k];
}

void track_and_suppress_noise(CodecState* state) {
    for (float& gain : state->gain) {
        track_noise_level(gain, &state->noise_level, kNoiseUpDb, kNoiseDownDb, kNoiseFloorDb,
                          kNoiseCeilingDb);
        suppress_gain(&gain, state->noise_level, kSuppressCeilingDb, kSuppressMaxDb,
                      kSuppressOffsetDb);
    }
}

bool lsfs_usable(const float* lsf) {
    for (int k = 1; k <= kLpcOrder; k++) {
        if (!(lsf[k] - lsf[k - 1] >= kLsfUsableGap)) return false;
    }
    return lsf[kLpcOrder] <= 1.0f - kLsfUsableGap;
}

// Damaged or foreign payloads can decode to line spectra outside (0, 1) or piled together,
// whose synthesis filter would be unstable and fill the output with infinities. Such a frame
// keeps the previous frame's spectrum, which is always usable.
void clamp_lsfs(CodecState* state) {
    lsf_clamp(state->lsf, kLsfMinDistance, kLpcOrder);
    if (!lsfs_usable(state->lsf)) vec_copy(state->lsf, state->prev->lsf, kLpcOrder + 1);
}

// Half the first reflection coefficient when the spectrum falls towards high frequencies.
float spectral_tilt(CodecState* state) {
    float lpc[kLpcOrder + 1];
    lpc[0] = 1.0f;
    lsf_to_pred(state->lsf, lpc, kLpcOrder);
    pred_to_refl(lpc, state->refl_work, kLpcOrder);
    const float k1 = state->refl_work[1];
    return k1 < 0.0f ? 0.5f * k1 : 0.0f;
}

// A sudden loud onset at a much shorter pitch starts at that pitch rather than gliding to it.
void apply_onset_rule(CodecState* state) {
    CodecState* prev = state->prev;
    if (state->pitch < 0.5f * prev->pitch && state->gain[0] > prev->gain[1] + kOnsetGainDb) {
        prev->pitch = state->pitch;
    }
}

void finish_frame(CodecState* state, const FrameSynthValues& frame) {
    vec_copy(state->prev_pulse_mix, frame.pulse_mix, kMixTaps);
    vec_copy(state->prev_noise_mix, frame.noise_mix, kMixTaps);
    *state->prev = *state;
    state->pending -= kFrameLength;
    state->last_tilt = frame.tilt;
}

}  // namespace

void synth_startup() {
    vq_description_create(&lsf_quantizer, kLsfStages, kLsfSurvivors, kLpcOrder, kLsfStageLevels,
                          kLsfStageBits, lsf_codebook, kModule, kLsfListSites);
    vq_description_create(&harm_quantizer, 1, 1, kHarmonics, kHarmLevelList, kHarmBits,
                          harm_codebook, kModule, kHarmListSites);
    codebooks_convert_once();
    float weights[kHarmonics];
    harm_weights(weights, kHarmWeightPitch, kHarmonics);
    for (int k = 0; k < kHarmonics; k++) inv_harm_weights[k] = 1.0f / weights[k];
}

void synth_shutdown() {
    vq_description_release(&lsf_quantizer);
    vq_description_release(&harm_quantizer);
}

void synth_frame(CodecState* state, float* out, ChannelWord** chan_word, int* chan_bit) {
    state->chan_word = *chan_word;
    state->chan_bit = *chan_bit;
    emit_pending(state, out);
    frame_params_attach(state, &lsf_quantizer, &harm_quantizer);
    const int erased = read_frame(state);
    if (state->unvoiced != 1 && erased == 0) unweight_harmonics(state);
    if (state->first_frame != 0) {
        state->first_frame = 0;
        state->noise_level = state->gain[1];
    } else if (erased == 0) {
        track_and_suppress_noise(state);
    }
    clamp_lsfs(state);

    FrameSynthValues frame;
    frame.tilt = spectral_tilt(state);
    apply_onset_rule(state);
    build_mix_filters(state->voicing, frame.pulse_mix, frame.noise_mix);
    while (state->pending < kFrameLength) synth_period(state, frame, out);
    finish_frame(state, frame);
    *chan_word = state->chan_word;
    *chan_bit = state->chan_bit;
}

void decode_superframe(const VoicePacket* packet, CodecState* state, float* out) {
    if (packet->last == 1) {
        vec_zero(out, kSuperframeSamples);
        return;
    }
    ChannelWord words[kPayloadBytes];
    for (int i = 0; i < kPayloadBytes; i++) words[i] = packet->payload[i];
    ChannelWord* word = words;
    int bit = 0;
    for (int frame = 0; frame < kFramesPerSuperframe; frame++) {
        synth_frame(state, out + frame * kFrameLength, &word, &bit);
    }
}
