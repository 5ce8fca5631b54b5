#include "noise_suppress.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr float kUp = 0.0337435f;
constexpr float kDown = -0.135418f;

TEST(TrackNoiseLevelTest, FollowsWithinStepsAndLimits) {
    const struct {
        const char* name;
        float g;
        float level;
        float expected;
    } cases[] = {
        {"small rise followed", 30.01f, 30.0f, 30.01f},
        {"loud speech rises slowly", 70.0f, 30.0f, 30.0f + kUp},
        {"silence falls slowly", 10.0f, 30.0f, 30.0f + kDown},
        {"floor", 5.0f, 10.05f, 10.0f},
        {"ceiling", 90.0f, 80.0f, 80.0f},
    };
    for (const auto& c : cases) {
        float level = c.level;
        track_noise_level(c.g, &level, kUp, kDown, 10.0f, 80.0f);
        EXPECT_FLOAT_EQ(level, c.expected) << c.name;
    }
}

TEST(SuppressGainTest, AttenuatesNearTheNoiseOnly) {
    const struct {
        const char* name;
        float g;
        float level;
        float attenuation;
    } cases[] = {
        {"at the noise: full attenuation", 26.0f, 20.0f, 9.0f},
        {"below the noise: full attenuation", 12.0f, 20.0f, 9.0f},
        // d = 10 dB: -10 log10(1 - 0.1)
        {"10 dB above", 36.0f, 20.0f, 0.457575f},
        {"the noise counts at most 20 dB", 36.0f, 30.0f, 0.457575f},
        {"far above: almost nothing", 76.0f, 10.0f, 4.3e-5f},
    };
    for (const auto& c : cases) {
        float g = c.g;
        suppress_gain(&g, c.level, 20.0f, 9.0f, 6.0f);
        EXPECT_NEAR(c.g - g, c.attenuation, 1e-4) << c.name;
    }
}

}  // namespace
