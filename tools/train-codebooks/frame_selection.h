// Which analysed frames each codebook learns from and is measured on. A frame with a value that
// is not finite is left out: one such value would spoil every centroid it reaches.
#pragma once

#include <cmath>

#include "melp_ana.h"

inline bool all_finite(const float* v, int n) {
    for (int i = 0; i < n; i++) {
        if (!std::isfinite(v[i])) return false;
    }
    return true;
}

// Frames the LSF quantizer codes from an analysis of their own.
inline bool codes_lsf(const TrainingFrame& f) {
    return !f.silent && all_finite(f.lsf, kLpcOrder) && all_finite(f.lsf_weight, kLpcOrder);
}

// Frames whose harmonic magnitudes the coder searches the codebook for.
inline bool codes_harm(const TrainingFrame& f) {
    return !f.silent && f.voiced && all_finite(f.harm_mag, kHarmonics);
}
