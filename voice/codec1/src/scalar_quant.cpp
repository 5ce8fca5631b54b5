#include "scalar_quant.h"

#include <cmath>

namespace {

// A first gain within these of the mean, with a second gain this close to the previous one,
// is sent as code 0.
constexpr float kSteadyGainJumpDb = 5.0f;
constexpr float kFirstGainNearMeanDb = 3.0f;
// Margin of the adaptive first-gain range around the two second gains.
constexpr float kFirstGainMarginDb = 6.0f;

// Quantized second gain of the encoder's previous frame, across pipelines and transmissions.
float enc_prev_gain = 0.0f;
// Decoded second gain of the previous frame, shared by every decoder of the process.
float dec_prev_gain = 0.0f;
// 1 when the previous frame's second gain was replaced by the one before it.
int dec_gain_repeat = 0;

struct GainRange {
    float lo;
    float hi;
};

GainRange first_gain_range(float second_gain, float prev_gain, float lo, float hi) {
    const float low = std::fmin(second_gain, prev_gain);
    const float high = std::fmax(second_gain, prev_gain);
    return {std::fmax(low - kFirstGainMarginDb, lo), std::fmin(high + kFirstGainMarginDb, hi)};
}

}  // namespace

void quant_uniform(float* value, int* index, float lo, float hi, int levels) {
    const float step = (hi - lo) / static_cast<float>(levels - 1);
    int count = 0;
    while (count < levels - 1 && lo + (static_cast<float>(count) + 0.5f) * step <= *value) {
        ++count;
    }
    *index = count;
    *value = lo + static_cast<float>(count) * step;
}

void dequant_uniform(int index, float* value, float lo, float hi, int levels) {
    *value = lo + static_cast<float>(index) * (hi - lo) / static_cast<float>(levels - 1);
}

void pitch_quantize(float* pitch, int* index) {
    float log_pitch = std::log10(*pitch);
    quant_uniform(&log_pitch, index, kLogPitchMin, kLogPitchMax, kPitchLevels);
    *pitch = std::pow(10.0f, log_pitch);
}

float pitch_dequantize(int index) {
    float log_pitch = 0.0f;
    dequant_uniform(index, &log_pitch, kLogPitchMin, kLogPitchMax, kPitchLevels);
    return std::pow(10.0f, log_pitch);
}

void jitter_quantize(float* jitter, int* index) {
    quant_uniform(jitter, index, 0.0f, kJitterMax, kJitterLevels);
}

float jitter_dequantize(int index) {
    float jitter = 0.0f;
    dequant_uniform(index, &jitter, 0.0f, kJitterMax, kJitterLevels);
    return jitter;
}

void gain_quantize(float* gain, int* codes, float lo, float hi, int levels) {
    quant_uniform(&gain[1], &codes[1], lo, hi, levels);
    gain[0] = std::fmin(std::fmax(gain[0], lo), hi);
    const float mean = (gain[1] + enc_prev_gain) / 2.0f;
    if (std::fabs(gain[1] - enc_prev_gain) < kSteadyGainJumpDb &&
        std::fabs(gain[0] - mean) < kFirstGainNearMeanDb) {
        gain[0] = mean;
        codes[0] = 0;
    } else {
        const GainRange range = first_gain_range(gain[1], enc_prev_gain, lo, hi);
        quant_uniform(&gain[0], &codes[0], range.lo, range.hi, kFirstGainLevels);
        codes[0] += 1;
    }
    enc_prev_gain = gain[1];
}

void gain_decode(float* gain, int* codes, float lo, float hi, int levels) {
    dequant_uniform(codes[1], &gain[1], lo, hi, levels);
    if (codes[0] == 0) {
        // Under code 0 the encoder only sends small steps, so a jump is a channel error.
        if (std::fabs(gain[1] - dec_prev_gain) > kSteadyGainJumpDb) {
            if (dec_gain_repeat != 1) gain[1] = dec_prev_gain;
            dec_gain_repeat = 1;
        } else {
            dec_gain_repeat = 0;
        }
        gain[0] = (dec_prev_gain + gain[1]) / 2.0f;
    } else {
        dec_gain_repeat = 0;
        codes[0] -= 1;
        const GainRange range = first_gain_range(gain[1], dec_prev_gain, lo, hi);
        dequant_uniform(codes[0], &gain[0], range.lo, range.hi, kFirstGainLevels);
    }
    dec_prev_gain = gain[1];
}

int voicing_quantize(float* voicing, int* code, float threshold, int bands) {
    if (voicing[0] <= threshold) {
        *code = 0;
        for (int j = 0; j < bands; ++j) voicing[j] = 0.0f;
        return 1;
    }
    voicing[0] = 1.0f;
    int bits = 0;
    for (int j = 1; j < bands; ++j) {
        const int voiced = voicing[j] > threshold ? 1 : 0;
        bits = (bits << 1) | voiced;
        voicing[j] = static_cast<float>(voiced);
    }
    // Only the top band voiced is not a valid code; it is sent as all unvoiced.
    if (bits == 1) {
        bits = 0;
        voicing[bands - 1] = 0.0f;
    }
    *code = bits;
    return 0;
}

void voicing_decode(float* voicing, int* code, int unvoiced, int bands) {
    if (unvoiced) {
        voicing[0] = 0.0f;
        *code = 0;
    } else {
        voicing[0] = 1.0f;
    }
    if (*code == 1) *code = 0;
    int bits = *code;
    for (int j = bands - 1; j >= 1; --j) {
        voicing[j] = static_cast<float>(bits & 1);
        bits >>= 1;
    }
}

float encoder_prev_gain() { return enc_prev_gain; }
float decoder_prev_gain() { return dec_prev_gain; }
int decoder_gain_repeat() { return dec_gain_repeat; }
