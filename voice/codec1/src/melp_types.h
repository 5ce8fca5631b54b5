// Sizes of the 2.4 kbit/s coder and the per-frame parameter record shared by analysis,
// quantization and synthesis.
#pragma once

#include <cstdint>

constexpr int kFrameLength = 180;
constexpr int kBitsPerFrame = 54;
constexpr int kFramesPerSuperframe = 12;
constexpr int kSuperframeSamples = kFrameLength * kFramesPerSuperframe;  // 2160
constexpr int kSuperframeBits = kBitsPerFrame * kFramesPerSuperframe;    // 648
constexpr int kPayloadBytes = kSuperframeBits / 8;                       // 81
constexpr int kLpcOrder = 10;
constexpr int kVoicingBands = 5;
constexpr int kHarmonics = 10;
constexpr int kPitchMin = 20;
constexpr int kPitchMax = 160;

constexpr int kLsfStages = 4;
constexpr int kLsfStageLevels[kLsfStages] = {128, 64, 64, 64};
constexpr int kLsfStageBits[kLsfStages] = {7, 6, 6, 6};
constexpr int kHarmLevels = 256;

struct CodecState;

// One channel word carries 8 channel bits in its low byte.
using ChannelWord = uint32_t;

struct FrameParams {
    float pitch;
    float lsf[kLpcOrder + 1];  // lsf[0] is always 0
    float gain[2];             // dB, first and second half of the frame
    float jitter;
    float voicing[kVoicingBands];
    int pitch_index;
    int jitter_index;
    int voicing_index;
    int gain_index[2];
    ChannelWord* chan_word;
    int chan_bit;
    int unvoiced;
    float harm_mag[kHarmonics];
    int* harm_code;
    int* lsf_codes;
    int lsf_stage_count;
    int* lsf_stage_bits;
    int* lsf_stage_levels;
    CodecState* prev;
};
