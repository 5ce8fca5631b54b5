#include "fft.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

std::vector<float> direct_dft(const std::vector<float>& data, int n, int sign) {
    const double pi = std::acos(-1.0);
    std::vector<float> out(2 * n);
    for (int k = 0; k < n; k++) {
        double re = 0.0;
        double im = 0.0;
        for (int t = 0; t < n; t++) {
            const double angle = sign * 2.0 * pi * t * k / n;
            re += data[2 * t] * std::cos(angle) - data[2 * t + 1] * std::sin(angle);
            im += data[2 * t] * std::sin(angle) + data[2 * t + 1] * std::cos(angle);
        }
        out[2 * k] = static_cast<float>(re);
        out[2 * k + 1] = static_cast<float>(im);
    }
    return out;
}

struct FftCase {
    int n;
    int sign;
};

class ComplexFft : public ::testing::TestWithParam<FftCase> {};

TEST_P(ComplexFft, MatchesTheDirectTransform) {
    const FftCase c = GetParam();
    std::vector<float> data(2 * c.n);
    for (int i = 0; i < 2 * c.n; i++) data[i] = static_cast<float>(std::sin(0.37 * i * i + i));
    const std::vector<float> expected = direct_dft(data, c.n, c.sign);
    complex_fft(data.data(), c.n, c.sign);
    for (int i = 0; i < 2 * c.n; i++) {
        EXPECT_NEAR(data[i], expected[i], 1e-4 * c.n) << "n " << c.n << " index " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ComplexFft,
                         ::testing::Values(FftCase{1, -1}, FftCase{2, -1}, FftCase{8, 1},
                                           FftCase{16, -1}, FftCase{512, -1}, FftCase{512, 1}));

TEST(ComplexFftImpulse, UnitImpulseGivesAFlatSpectrum) {
    std::vector<float> data(2 * 512, 0.0f);
    data[0] = 1.0f;
    complex_fft(data.data(), 512, -1);
    for (int k = 0; k < 512; k++) {
        EXPECT_FLOAT_EQ(data[2 * k], 1.0f);
        EXPECT_FLOAT_EQ(data[2 * k + 1], 0.0f);
    }
}

}  // namespace
