#include "dsp_signal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// Deterministic test signal without a simple structure.
std::vector<float> test_signal(int n, unsigned seed) {
    std::vector<float> x(n);
    unsigned state = seed;
    for (int i = 0; i < n; i++) {
        state = state * 1664525u + 1013904223u;
        x[i] = static_cast<float>(static_cast<int>(state >> 16) % 2001 - 1000) / 100.0f;
    }
    return x;
}

TEST(VecArgmax, FirstIndexOfTheLargest) {
    struct Case {
        std::vector<float> x;
        int expected;
    };
    const Case cases[] = {
        {{1.0f, 5.0f, 5.0f}, 1},    {{7.0f}, 0},       {{}, 0}, {{3.0f, 2.0f, 1.0f}, 0},
        {{-4.0f, -1.0f, -2.0f}, 1}, {{2.0f, 2.0f}, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(vec_argmax(c.x.data(), static_cast<int>(c.x.size())), c.expected);
    }
}

TEST(VecCopy, OverlappingRangesCopyAsThroughATemporary) {
    std::vector<float> up = {1, 2, 3, 4, 5, 0};
    vec_copy(up.data() + 1, up.data(), 5);
    EXPECT_EQ(up, (std::vector<float>{1, 1, 2, 3, 4, 5}));
    std::vector<float> down = {0, 1, 2, 3, 4, 5};
    vec_copy(down.data(), down.data() + 1, 5);
    EXPECT_EQ(down, (std::vector<float>{1, 2, 3, 4, 5, 5}));
}

TEST(VecZero, NonPositiveCountTouchesNothing) {
    float x[2] = {3.0f, 4.0f};
    vec_zero(x, 0);
    vec_zero(x, -3);
    EXPECT_EQ(x[0], 3.0f);
    vec_zero(x, 2);
    EXPECT_EQ(x[1], 0.0f);
}

TEST(VecDot, MatchesDirectSumForEveryRemainder) {
    const std::vector<float> x = test_signal(11, 1);
    const std::vector<float> y = test_signal(11, 2);
    for (int n = 0; n <= 11; n++) {
        double expected = 0.0;
        for (int i = 0; i < n; i++) expected += static_cast<double>(x[i]) * y[i];
        EXPECT_NEAR(vec_dot(x.data(), y.data(), n), expected, 1e-3) << "n = " << n;
        EXPECT_NEAR(vec_energy(x.data(), n), vec_dot(x.data(), x.data(), n), 1e-6);
    }
}

TEST(VecArithmetic, InPlaceOperations) {
    float a[3] = {1.0f, -2.0f, 3.0f};
    const float b[3] = {4.0f, 5.0f, -6.0f};
    vec_mult(a, b, a, 3);
    EXPECT_EQ(a[1], -10.0f);
    EXPECT_EQ(vec_scale(a, 0.5f, 3), a);
    EXPECT_EQ(a[2], -9.0f);
    add_vectors(a, b, 3);
    EXPECT_EQ(a[0], 6.0f);
    vec_sub(a, b, 3);
    EXPECT_EQ(a[0], 2.0f);
}

constexpr int kHistory = kMaxFilterOrder + 1;
constexpr int kLength = 100;

class FirFilterOrders : public ::testing::TestWithParam<int> {};

// The output when filtering in place must equal the output into a separate array, and both must
// equal the textbook convolution with the history in front.
TEST_P(FirFilterOrders, InPlaceEqualsSeparateOutput) {
    const int p = GetParam();
    const std::vector<float> input = test_signal(kHistory + kLength, 7);
    const std::vector<float> taps = test_signal(p + 1, 11);
    std::vector<float> separate(kLength);
    fir_filter(input.data() + kHistory, taps.data(), separate.data(), p, kLength);
    std::vector<float> in_place = input;
    fir_filter(in_place.data() + kHistory, taps.data(), in_place.data() + kHistory, p, kLength);
    for (int i = 0; i < kLength; i++) {
        EXPECT_EQ(in_place[kHistory + i], separate[i]) << "order " << p << " sample " << i;
        double expected = 0.0;
        for (int k = 0; k <= p; k++)
            expected += static_cast<double>(taps[k]) * input[kHistory + i - k];
        EXPECT_NEAR(separate[i], expected, 1e-3 * (1.0 + std::fabs(expected)));
    }
}

// An unrolled order and the general loop one order higher with a zero last tap agree exactly.
TEST_P(FirFilterOrders, AgreesWithTheNextOrderPaddedWithZero) {
    const int p = GetParam();
    if (p + 1 > kMaxFilterOrder + 1) GTEST_SKIP();
    const std::vector<float> input = test_signal(kHistory + kLength, 3);
    std::vector<float> taps = test_signal(p + 2, 5);
    taps[p + 1] = 0.0f;
    std::vector<float> direct(kLength);
    std::vector<float> padded(kLength);
    fir_filter(input.data() + kHistory, taps.data(), direct.data(), p, kLength);
    fir_filter(input.data() + kHistory, taps.data(), padded.data(), p + 1, kLength);
    EXPECT_EQ(direct, padded) << "order " << p;
}

INSTANTIATE_TEST_SUITE_P(UnrolledAndGeneral, FirFilterOrders,
                         ::testing::Values(1, 4, 6, 10, 32, 64, 0, 2, 3, 7, 33));

TEST(AllPoleFilter, InPlaceEqualsSeparateOutputAndUsesHistory) {
    const int p = 10;
    const std::vector<float> input = test_signal(kLength, 9);
    std::vector<float> a(p + 1, 0.0f);
    for (int k = 1; k <= p; k++) a[k] = 0.3f / static_cast<float>(k * k);
    std::vector<float> separate(p + kLength, 0.0f);
    std::vector<float> in_place(p + kLength, 0.0f);
    for (int k = 0; k < p; k++) separate[k] = in_place[k] = static_cast<float>(k) - 4.0f;
    vec_copy(in_place.data() + p, input.data(), kLength);
    all_pole_filter(input.data(), a.data(), separate.data() + p, p, kLength);
    all_pole_filter(in_place.data() + p, a.data(), in_place.data() + p, p, kLength);
    EXPECT_EQ(in_place, separate);
    double first = input[0];
    for (int k = 1; k <= p; k++) first -= static_cast<double>(a[k]) * separate[p - k];
    EXPECT_NEAR(separate[p], first, 1e-4);
}

TEST(AllPoleFilter, ImpulseResponseOfOnePole) {
    const float a[2] = {1.0f, -0.5f};
    float y[1 + 8] = {0.0f};
    float x[8] = {1.0f};
    all_pole_filter(x, a, y + 1, 1, 8);
    for (int i = 0; i < 8; i++) EXPECT_FLOAT_EQ(y[1 + i], std::pow(0.5f, static_cast<float>(i)));
}

TEST(MedianSmall, ElementHalfwayThroughTheSortedCopy) {
    struct Case {
        std::vector<float> x;
        float expected;
    };
    const Case cases[] = {
        {{3, 1, 2}, 2},     {{4, 1, 3, 2}, 3}, {{5}, 5},           {{9, 7, 8, 6, 1}, 7},
        {{50, 50, 60}, 50}, {{2, 2, 1, 2}, 2}, {{-1, -3, -2}, -2},
    };
    for (const Case& c : cases) {
        const std::vector<float> before = c.x;
        EXPECT_EQ(median_small(c.x.data(), static_cast<int>(c.x.size())), c.expected);
        EXPECT_EQ(c.x, before);
    }
}

TEST(MedianSmallDeathTest, MoreThanFiveValuesEndTheProcess) {
    const float x[6] = {1, 2, 3, 4, 5, 6};
    EXPECT_EXIT(median_small(x, 6), ::testing::ExitedWithCode(1), "");
}

}  // namespace
