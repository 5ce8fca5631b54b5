#include "scalar_quant.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct UniformCase {
    float value;
    float lo;
    float hi;
    int levels;
    int index;
    float level;
};

TEST(QuantUniform, ValueOnAThresholdTakesTheUpperIndex) {
    const UniformCase cases[] = {
        {0.125f, 0.0f, 0.25f, 2, 1, 0.25f},    // on the only threshold
        {0.1249f, 0.0f, 0.25f, 2, 0, 0.0f},    // just below it
        {1.5f, 0.0f, 3.0f, 4, 2, 2.0f},        // on an inner threshold
        {2.49f, 0.0f, 3.0f, 4, 2, 2.0f},       // below the next one
        {-7.0f, 0.0f, 3.0f, 4, 0, 0.0f},       // below lo
        {99.0f, 0.0f, 3.0f, 4, 3, 3.0f},       // above hi
        {10.0f, 10.0f, 77.0f, 32, 0, 10.0f},   // the lowest gain
        {77.0f, 10.0f, 77.0f, 32, 31, 77.0f},  // the highest gain
    };
    for (const UniformCase& c : cases) {
        float value = c.value;
        int index = -1;
        quant_uniform(&value, &index, c.lo, c.hi, c.levels);
        EXPECT_EQ(index, c.index) << c.value;
        EXPECT_FLOAT_EQ(value, c.level) << c.value;
        float back = 0.0f;
        dequant_uniform(index, &back, c.lo, c.hi, c.levels);
        EXPECT_FLOAT_EQ(back, c.level) << c.value;
    }
}

TEST(QuantUniform, NotANumberGivesTheLowestIndex) {
    float value = std::nanf("");
    int index = -1;
    quant_uniform(&value, &index, 10.0f, 77.0f, 32);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(value, 10.0f);
}

TEST(PitchQuantizer, CoversTwentyToOneHundredSixtySamplesInLogSteps) {
    struct Case {
        float pitch;
        int index;
    };
    const Case cases[] = {{20.0f, 0}, {160.0f, 98}, {10.0f, 0}, {400.0f, 98}, {56.5685f, 49}};
    for (const Case& c : cases) {
        float pitch = c.pitch;
        int index = -1;
        pitch_quantize(&pitch, &index);
        EXPECT_EQ(index, c.index) << c.pitch;
        EXPECT_NEAR(pitch, pitch_dequantize(c.index), 1e-3f) << c.pitch;
    }
    EXPECT_NEAR(pitch_dequantize(0), 20.0f, 1e-3f);
    EXPECT_NEAR(pitch_dequantize(98), 160.0f, 1e-2f);
    EXPECT_NEAR(pitch_dequantize(49), std::sqrt(20.0f * 160.0f), 1e-2f);
}

TEST(JitterQuantizer, HasTheTwoLevelsZeroAndAQuarter) {
    float jitter = 0.25f;
    int index = -1;
    jitter_quantize(&jitter, &index);
    EXPECT_EQ(index, 1);
    jitter = 0.1f;
    jitter_quantize(&jitter, &index);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(jitter, 0.0f);
    EXPECT_FLOAT_EQ(jitter_dequantize(1), 0.25f);
    EXPECT_FLOAT_EQ(jitter_dequantize(0), 0.0f);
}

constexpr float kGainStep = (kGainMaxDb - kGainMinDb) / (kGainLevels - 1);

float gain_level(int index) { return kGainMinDb + static_cast<float>(index) * kGainStep; }

// Sets the encoder's previous-gain memory to a grid level.
void encode_steady(int index) {
    float gain[2] = {gain_level(index), gain_level(index)};
    int codes[2] = {};
    gain_quantize(gain, codes, kGainMinDb, kGainMaxDb, kGainLevels);
    ASSERT_FLOAT_EQ(encoder_prev_gain(), gain_level(index));
}

TEST(GainQuantize, SendsTheMeanAsCodeZeroWhenBothGainsAreSteady) {
    encode_steady(10);
    float gain[2] = {gain_level(10) + 1.0f, gain_level(11)};
    int codes[2] = {-1, -1};
    gain_quantize(gain, codes, kGainMinDb, kGainMaxDb, kGainLevels);
    EXPECT_EQ(codes[1], 11);
    EXPECT_EQ(codes[0], 0);
    EXPECT_FLOAT_EQ(gain[0], (gain_level(10) + gain_level(11)) / 2.0f);
    EXPECT_FLOAT_EQ(encoder_prev_gain(), gain_level(11));
}

TEST(GainQuantize, QuantizesTheFirstGainInARangeAroundBothSecondGains) {
    struct Case {
        int prev_index;
        float first;
        float second;
        float lo;  // expected adaptive range
        float hi;
    };
    const Case cases[] = {
        // A second-gain jump of more than 5 dB forbids code 0.
        {10, 30.0f, gain_level(14), gain_level(10) - 6.0f, gain_level(14) + 6.0f},
        // Steady second gain but a first gain far from the mean.
        {10, gain_level(10) + 4.0f, gain_level(10), gain_level(10) - 6.0f, gain_level(10) + 6.0f},
        // The range stops at the quantizer's limits, and the first gain is limited first.
        {0, 77.0f, 10.0f, 10.0f, 16.0f},
        {31, 0.0f, 77.0f, 71.0f, 77.0f},
    };
    for (const Case& c : cases) {
        encode_steady(c.prev_index);
        float gain[2] = {c.first, c.second};
        int codes[2] = {-1, -1};
        gain_quantize(gain, codes, kGainMinDb, kGainMaxDb, kGainLevels);
        ASSERT_GE(codes[0], 1) << c.first;
        ASSERT_LE(codes[0], 7) << c.first;
        const float step = (c.hi - c.lo) / 6.0f;
        const float limited = std::fmin(std::fmax(c.first, 10.0f), 77.0f);
        const int expected = static_cast<int>(
            std::fmin(std::fmax(std::floor((limited - c.lo) / step + 0.5f), 0.0f), 6.0f));
        EXPECT_EQ(codes[0], expected + 1) << c.first;
        EXPECT_NEAR(gain[0], c.lo + static_cast<float>(expected) * step, 1e-4f) << c.first;
    }
}

// Puts the decoders' memory at a grid level with a non-repeated frame.
void decode_steady(int index) {
    float gain[2] = {};
    int codes[2] = {4, index};
    gain_decode(gain, codes, kGainMinDb, kGainMaxDb, kGainLevels);
    ASSERT_FLOAT_EQ(decoder_prev_gain(), gain_level(index));
    ASSERT_EQ(decoder_gain_repeat(), 0);
}

TEST(GainDecode, AJumpUnderCodeZeroRepeatsThePreviousGainOnce) {
    decode_steady(5);
    const float g = gain_level(5);
    const float big = gain_level(20);
    const float expected[][2] = {{g, g}, {(g + big) / 2.0f, big}, {big, big}};
    for (const auto& want : expected) {
        float gain[2] = {};
        int codes[2] = {0, 20};
        gain_decode(gain, codes, kGainMinDb, kGainMaxDb, kGainLevels);
        EXPECT_FLOAT_EQ(gain[0], want[0]);
        EXPECT_FLOAT_EQ(gain[1], want[1]);
    }
    EXPECT_EQ(decoder_gain_repeat(), 0);
}

TEST(GainDecode, NonZeroCodeIsDecrementedAndReadInTheAdaptiveRange) {
    decode_steady(10);
    float gain[2] = {};
    int codes[2] = {7, 14};
    gain_decode(gain, codes, kGainMinDb, kGainMaxDb, kGainLevels);
    EXPECT_EQ(codes[0], 6);
    EXPECT_FLOAT_EQ(gain[1], gain_level(14));
    EXPECT_NEAR(gain[0], gain_level(14) + 6.0f, 1e-4f);
    EXPECT_FLOAT_EQ(decoder_prev_gain(), gain_level(14));
}

TEST(GainCodec, DecoderFollowsTheEncoderThroughASequence) {
    encode_steady(0);
    decode_steady(0);
    const float sequence[][2] = {{60.0f, 61.0f}, {60.5f, 60.2f}, {45.0f, 30.0f}, {31.0f, 31.5f},
                                 {31.0f, 33.0f}, {12.0f, 10.5f}, {70.0f, 76.0f}, {75.0f, 75.5f},
                                 {74.0f, 71.0f}, {40.0f, 72.0f}};
    for (const auto& frame : sequence) {
        float sent[2] = {frame[0], frame[1]};
        int codes[2] = {};
        gain_quantize(sent, codes, kGainMinDb, kGainMaxDb, kGainLevels);
        float received[2] = {};
        gain_decode(received, codes, kGainMinDb, kGainMaxDb, kGainLevels);
        EXPECT_FLOAT_EQ(received[1], sent[1]) << frame[1];
        EXPECT_NEAR(received[0], sent[0], 1e-4f) << frame[0];
    }
}

TEST(VoicingQuantize, BandZeroDecidesAndTheCodeListsBandsOneToFour) {
    struct Case {
        float voicing[5];
        int code;
        int unvoiced;
        float quantized[5];
    };
    const Case cases[] = {
        {{0.9f, 0.2f, 0.3f, 0.1f, 0.8f}, 0, 0, {1, 0, 0, 0, 0}},  // 0001 is not used
        {{0.61f, 0.61f, 0.6f, 0.9f, 0.1f}, 10, 0, {1, 1, 0, 1, 0}},
        {{0.7f, 0.9f, 0.9f, 0.9f, 0.9f}, 15, 0, {1, 1, 1, 1, 1}},
        {{0.7f, 0.1f, 0.1f, 0.7f, 0.7f}, 3, 0, {1, 0, 0, 1, 1}},
        {{0.6f, 0.9f, 0.9f, 0.9f, 0.9f}, 0, 1, {0, 0, 0, 0, 0}},  // on the threshold: unvoiced
        {{0.0f, 0.0f, 0.0f, 0.0f, 0.0f}, 0, 1, {0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        float voicing[5];
        for (int j = 0; j < 5; ++j) voicing[j] = c.voicing[j];
        int code = -1;
        EXPECT_EQ(voicing_quantize(voicing, &code, kVoicingThreshold, 5), c.unvoiced);
        EXPECT_EQ(code, c.code);
        for (int j = 0; j < 5; ++j) EXPECT_EQ(voicing[j], c.quantized[j]) << c.code << " " << j;
    }
}

TEST(VoicingDecode, ReadsEveryCodeBackAndMapsTheUnusedCodeToZero) {
    for (int sent = 0; sent < 16; ++sent) {
        float voicing[5] = {};
        int code = sent;
        voicing_decode(voicing, &code, 0, 5);
        const int expected = sent == 1 ? 0 : sent;
        EXPECT_EQ(code, expected);
        EXPECT_EQ(voicing[0], 1.0f);
        int again = -1;
        EXPECT_EQ(voicing_quantize(voicing, &again, kVoicingThreshold, 5), 0);
        EXPECT_EQ(again, expected) << sent;
    }
    float voicing[5] = {1, 1, 1, 1, 1};
    int code = 15;
    voicing_decode(voicing, &code, 1, 5);
    EXPECT_EQ(code, 0);
    for (float v : voicing) EXPECT_EQ(v, 0.0f);
}

}  // namespace
