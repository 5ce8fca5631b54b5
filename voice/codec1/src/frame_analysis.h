// The steps of one frame's analysis that the coded and the training paths share.
#pragma once

#include "melp_ana.h"

// Smallest distance of neighbouring LSFs before and after quantization (50 Hz).
constexpr float kLsfMinDistance = 0.0125f;

// Unquantized spectral results of one frame.
struct SpectralAnalysis {
    float lpc[kLpcOrder + 1];  // bandwidth-expanded predictor, a[0] = 1
    int silent;                // the silence gate skipped pitch and voicing
};

// DC removal, silence gate, voicing, jitter, LPC, peakiness, pitch, gains, pitch average and
// LSFs of the 180 new samples; params->lsf keeps the previous values where roots are missing.
void analyze_signal(EncoderState* state, FrameParams* params, const float* frame,
                    SpectralAnalysis* out);

// Harmonic magnitudes of the residual of the LSF filter (1.0 each for unvoiced frames and in
// the low-CPU mode).
void analyze_harmonics(const EncoderState* state, const float* lsf, float pitch, float voicing,
                       float* harm_mag);

// Moves the history on by one frame.
void advance_frame(EncoderState* state);
