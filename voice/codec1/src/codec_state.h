// The per-instance memory of the codec: this frame's parameters followed by the decoder's
// signal memory. A record and its previous-frame copy have the same layout; the current block
// points at the copy through `prev`.
#pragma once

#include <memory>

#include "melp_types.h"

constexpr int kMixTaps = 33;             // mixing filters, order 32
constexpr int kMixOrder = kMixTaps - 1;  // 32
constexpr int kMaxPeriod = kPitchMax;    // longest synthesized pitch period
constexpr int kOverflowSize = 2 * kFrameLength;
constexpr int kPeriodHistory = 64;  // filter history slots in front of a period
constexpr int kNoiseHistory = 32;
constexpr int kDispersionOrder = 64;
constexpr int kReflWorkSize = 32;

struct CodecState : FrameParams {
    float prev_pulse_mix[kMixTaps];
    float prev_noise_mix[kMixTaps];
    float last_tilt;
    int first_frame;
    float overflow[kOverflowSize];  // samples of the last period that belong to the next frame
    int pending;                    // number of samples in overflow
    float last_scale;
    float noise_level;  // background noise estimate, dB
    float pulse_hist[kMixOrder];
    float noise_hist[kMixOrder];
    float lpc_hist[kLpcOrder];
    float ase_hist[kLpcOrder];
    float tilt_hist[1];
    float disp_hist[kDispersionOrder];
    float period_buf[kPeriodHistory + kMaxPeriod];
    float refl_work[kReflWorkSize];  // entries 1..10 used
    float noise_buf[kNoiseHistory + kMaxPeriod];
    float harm_buf[kMaxPeriod];
};

// Both blocks zeroed, linked and reset; null (and nothing allocated) when memory runs out.
CodecState* codec_state_create();
// Releases the previous-frame block, then the current block.
void codec_state_destroy(CodecState* state);
// Start values: silence-like previous parameters and empty signal memory; keeps the link.
void codec_state_reset(CodecState* state);

// Owns a record made by codec_state_create.
struct CodecStateDeleter {
    void operator()(CodecState* state) const { codec_state_destroy(state); }
};
using CodecStatePtr = std::unique_ptr<CodecState, CodecStateDeleter>;
