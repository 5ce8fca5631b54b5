// Trained codebooks. The LSF codebook is stored in Hz (stages of 128, 64, 64 and 64 vectors
// of 10, back to back); the harmonic-magnitude codebook holds 256 vectors of 10 magnitudes.
// Both are converted once per process by the encoder's start-up.
#pragma once

#include "melp_types.h"

constexpr int kLsfCodebookSize = (128 + 64 + 64 + 64) * kLpcOrder;  // 3200
constexpr int kHarmCodebookSize = kHarmLevels * kHarmonics;         // 2560

extern float lsf_codebook[kLsfCodebookSize];
extern float harm_codebook[kHarmCodebookSize];
