#include "uniform_noise.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

TEST(UniformNoiseTest, StaysWithinTheAmplitudeAndHasTheUniformRms) {
    std::srand(7);
    const int n = 20000;
    std::vector<float> v(n);
    uniform_noise(v.data(), 1732.0f, n);
    double sum = 0.0;
    double energy = 0.0;
    for (float x : v) {
        EXPECT_LE(std::abs(x), 1732.0f);
        sum += x;
        energy += static_cast<double>(x) * x;
    }
    EXPECT_NEAR(sum / n, 0.0, 30.0);
    EXPECT_NEAR(std::sqrt(energy / n), 1000.0, 20.0);
}

}  // namespace
