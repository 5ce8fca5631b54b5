#include "melp_ana.h"

#include <cmath>

#include "codebook_prepare.h"
#include "codebooks.h"
#include "dsp_signal.h"
#include "frame_analysis.h"
#include "frame_bits.h"
#include "lpc_lib.h"
#include "scalar_quant.h"

namespace {

constexpr int kLsfQuantSite = 367;
constexpr int kHarmQuantSite = 399;
constexpr int kHarmStageLevels[] = {kHarmLevels};
constexpr int kHarmStageBits[] = {8};

// One analysis state for the process; `started` tells whether it is set up.
EncoderState state;
bool started = false;

void fill_hamming(float* w, int n) {
    const double pi = std::acos(-1.0);
    for (int i = 0; i < n; i++) {
        w[i] = static_cast<float>(0.54 - 0.46 * std::cos(2.0 * pi * i / (n - 1)));
    }
}

void quantize_frame(FrameParams* params, const SpectralAnalysis& analysis) {
    frame_params_attach(params, &state.lsf_quant, &state.harm_quant);
    lsf_quantize(params, analysis.lpc, &state.lsf_quant);
    lsf_clamp(params->lsf, kLsfMinDistance, kLpcOrder);
    pitch_quantize(&params->pitch, &params->pitch_index);
    gain_quantize(params->gain, params->gain_index, kGainMinDb, kGainMaxDb, kGainLevels);
    jitter_quantize(&params->jitter, &params->jitter_index);
    params->unvoiced =
        voicing_quantize(params->voicing, &params->voicing_index, kVoicingThreshold, kVoicingBands);
}

}  // namespace

void encoder_startup() {
    if (started) encoder_shutdown();
    voicing_init(&state.voicing);
    final_pitch_init(&state.final_pitch);
    pitch_average_init(&state.pitch_avg);
    vec_zero(state.speech, kSpeechHistory);
    frame_end_pitch_init(&state.frame_end);
    codebooks_convert_once();
    vq_description_create(&state.lsf_quant, kLsfStages, kLsfSurvivors, kLpcOrder, kLsfStageLevels,
                          kLsfStageBits, lsf_codebook, "melp_ana", kLsfQuantSite);
    vq_description_create(&state.harm_quant, 1, 1, kHarmonics, kHarmStageLevels, kHarmStageBits,
                          harm_codebook, "melp_ana", kHarmQuantSite);
    harm_weights(state.harm_weights, kHarmWeightPitch, kHarmonics);
    fill_hamming(state.lpc_window, kLpcWindowLength);
    state.unquantized = FrameParams{};
    started = true;
}

void encoder_shutdown() {
    if (!started) return;
    voicing_release(&state.voicing);
    final_pitch_release(&state.final_pitch);
    pitch_average_release(&state.pitch_avg);
    vq_description_release(&state.lsf_quant);
    vq_description_release(&state.harm_quant);
    started = false;
}

const EncoderState* encoder_state() { return started ? &state : nullptr; }

void encode_superframe(VoicePacket* packet, FrameParams* params, const int16_t* samples) {
    ChannelWords words = {};
    ChannelWord* word_pos = words;
    int bit_pos = 0;
    float frame[kFrameLength];
    for (int f = 0; f < kFramesPerSuperframe; f++) {
        for (int i = 0; i < kFrameLength; i++) frame[i] = samples[f * kFrameLength + i];
        analyze_frame(params, frame, &word_pos, &bit_pos);
    }
    for (int i = 0; i < kPayloadBytes; i++) packet->payload[i] = static_cast<uint8_t>(words[i]);
}

void analyze_frame(FrameParams* params, const float* frame, ChannelWord** word_pos, int* bit_pos) {
    params->chan_word = *word_pos;
    params->chan_bit = *bit_pos;
    SpectralAnalysis analysis;
    analyze_signal(&state, params, frame, &analysis);
    quantize_frame(params, analysis);
    analyze_harmonics(&state, params->lsf, params->pitch, params->voicing[0], params->harm_mag);
    harm_quantize(params->harm_mag, state.harm_weights, state.harm_quant.codebook, kHarmLevels,
                  state.harm_quant.indexes);
    frame_writer(params);
    advance_frame(&state);
    *word_pos = params->chan_word;
    *bit_pos = params->chan_bit;
}

void analyze_frame_unquantized(const float* frame, TrainingFrame* out) {
    FrameParams* params = &state.unquantized;
    SpectralAnalysis analysis;
    analyze_signal(&state, params, frame, &analysis);
    float weights[kLpcOrder + 1];
    lsf_weights(weights, params->lsf, analysis.lpc, kLpcOrder);
    vec_copy(out->lsf, params->lsf + 1, kLpcOrder);
    vec_copy(out->lsf_weight, weights + 1, kLpcOrder);
    out->voiced = params->voicing[0] > kVoicingThreshold;
    out->silent = analysis.silent;
    analyze_harmonics(&state, params->lsf, params->pitch, params->voicing[0], out->harm_mag);
    advance_frame(&state);
}
