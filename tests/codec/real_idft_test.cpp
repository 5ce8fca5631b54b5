#include "real_idft.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// The zero-phase inverse transform of a real even spectrum, computed directly.
std::vector<double> reference_idft(const std::vector<float>& magnitudes, int n) {
    const double pi = std::acos(-1.0);
    std::vector<double> x(static_cast<std::size_t>(n));
    for (int i = 0; i < n; i++) {
        double sum = 0.0;
        for (int k = 0; k < n; k++) {
            const int harmonic = k <= n / 2 ? k : n - k;
            sum += magnitudes[static_cast<std::size_t>(harmonic)] * std::cos(2.0 * pi * k * i / n);
        }
        x[static_cast<std::size_t>(i)] = sum / n;
    }
    return x;
}

TEST(RealIdftTest, MatchesTheFullInverseTransform) {
    for (int n : {20, 21, 60, 99, 160}) {
        std::vector<float> spectrum(static_cast<std::size_t>(n), 1.0f);
        spectrum[0] = 0.0f;
        for (int k = 1; k <= 10; k++) spectrum[static_cast<std::size_t>(k)] = 0.2f * k;
        const std::vector<double> expected = reference_idft(spectrum, n);
        std::vector<float> out(static_cast<std::size_t>(n));
        real_idft(spectrum.data(), out.data(), n);
        for (int i = 0; i < n; i++) {
            EXPECT_NEAR(out[static_cast<std::size_t>(i)], expected[static_cast<std::size_t>(i)],
                        1e-5)
                << "n " << n << " sample " << i;
        }
    }
}

TEST(RealIdftTest, FlatSpectrumWithoutDcIsAPulseAtZero) {
    const int n = 40;
    std::vector<float> spectrum(n, 1.0f);
    spectrum[0] = 0.0f;
    std::vector<float> out(n);
    real_idft(spectrum.data(), out.data(), n);
    EXPECT_NEAR(out[0], (n - 1.0) / n, 1e-5);
    for (int i = 1; i < n; i++) EXPECT_NEAR(out[static_cast<std::size_t>(i)], -1.0 / n, 1e-5);
}

TEST(RealIdftDeathTest, RefusesMoreThan160Points) {
    std::vector<float> spectrum(200, 1.0f);
    std::vector<float> out(200);
    EXPECT_EXIT(real_idft(spectrum.data(), out.data(), 161), ::testing::ExitedWithCode(1), "");
}

}  // namespace
