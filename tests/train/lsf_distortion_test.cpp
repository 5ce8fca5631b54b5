#include "lsf_distortion.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// LSFs 1..10 (entry 0 unused) of an ordinary vowel-like envelope.
constexpr float kLsf[11] = {0.0f,   0.0875f, 0.125f,  0.1625f, 0.25f,  0.4625f,
                            0.525f, 0.6f,    0.6875f, 0.775f,  0.8375f};

TEST(SpectralDistortion, ZeroForTheSameLsfsAndGrowingWithTheShift) {
    EXPECT_NEAR(lsf_spectral_distortion(kLsf, kLsf, 10, 4000.0), 0.0, 1e-9);
    double previous = 0.0;
    for (float shift : {0.002f, 0.005f, 0.01f}) {
        float moved[11];
        std::copy(kLsf, kLsf + 11, moved);
        moved[4] += shift;
        const double sd = lsf_spectral_distortion(kLsf, moved, 10, 4000.0);
        EXPECT_GT(sd, previous) << shift;
        EXPECT_NEAR(sd, lsf_spectral_distortion(moved, kLsf, 10, 4000.0), 1e-3 * sd);
        previous = sd;
    }
}

TEST(SpectralDistortion, ABandBelowTheChangeSeesLess) {
    float moved[11];
    std::copy(kLsf, kLsf + 11, moved);
    moved[10] += 0.02f;  // about 3350 Hz to 3430 Hz
    EXPECT_LT(lsf_spectral_distortion(kLsf, moved, 10, 3000.0),
              lsf_spectral_distortion(kLsf, moved, 10, 4000.0));
}

TEST(DistortionSummary, MeanAndSharesAboveTheThresholds) {
    // 2 dB and 4 dB themselves are not above.
    const DistortionSummary s = summarize_distortion({0.5, 2.0, 2.5, 4.0, 6.0});
    EXPECT_DOUBLE_EQ(s.mean_db, 3.0);
    EXPECT_DOUBLE_EQ(s.share_above_2db, 0.6);
    EXPECT_DOUBLE_EQ(s.share_above_4db, 0.2);
    const DistortionSummary none = summarize_distortion({});
    EXPECT_EQ(none.mean_db, 0.0);
    EXPECT_EQ(none.share_above_2db, 0.0);
}

}  // namespace
