#include "scale_period.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

TEST(ScalePeriodTest, ScalesToTheGainAfterARampFromTheLastFactor) {
    const int n = 40;
    std::vector<float> s(n, 2.0f);  // RMS 2
    float last = 1.0f;
    scale_period(s.data(), 100.0f, &last, n);

    const double x = 100.0 / (2.0 + 0.01);
    EXPECT_NEAR(last, x, 1e-3);
    for (int i = 1; i <= 9; i++) {
        EXPECT_NEAR(s[static_cast<std::size_t>(i - 1)], 2.0 * ((10 - i) * 1.0 + i * x) / 10, 1e-3)
            << "ramp " << i;
    }
    for (int i = 9; i < n; i++) EXPECT_NEAR(s[static_cast<std::size_t>(i)], 2.0 * x, 1e-3);
}

TEST(ScalePeriodTest, SilentPeriodStaysFinite) {
    std::vector<float> s(20, 0.0f);
    float last = 0.0f;
    scale_period(s.data(), 5000.0f, &last, 20);
    EXPECT_NEAR(last, 5000.0f / 0.01f, 1.0f);
    for (float v : s) EXPECT_EQ(v, 0.0f);
}

}  // namespace
