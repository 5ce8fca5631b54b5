#include "codebook_prepare.h"

#include "codebooks.h"
#include "vq_lib.h"

namespace {

constexpr float kHzToNormalized = 0.00025f;  // 1 / 4000 Hz

// Both start-ups ask; the tables must be converted exactly once per process.
bool converted = false;

}  // namespace

void codebooks_convert_once() {
    if (converted) return;
    converted = true;
    for (float& value : lsf_codebook) value *= kHzToNormalized;
    float weights[kHarmonics];
    harm_weights(weights, kHarmWeightPitch, kHarmonics);
    for (int v = 0; v < kHarmLevels; ++v) {
        for (int k = 0; k < kHarmonics; ++k) harm_codebook[v * kHarmonics + k] *= weights[k];
    }
}
