#include "codebook_prepare.h"

#include <gtest/gtest.h>

#include "codebooks.h"
#include "vq_lib.h"

// Fixture codebooks in place of the trained tables: every LSF is 4000 Hz, every magnitude 1.
float lsf_codebook[kLsfCodebookSize];
float harm_codebook[kHarmCodebookSize];

namespace {

TEST(CodebooksConvertOnce, NormalizesAndWeightsTheTablesExactlyOnce) {
    for (float& v : lsf_codebook) v = 4000.0f;
    for (float& v : harm_codebook) v = 1.0f;
    float weights[kHarmonics];
    harm_weights(weights, kHarmWeightPitch, kHarmonics);
    for (int round = 0; round < 3; ++round) {
        codebooks_convert_once();
        EXPECT_FLOAT_EQ(lsf_codebook[0], 1.0f) << round;
        EXPECT_FLOAT_EQ(lsf_codebook[kLsfCodebookSize - 1], 1.0f) << round;
        for (int v : {0, kHarmLevels - 1}) {
            for (int k = 0; k < kHarmonics; ++k) {
                EXPECT_FLOAT_EQ(harm_codebook[v * kHarmonics + k], weights[k]) << round;
            }
        }
    }
}

}  // namespace
