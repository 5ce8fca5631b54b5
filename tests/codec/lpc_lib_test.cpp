#include "lpc_lib.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr int kOrder = 10;
const double kPi = std::acos(-1.0);

TEST(Autocorr, ZeroBlockLiftsEnergyToOne) {
    const std::vector<float> x(200, 0.0f);
    float r[kOrder + 1];
    autocorr(x.data(), r, kOrder, 200);
    EXPECT_EQ(r[0], 1.0f);
    for (int k = 1; k <= kOrder; k++) EXPECT_EQ(r[k], 0.0f);

    float a[kOrder + 1];
    float refl[kOrder + 1];
    EXPECT_FLOAT_EQ(lpc_from_autocorr(r, a, refl, kOrder), 1.0f);
    for (int k = 1; k <= kOrder; k++) {
        EXPECT_EQ(a[k], 0.0f);
        EXPECT_EQ(refl[k], 0.0f);
    }
}

TEST(Autocorr, LagsShorterThanTheBlock) {
    const float x[4] = {1.0f, 2.0f, 3.0f, 4.0f};
    float r[6];
    autocorr(x, r, 5, 4);
    const float expected[6] = {30.0f, 20.0f, 11.0f, 4.0f, 0.0f, 0.0f};
    for (int k = 0; k < 6; k++) EXPECT_EQ(r[k], expected[k]) << k;
}

// Autocorrelation of a deterministic, clearly coloured signal.
std::vector<float> coloured_autocorr(int p) {
    std::vector<float> x(240);
    for (int i = 0; i < 240; i++) {
        x[i] = static_cast<float>(std::sin(0.31 * i) + 0.6 * std::sin(1.7 * i + 0.4) +
                                  0.2 * std::cos(2.9 * i));
    }
    std::vector<float> r(p + 1);
    autocorr(x.data(), r.data(), p, 240);
    return r;
}

// Solves the normal equations R a = -r by Gaussian elimination, independent of the recursion.
std::vector<double> normal_equations(const std::vector<float>& r, int p) {
    std::vector<std::vector<double>> m(p, std::vector<double>(p + 1));
    for (int i = 0; i < p; i++) {
        for (int j = 0; j < p; j++) m[i][j] = r[std::abs(i - j)];
        m[i][p] = -r[i + 1];
    }
    for (int c = 0; c < p; c++) {
        for (int i = c + 1; i < p; i++) {
            const double f = m[i][c] / m[c][c];
            for (int j = c; j <= p; j++) m[i][j] -= f * m[c][j];
        }
    }
    std::vector<double> a(p + 1, 0.0);
    a[0] = 1.0;
    for (int i = p - 1; i >= 0; i--) {
        double s = m[i][p];
        for (int j = i + 1; j < p; j++) s -= m[i][j] * a[j + 1];
        a[i + 1] = s / m[i][i];
    }
    return a;
}

TEST(LpcFromAutocorr, SolvesTheNormalEquations) {
    for (int p : {2, 6, kOrder}) {
        const std::vector<float> r = coloured_autocorr(p);
        const std::vector<double> expected = normal_equations(r, p);
        std::vector<float> a(p + 1, 0.0f);
        a[0] = 1.0f;
        const float error = lpc_from_autocorr(r.data(), a.data(), nullptr, p);
        double residual_energy = r[0];
        for (int k = 1; k <= p; k++) {
            EXPECT_NEAR(a[k], expected[k], 2e-3 * (1.0 + std::fabs(expected[k])))
                << "order " << p << " k " << k;
            residual_energy += expected[k] * r[k];
        }
        EXPECT_NEAR(error, residual_energy, 1e-3 * r[0]) << "order " << p;
    }
}

TEST(LpcFromAutocorr, FirstOrderProcess) {
    const float r[3] = {2.0f, 1.2f, 0.72f};  // r[k] = 2 * 0.6^k
    float a[3];
    float refl[3];
    const float error = lpc_from_autocorr(r, a, refl, 2);
    EXPECT_NEAR(refl[1], -0.6f, 1e-6);
    EXPECT_NEAR(refl[2], 0.0f, 1e-6);
    EXPECT_NEAR(a[1], -0.6f, 1e-6);
    EXPECT_NEAR(a[2], 0.0f, 1e-6);
    EXPECT_NEAR(error, 2.0f * (1.0f - 0.36f), 1e-5);
}

TEST(LpcFromAutocorr, FullyPredictableSignalStaysFinite) {
    // r of a constant signal on an infinite window: every order beyond one predicts exactly.
    const float r[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    float a[4];
    const float error = lpc_from_autocorr(r, a, nullptr, 3);
    for (int k = 1; k <= 3; k++) EXPECT_TRUE(std::isfinite(a[k])) << k;
    EXPECT_NEAR(a[1], -1.0f, 1e-6);
    EXPECT_TRUE(std::isfinite(error));
}

TEST(ReflToPred, StepUpRecursion) {
    const float refl[4] = {0.0f, 0.5f, 0.25f, -0.5f};
    float a[4];
    refl_to_pred(refl, a, 3);
    // Order 2: a1 = 0.5 + 0.25*0.5 = 0.625, a2 = 0.25. Order 3: a1 = 0.625 - 0.5*0.25,
    // a2 = 0.25 - 0.5*0.625, a3 = -0.5.
    EXPECT_FLOAT_EQ(a[1], 0.5f);
    EXPECT_FLOAT_EQ(a[2], -0.0625f);
    EXPECT_FLOAT_EQ(a[3], -0.5f);
}

TEST(BwExpand, ScalesByPowersOfTheFactorInPlace) {
    float a[4] = {7.0f, 1.0f, 1.0f, 2.0f};
    bw_expand(a, a, 0.5f, 3);
    EXPECT_EQ(a[0], 7.0f);
    EXPECT_FLOAT_EQ(a[1], 0.5f);
    EXPECT_FLOAT_EQ(a[2], 0.25f);
    EXPECT_FLOAT_EQ(a[3], 0.25f);
}

TEST(LpcPowerResponse, MatchesTheClosedForm) {
    const float one_pole[2] = {1.0f, -0.5f};
    const float two_taps[3] = {1.0f, 0.3f, -0.2f};
    for (float w : {0.0f, 0.4f, 1.3f, 2.2f, 3.14159265f}) {
        EXPECT_NEAR(lpc_power_response(one_pole, w, 1), 1.25 - std::cos(w), 1e-5) << w;
        const double re = 1.0 + 0.3 * std::cos(w) - 0.2 * std::cos(2.0 * w);
        const double im = -0.3 * std::sin(w) + 0.2 * std::sin(2.0 * w);
        EXPECT_NEAR(lpc_power_response(two_taps, w, 2), re * re + im * im, 1e-5) << w;
        EXPECT_EQ(lpc_power_response(two_taps, w, 0), 1.0f);
    }
}

TEST(PredToLsf, FlatPredictorSpreadsTheLsfsEvenly) {
    float a[kOrder + 1] = {1.0f};
    float w[kOrder + 1];
    EXPECT_EQ(pred_to_lsf(a, w, kOrder), 0);
    EXPECT_EQ(w[0], 0.0f);
    for (int i = 1; i <= kOrder; i++) EXPECT_NEAR(w[i], i / 11.0, 1e-4) << i;
}

// Minimum-phase predictors from reflection coefficients inside the unit circle.
std::vector<float> minimum_phase_predictor(const std::vector<float>& refl) {
    std::vector<float> a(refl.size(), 0.0f);
    a[0] = 1.0f;
    refl_to_pred(refl.data(), a.data(), static_cast<int>(refl.size()) - 1);
    return a;
}

TEST(LsfConversions, RoundTripForMinimumPhasePredictors) {
    const std::vector<std::vector<float>> reflections = {
        {0, -0.9f, 0.7f, -0.3f, 0.2f, -0.1f, 0.1f, 0.05f, -0.05f, 0.02f, 0.01f},
        {0, 0.5f, 0.4f, 0.3f, 0.2f, 0.1f, 0.1f, 0.1f, 0.1f, 0.1f, 0.1f},
        {0, -0.98f, 0.9f, -0.6f, 0.5f, -0.4f, 0.3f, -0.2f, 0.2f, -0.1f, 0.1f},
        {0, -0.6f, 0.3f},
        {0, 0.2f, -0.8f, 0.4f, 0.1f},
    };
    for (const std::vector<float>& refl : reflections) {
        const int p = static_cast<int>(refl.size()) - 1;
        const std::vector<float> a = minimum_phase_predictor(refl);
        std::vector<float> w(p + 1, -1.0f);
        ASSERT_EQ(pred_to_lsf(a.data(), w.data(), p), 0) << "order " << p;
        for (int i = 1; i <= p; i++) {
            EXPECT_GT(w[i], w[i - 1]) << "order " << p << " i " << i;
            EXPECT_LT(w[i], 1.0f);
        }
        std::vector<float> back(p + 1, 0.0f);
        lsf_to_pred(w.data(), back.data(), p);
        for (int k = 1; k <= p; k++) {
            EXPECT_NEAR(back[k], a[k], 2e-3 * (1.0 + std::fabs(a[k])))
                << "order " << p << " k " << k;
        }
    }
}

TEST(LsfToPred, EvenlySpreadLsfsGiveTheFlatPredictor) {
    float w[kOrder + 1] = {0.0f};
    for (int i = 1; i <= kOrder; i++) w[i] = static_cast<float>(i / 11.0);
    float a[kOrder + 1] = {5.0f};
    lsf_to_pred(w, a, kOrder);
    EXPECT_EQ(a[0], 5.0f);
    for (int k = 1; k <= kOrder; k++) EXPECT_NEAR(a[k], 0.0f, 1e-5) << k;
}

TEST(LsfToPred, SortsACopyOfUnsortedInput) {
    float sorted[5] = {0.0f, 0.1f, 0.3f, 0.5f, 0.7f};
    float shuffled[5] = {0.0f, 0.5f, 0.1f, 0.7f, 0.3f};
    float a_sorted[5];
    float a_shuffled[5];
    lsf_to_pred(sorted, a_sorted, 4);
    lsf_to_pred(shuffled, a_shuffled, 4);
    for (int k = 1; k <= 4; k++) EXPECT_FLOAT_EQ(a_shuffled[k], a_sorted[k]);
    EXPECT_EQ(shuffled[1], 0.5f);
}

TEST(PredToLsf, RootsOffTheUnitCircleKeepThePreviousValues) {
    // P'(z) = 1 + 3 z^-1 + z^-2 has no roots on the unit circle.
    const float a[3] = {1.0f, 0.0f, 4.0f};
    float w[3] = {0.0f, 0.6f, 0.3f};
    testing::internal::CaptureStderr();
    EXPECT_EQ(pred_to_lsf(a, w, 2), 1);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "\n Error(lsp_roots): LSPs Not All Found\n  0.0000000   4.0000000 \n");
    EXPECT_EQ(w[1], 0.3f);  // sorted in the end
    EXPECT_EQ(w[2], 0.6f);
}

struct ClampCase {
    const char* name;
    std::vector<float> in;
    float d;
    std::vector<float> expected;
};

class LsfClamp : public ::testing::TestWithParam<ClampCase> {};

TEST_P(LsfClamp, SortsAndSeparates) {
    const ClampCase& c = GetParam();
    std::vector<float> w = c.in;
    lsf_clamp(w.data(), c.d, static_cast<int>(w.size()) - 1);
    for (size_t i = 0; i < w.size(); i++)
        EXPECT_NEAR(w[i], c.expected[i], 1e-5) << c.name << " " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LsfClamp,
    ::testing::Values(
        ClampCase{"sorted input unchanged by d 0",
                  {0, 0.1f, 0.1f, 0.5f, 0.9f},
                  0.0f,
                  {0, 0.1f, 0.1f, 0.5f, 0.9f}},
        ClampCase{"unsorted input sorted by d 0",
                  {0, 0.9f, 0.5f, 0.1f, 0.3f},
                  0.0f,
                  {0, 0.1f, 0.3f, 0.5f, 0.9f}},
        ClampCase{"close pair moves apart evenly",
                  {0, 0.2f, 0.4f, 0.41f, 0.8f},
                  0.05f,
                  {0, 0.2f, 0.38f, 0.43f, 0.8f}},
        // w1 below d moves down by half of itself, w2 up by (d - gap) / 2.
        ClampCase{"lowest LSF near zero",
                  {0, 0.01f, 0.015f, 0.5f, 0.8f},
                  0.0125f,
                  {0, 0.005f, 0.01875f, 0.5f, 0.8f}},
        // w4 above 1 - d moves up by half its distance to 1.
        ClampCase{"highest LSF near one",
                  {0, 0.2f, 0.5f, 0.985f, 0.99f},
                  0.0125f,
                  {0, 0.2f, 0.5f, 0.98125f, 0.995f}},
        // A lower gap between d and 2d lets w2 give way only by (gap - d) / 2 per pass.
        ClampCase{"partly crowded lower neighbour",
                  {0, 0.3f, 0.325f, 0.335f, 0.8f},
                  0.02f,
                  {0, 0.3f, 0.32125f, 0.34125f, 0.8f}}),
    [](const ::testing::TestParamInfo<ClampCase>& info) {
        std::string name = info.param.name;
        for (char& ch : name) {
            if (ch == ' ') ch = '_';
        }
        return name;
    });

TEST(LsfClampBounds, NeverLeavesTheUnitInterval) {
    float w[kOrder + 1] = {0,    0.001f, 0.002f, 0.003f, 0.5f,  0.6f,
                           0.7f, 0.8f,   0.997f, 0.998f, 0.999f};
    lsf_clamp(w, 0.0125f, kOrder);
    EXPECT_GT(w[1], 0.0f);
    EXPECT_LT(w[kOrder], 1.0f);
    for (int i = 1; i < kOrder; i++) EXPECT_LE(w[i], w[i + 1]) << i;
}

// A neighbour whose own gap is under d does not give way, so the pass pushes the other side;
// the passes together still separate the whole crowd.
TEST(LsfClampCrowd, CrowdedLsfsEndUpSeparated) {
    float w[5] = {0, 0.3f, 0.31f, 0.32f, 0.8f};
    lsf_clamp(w, 0.02f, 4);
    EXPECT_LT(w[1], 0.3f);
    EXPECT_GT(w[3], 0.32f);
    for (int i = 1; i < 4; i++) EXPECT_GE(w[i + 1] - w[i], 0.99f * 0.02f) << i;
}

TEST(LsfClampUnsorted, TooManyPassesSkipSeparationAndReport) {
    // Reversed order needs 11 bubble passes for 12 values; the 10 allowed leave it unsorted.
    std::vector<float> w(13, 0.0f);
    for (int i = 1; i <= 12; i++) w[i] = (13 - i) / 13.0f;
    testing::internal::CaptureStderr();
    lsf_clamp(w.data(), 0.0f, 12);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("lpc_lib: LSPs still unsorted (line "), std::string::npos);
    EXPECT_GT(w[1], w[2]);  // one pair still out of order
}

}  // namespace
