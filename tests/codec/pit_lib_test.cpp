#include "pit_lib.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// Signals are kPitchSpan samples long; the analysis point is the middle one.
constexpr int kCentre = kPitchMax;

// A random pattern of small integers repeated with the given period: every correlation of whole
// periods is exact, so equal correlations compare equal.
std::vector<float> repeated_pattern(int period, unsigned seed) {
    std::vector<float> pattern(period);
    unsigned state = seed;
    for (float& v : pattern) {
        state = state * 1664525u + 1013904223u;
        v = static_cast<float>(static_cast<int>(state >> 16) % 21 - 10);
    }
    std::vector<float> x(kPitchSpan);
    for (int i = 0; i < kPitchSpan; i++) x[i] = pattern[i % period];
    return x;
}

// Harmonics of a fundamental with a fractional period.
std::vector<float> harmonic_signal(double period) {
    const double pi = std::acos(-1.0);
    std::vector<float> x(kPitchSpan);
    for (int i = 0; i < kPitchSpan; i++) {
        double v = 0.0;
        for (int h = 1; h <= 4; h++) v += std::cos(2.0 * pi * h * i / period + h) / h;
        x[i] = static_cast<float>(1000.0 * v);
    }
    return x;
}

std::vector<float> pulse_train(int period) {
    std::vector<float> x(kPitchSpan, 0.0f);
    for (int i = 3; i < kPitchSpan; i += period) x[i] = 1000.0f;
    return x;
}

std::vector<float> noise(unsigned seed) {
    std::vector<float> x(kPitchSpan);
    unsigned state = seed;
    for (float& v : x) {
        state = state * 22695477u + 1u;
        v = static_cast<float>(static_cast<int>(state >> 16) % 2001 - 1000);
    }
    return x;
}

TEST(IntegerPitchSearch, FindsTheLagAndKeepsTheLongerOnTies) {
    struct Case {
        const char* name;
        std::vector<float> x;
        int lo;
        int hi;
        float expected_lag;
        float expected_corr;
    };
    const Case cases[] = {
        {"single period in range", repeated_pattern(57, 1), 40, 100, 57.0f, 1.0f},
        {"equal correlations at 50 and 100", repeated_pattern(50, 2), 40, 110, 100.0f, 1.0f},
        {"silence gives the lowest lag", std::vector<float>(kPitchSpan, 0.0f), 40, 160, 40.0f,
         0.0f},
    };
    for (const Case& c : cases) {
        float corr = -1.0f;
        EXPECT_EQ(integer_pitch_search(c.x.data() + kCentre, &corr, c.lo, c.hi, kPitchWindow),
                  c.expected_lag)
            << c.name;
        EXPECT_NEAR(corr, c.expected_corr, 1e-5) << c.name;
    }
}

TEST(FractionalPitch, RefinesAFractionalPeriod) {
    const std::vector<float> x = harmonic_signal(45.5);
    for (int range : {5, 0}) {
        float corr = 0.0f;
        const float pitch =
            fractional_pitch(x.data() + kCentre, &corr, 45.2f, range, 20, 160, kPitchWindow);
        EXPECT_NEAR(pitch, 45.5f, 0.1f) << "range " << range;
        EXPECT_GT(corr, 0.99f) << "range " << range;
    }
}

TEST(FractionalPitch, SearchRangeMovesAFarStartingPoint) {
    const std::vector<float> x = harmonic_signal(62.3);
    float corr = 0.0f;
    const float pitch = fractional_pitch(x.data() + kCentre, &corr, 59.0f, 5, 20, 160, 160);
    EXPECT_NEAR(pitch, 62.3f, 0.1f);
}

TEST(FractionalPitch, VanishingDenominatorGivesHalfASample) {
    const std::vector<float> silence(kPitchSpan, 0.0f);
    struct Case {
        float pitch;
        float expected;
    };
    for (const Case& c : {Case{60.2f, 60.5f}, Case{160.0f, 159.5f}, Case{20.0f, 20.5f}}) {
        float corr = -1.0f;
        EXPECT_EQ(fractional_pitch(silence.data() + kCentre, &corr, c.pitch, 0, 20, 160, 160),
                  c.expected);
        EXPECT_EQ(corr, 0.0f);
    }
}

TEST(PitchMultipleCheck, ShortPitchTakesTheWeakerCorrelationOfItsMultiple) {
    const std::vector<float> x = repeated_pattern(40, 3);
    const float* centre = x.data() + kCentre;
    float corr_at_50 = 0.0f;
    fractional_pitch(centre, &corr_at_50, 50.0f, 0, 20, 160, 160);
    ASSERT_LT(corr_at_50, 0.9f);

    struct Case {
        float pitch;
        float corr_in;
        float expected;
    };
    const Case cases[] = {
        {25.0f, 1.0f, corr_at_50},                      // lowered to that of 50
        {25.0f, corr_at_50 - 0.1f, corr_at_50 - 0.1f},  // already weaker: kept
        {35.0f, 1.0f, 1.0f},                            // 30 or more: nothing happens
    };
    for (const Case& c : cases) {
        float corr = c.corr_in;
        pitch_multiple_check(centre, &corr, c.pitch, 20, 160, 160);
        EXPECT_FLOAT_EQ(corr, c.expected) << c.pitch;
    }
}

TEST(PitchDoubleCheck, DoubledPitchFallsBackToThePeriod) {
    const std::vector<float> x = repeated_pattern(40, 4);
    float corr = 0.0f;
    const float pitch = pitch_double_check(x.data() + kCentre, &corr, 80.0f, 0.75f, 20, 160, 160);
    EXPECT_NEAR(pitch, 40.0f, 0.2f);
    EXPECT_GT(corr, 0.95f);
}

TEST(PitchDoubleCheck, TruePitchStays) {
    const std::vector<float> x = harmonic_signal(73.0);
    float corr = 0.0f;
    const float pitch = pitch_double_check(x.data() + kCentre, &corr, 73.0f, 0.75f, 20, 160, 160);
    EXPECT_NEAR(pitch, 73.0f, 0.2f);
}

class FinalPitchTest : public ::testing::Test {
  protected:
    void SetUp() override { final_pitch_init(&state_); }
    void TearDown() override { final_pitch_release(&state_); }

    float run(const std::vector<float>& speech, const std::vector<float>& resid, float sub_pitch,
              float pitch_avg, float* corr) {
        return final_pitch(&state_, speech.data() + kCentre, resid.data() + kCentre, sub_pitch,
                           pitch_avg, corr);
    }

    FinalPitch state_{};
};

TEST_F(FinalPitchTest, StartsWithZeroLowpassMemory) {
    for (int i = 0; i < kPitchLpfOrder; i++) EXPECT_EQ(state_.lpf_mem[i], 0.0f);
    ASSERT_NE(state_.work, nullptr);
}

TEST_F(FinalPitchTest, SilenceGivesTheAverage) {
    const std::vector<float> silence(kPitchSpan, 0.0f);
    float corr = -1.0f;
    EXPECT_EQ(run(silence, silence, 50.0f, 63.0f, &corr), 63.0f);
    EXPECT_EQ(corr, 0.0f);
}

TEST_F(FinalPitchTest, PulseTrainAnalysedAtTheDoubleIsCorrected) {
    const std::vector<float> pulses = pulse_train(40);
    float corr = 0.0f;
    EXPECT_NEAR(run(pulses, pulses, 80.0f, 50.0f, &corr), 40.0f, 0.5f);
    EXPECT_GT(corr, 0.55f);
}

TEST_F(FinalPitchTest, AperiodicResidualFallsBackToTheSpeech) {
    const std::vector<float> speech = repeated_pattern(40, 5);
    float corr = 0.0f;
    EXPECT_NEAR(run(speech, noise(6), 40.0f, 50.0f, &corr), 40.0f, 0.2f);
    EXPECT_GT(corr, 0.9f);
}

TEST_F(FinalPitchTest, AperiodicSpeechAndResidualGiveTheAverage) {
    float corr = 0.0f;
    EXPECT_EQ(run(noise(7), noise(8), 70.0f, 57.0f, &corr), 57.0f);
    EXPECT_LT(corr, 0.55f);
}

TEST(FrameEndPitch, EstimateQuietFramesAndAdvance) {
    FrameEndPitch state;
    frame_end_pitch_init(&state);
    EXPECT_EQ(state.estimate[0], kDefaultPitch);
    EXPECT_EQ(state.estimate[1], kDefaultPitch);
    for (float m : state.lpf_mem) EXPECT_EQ(m, 0.0f);

    const std::vector<float> speech = harmonic_signal(97.0);
    frame_end_pitch_estimate(&state, speech.data() + kCentre);
    EXPECT_NEAR(state.estimate[1], 97.0f, 1.0f);
    EXPECT_EQ(state.estimate[0], kDefaultPitch);

    float saved[kPitchLpfOrder];
    for (int i = 0; i < kPitchLpfOrder; i++) saved[i] = state.lpf_mem[i];
    EXPECT_NE(saved[kPitchLpfOrder - 1], 0.0f);
    frame_end_pitch_advance(&state);
    EXPECT_EQ(state.estimate[0], state.estimate[1]);

    frame_end_pitch_quiet(&state);
    EXPECT_EQ(state.estimate[1], kDefaultPitch);
    for (int i = 0; i < kPitchLpfOrder; i++) EXPECT_EQ(state.lpf_mem[i], saved[i]);
}

class PitchAverageTest : public ::testing::Test {
  protected:
    void SetUp() override { pitch_average_init(&state_); }
    void TearDown() override { pitch_average_release(&state_); }
    PitchAverage state_{};
};

TEST_F(PitchAverageTest, StartsAtTheDefault) {
    EXPECT_EQ(state_.avg, kDefaultPitch);
    for (int i = 0; i < kPitchHistoryLength; i++) EXPECT_EQ(state_.hist[i], kDefaultPitch);
}

TEST_F(PitchAverageTest, VoicedFramesSetItAndWeakFramesDecayTowardsTheDefault) {
    for (int frame = 0; frame < 10; frame++) pitch_average_update(&state_, 60.0f, 0.9f, 0.8f);
    EXPECT_FLOAT_EQ(state_.avg, 60.0f);
    for (int frame = 1; frame <= 5; frame++) {
        // A correlation equal to the limit does not count as voiced.
        const float avg = pitch_average_update(&state_, 90.0f, 0.8f, 0.8f);
        EXPECT_NEAR(avg, 50.0 + 10.0 * std::pow(0.95, frame), 1e-4) << frame;
        EXPECT_EQ(avg, state_.avg);
    }
}

TEST_F(PitchAverageTest, MedianOfTheNewestThree) {
    pitch_average_update(&state_, 70.0f, 0.9f, 0.8f);
    EXPECT_EQ(pitch_average_update(&state_, 40.0f, 0.9f, 0.8f), 50.0f);  // {40, 70, 50}
    EXPECT_EQ(pitch_average_update(&state_, 90.0f, 0.9f, 0.8f), 70.0f);  // {90, 40, 70}
    EXPECT_EQ(state_.hist[0], 90.0f);
    EXPECT_EQ(state_.hist[2], 70.0f);
}

TEST(PitchStateRelease, ForgetsTheMemories) {
    FinalPitch final_state;
    final_pitch_init(&final_state);
    final_pitch_release(&final_state);
    EXPECT_EQ(final_state.lpf_mem, nullptr);
    EXPECT_EQ(final_state.work, nullptr);
    PitchAverage average;
    pitch_average_init(&average);
    pitch_average_release(&average);
    EXPECT_EQ(average.hist, nullptr);
}

}  // namespace
