// Encoder entry: start-up, shut-down, the low-MIPS switch and the analysis of one frame.
#pragma once

#include <cstdint>

#include "melp_types.h"
#include "voice_packet.h"

// Unquantized result of analysing one frame, collected to train the codebooks.
struct TrainingFrame {
    float lsf[kLpcOrder];         // LSFs 1..10 after the pre-quantization clamp, normalized
    float lsf_weight[kLpcOrder];  // the weights the LSF quantizer's distance uses for this frame
    float harm_mag[kHarmonics];   // harmonic magnitudes as analysed, before weighting
    int voiced;                   // 1 when the frame would be coded voiced
    int silent;                   // 1 when the silence gate skipped the analysis
};

// Runs the same analysis as analyze_frame up to, not including, quantization, advancing the
// process-wide analysis state the same way. Requires encoder_startup.
void analyze_frame_unquantized(const float* frame, TrainingFrame* out);
