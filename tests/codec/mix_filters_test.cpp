#include "mix_filters.h"

#include <gtest/gtest.h>

#include "dispersion_filter.h"

namespace {

double filter_sum(const float* taps, int n) {
    double sum = 0.0;
    for (int i = 0; i < n; i++) sum += taps[i];
    return sum;
}

TEST(BandFiltersTest, AreSymmetricAndSumToADelayOfSixteen) {
    for (int n = 0; n < kMixTaps; n++) {
        double sum = 0.0;
        for (int band = 0; band < kVoicingBands; band++) {
            EXPECT_EQ(band_filter_tap(band, n), band_filter_tap(band, kMixOrder - n));
            sum += band_filter_tap(band, n);
        }
        EXPECT_NEAR(sum, n == 16 ? 1.0 : 0.0, 0.02) << "tap " << n;
    }
}

TEST(BandFiltersTest, OnlyTheLowestBandPassesDc) {
    for (int band = 0; band < kVoicingBands; band++) {
        double dc = 0.0;
        for (int n = 0; n < kMixTaps; n++) dc += band_filter_tap(band, n);
        EXPECT_NEAR(dc, band == 0 ? 1.0 : 0.0, 0.01) << "band " << band;
    }
}

struct MixCase {
    const char* name;
    float voicing[kVoicingBands];
    bool voiced[kVoicingBands];
};

TEST(BuildMixFiltersTest, VoicedBandsShapeThePulseTheOthersTheNoise) {
    const MixCase cases[] = {
        {"all voiced", {1, 1, 1, 1, 1}, {true, true, true, true, true}},
        {"all unvoiced", {0, 0, 0, 0, 0}, {false, false, false, false, false}},
        {"exactly one half is unvoiced",
         {0.5f, 0.51f, 0.5f, 1, 0},
         {false, true, false, true, false}},
        {"low bands voiced", {1, 1, 0, 0, 0}, {true, true, false, false, false}},
    };
    for (const MixCase& c : cases) {
        float pulse[kMixTaps];
        float noise[kMixTaps];
        build_mix_filters(c.voicing, pulse, noise);
        for (int n = 0; n < kMixTaps; n++) {
            float expected_pulse = 0.0f;
            float expected_noise = 0.0f;
            for (int band = 0; band < kVoicingBands; band++) {
                (c.voiced[band] ? expected_pulse : expected_noise) += band_filter_tap(band, n);
            }
            EXPECT_FLOAT_EQ(pulse[n], expected_pulse) << c.name << " tap " << n;
            EXPECT_FLOAT_EQ(noise[n], expected_noise) << c.name << " tap " << n;
        }
    }
}

TEST(BuildMixFiltersTest, AllVoicedLeavesNoNoiseAtAll) {
    const float voicing[kVoicingBands] = {1, 1, 1, 1, 1};
    float pulse[kMixTaps];
    float noise[kMixTaps];
    build_mix_filters(voicing, pulse, noise);
    for (float tap : noise) EXPECT_EQ(tap, 0.0f);
}

TEST(DispersionFilterTest, HasUnitSumAndUnitEnergy) {
    double energy = 0.0;
    for (float tap : dispersion_filter) energy += static_cast<double>(tap) * tap;
    EXPECT_NEAR(filter_sum(dispersion_filter, kDispersionOrder + 1), 1.0, 1e-3);
    EXPECT_NEAR(energy, 1.0, 1e-3);
}

}  // namespace
