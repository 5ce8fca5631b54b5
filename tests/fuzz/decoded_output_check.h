// What decoding any payload must give: finite samples within the decoder's stated limit.
#pragma once

#include <cmath>

#include "melp_syn.h"

// Index of the first sample that is not finite or exceeds the limit, or -1.
inline int first_bad_sample(const float* out) {
    for (int i = 0; i < kSuperframeSamples; i++) {
        if (!std::isfinite(out[i]) || std::fabs(out[i]) > kDecodedSampleLimit) return i;
    }
    return -1;
}
