#include "frame_bits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "codebooks.h"
#include "codec_state.h"
#include "scalar_quant.h"

// Fixture codebooks in place of the trained tables, so that every dequantized value is known.
float lsf_codebook[kLsfCodebookSize];
float harm_codebook[kHarmCodebookSize];

namespace {

constexpr int kStageOffset[kLsfStages] = {0, 1280, 1920, 2560};

void fill_codebooks() {
    for (int i = 0; i < kLsfCodebookSize; ++i) lsf_codebook[i] = 1e-4f * static_cast<float>(i);
    for (int i = 0; i < kHarmCodebookSize; ++i) {
        harm_codebook[i] = 1.0f + 1e-3f * static_cast<float>(i);
    }
}

// A codec record with its own quantizer index lists, as a coder side attaches them.
struct Block {
    std::unique_ptr<CodecState> state{new CodecState{}};
    int lsf_codes[kLsfStages] = {};
    int harm_code = 0;
    int bits[kLsfStages] = {7, 6, 6, 6};
    int levels[kLsfStages] = {128, 64, 64, 64};

    Block() {
        state->lsf_codes = lsf_codes;
        state->harm_code = &harm_code;
        state->lsf_stage_count = kLsfStages;
        state->lsf_stage_bits = bits;
        state->lsf_stage_levels = levels;
    }
};

struct Sent {
    int unvoiced;
    int pitch_index;
    int jitter_index;
    int voicing_index;
    int gain_index[2];
    int lsf_codes[kLsfStages];
    int harm_code;
};

constexpr Sent kVoiced = {0, 37, 1, 10, {3, 20}, {100, 33, 5, 63}, 201};
constexpr Sent kUnvoiced = {1, 0, 1, 0, {5, 13}, {0b1011001, 17, 40, 2}, 0};

void load(Block* b, const Sent& s) {
    b->state->unvoiced = s.unvoiced;
    b->state->pitch_index = s.pitch_index;
    b->state->jitter_index = s.jitter_index;
    b->state->voicing_index = s.voicing_index;
    b->state->gain_index[0] = s.gain_index[0];
    b->state->gain_index[1] = s.gain_index[1];
    for (int i = 0; i < kLsfStages; ++i) b->lsf_codes[i] = s.lsf_codes[i];
    b->harm_code = s.harm_code;
}

// Writes the frames into dirty channel words starting at word 0, bit 0.
void write_frames(ChannelWord* words, int count, const Sent* frames) {
    for (int i = 0; i < kPayloadBytes; ++i) words[i] = 0xFFFFFFFFu;
    Block writer;
    writer.state->chan_word = words;
    writer.state->chan_bit = 0;
    for (int f = 0; f < count; ++f) {
        load(&writer, frames[f]);
        frame_writer(writer.state.get());
    }
}

// Transmitted position of bit b of the frame's field list.
int transmitted(int b) {
    for (int j = 0; j < kBitsPerFrame; ++j) {
        if (bit_order[j] == b) return j;
    }
    return -1;
}

void flip_channel_bit(ChannelWord* words, int n) { words[n / 8] ^= 1u << (n % 8); }

int channel_bit(const ChannelWord* words, int n) { return (words[n / 8] >> (n % 8)) & 1; }

class FrameBits : public ::testing::Test {
  protected:
    void SetUp() override {
        fill_codebooks();
        reader.state->prev = previous.state.get();
        reader.state->chan_word = words;
        reader.state->chan_bit = 0;
    }
    int read() { return frame_reader(reader.state.get(), previous.state.get()); }

    ChannelWord words[kPayloadBytes] = {};
    Block reader;
    Block previous;
};

// Must stay the first test of the file: it sees the process's first frame.
TEST_F(FrameBits, TheFirstFrameOfTheProcessCarriesSyncOneThenItAlternates) {
    EXPECT_EQ(sync_state(), 0);
    const Sent frames[] = {kVoiced, kUnvoiced, kVoiced, kVoiced, kUnvoiced};
    write_frames(words, 5, frames);
    const int sync_j = transmitted(5);
    for (int f = 0; f < 5; ++f) {
        EXPECT_EQ(channel_bit(words, kBitsPerFrame * f + sync_j), f % 2 == 0 ? 1 : 0) << f;
    }
    EXPECT_EQ(sync_state(), 1);
}

TEST(PackBits, RoundTripsFieldsAcrossWordBoundariesAndClearsDirtyWords) {
    struct Field {
        int value;
        int count;
    };
    const Field fields[] = {{5, 3},    {0x1F, 5}, {0, 1}, {0x5A, 7}, {1, 1}, {0xAB, 8},
                            {0x3C, 6}, {0x2B, 6}, {3, 2}, {0x7F, 7}, {0, 4}, {0x1234, 13}};
    ChannelWord words[12];
    for (ChannelWord& w : words) w = 0xFFFFFFFFu;
    ChannelWord* pos = words;
    int bit = 0;
    int total = 0;
    for (const Field& f : fields) {
        pack_bits(f.value, &pos, &bit, f.count, kChannelWordBits);
        total += f.count;
    }
    EXPECT_EQ(pos - words, total / 8);
    EXPECT_EQ(bit, total % 8);
    for (ChannelWord* w = words; w < pos; ++w) EXPECT_LT(*w, 256u);
    pos = words;
    bit = 0;
    for (const Field& f : fields) {
        int value = -1;
        unpack_bits(&value, &pos, &bit, f.count, kChannelWordBits);
        EXPECT_EQ(value, f.value);
    }
}

TEST(PackBits, FramesLieBackToBackLeastSignificantBitFirst) {
    ChannelWord words[kPayloadBytes];
    ChannelWord* pos = words;
    int bit = 0;
    for (int j = 0; j < kBitsPerFrame; ++j) pack_bits(1, &pos, &bit, 1, kChannelWordBits);
    for (int j = 0; j < 3 * kBitsPerFrame; ++j) pack_bits(0, &pos, &bit, 1, kChannelWordBits);
    pack_bits(1, &pos, &bit, 1, kChannelWordBits);  // first bit of frame 4
    for (int i = 0; i < 6; ++i) EXPECT_EQ(words[i], 0xFFu) << i;
    EXPECT_EQ(words[6], 0x3Fu);  // the last 6 bits of frame 0, then frame 1
    EXPECT_EQ(words[7], 0u);
    EXPECT_EQ(words[27], 1u);  // frame 4 starts on a byte boundary
}

TEST(BitOrder, SendsTheFieldBitsInTheTransmissionOrder) {
    enum { kGain1 = 0, kSync = 5, kGain0 = 6, kPitch = 9, kJitter = 16, kVoicing = 17 };
    enum { kLsf1 = 21, kLsf2 = 28, kLsf3 = 34, kLsf4 = 40, kHarm = 46 };
    // Field and bit of every transmitted position j = 0..53.
    const int expected[kBitsPerFrame][2] = {
        {kGain1, 0},   {kVoicing, 0}, {kPitch, 0},   {kLsf2, 0},  {kLsf3, 0},   {kGain1, 3},
        {kGain1, 4},   {kLsf3, 5},    {kGain1, 1},   {kGain1, 2}, {kPitch, 4},  {kLsf3, 4},
        {kPitch, 5},   {kPitch, 1},   {kPitch, 2},   {kLsf4, 0},  {kPitch, 6},  {kLsf1, 0},
        {kLsf1, 6},    {kLsf4, 5},    {kPitch, 3},   {kLsf1, 5},  {kLsf1, 4},   {kLsf2, 5},
        {kVoicing, 3}, {kLsf1, 3},    {kLsf1, 2},    {kLsf2, 4},  {kLsf4, 4},   {kHarm, 0},
        {kLsf1, 1},    {kLsf2, 3},    {kHarm, 7},    {kHarm, 6},  {kHarm, 5},   {kGain0, 1},
        {kGain0, 0},   {kVoicing, 2}, {kVoicing, 1}, {kLsf2, 1},  {kLsf3, 3},   {kLsf2, 2},
        {kLsf3, 2},    {kLsf3, 1},    {kLsf4, 3},    {kLsf4, 2},  {kJitter, 0}, {kLsf4, 1},
        {kHarm, 4},    {kHarm, 3},    {kHarm, 2},    {kHarm, 1},  {kGain0, 2},  {kSync, 0}};
    bool seen[kBitsPerFrame] = {};
    for (int j = 0; j < kBitsPerFrame; ++j) {
        EXPECT_EQ(bit_order[j], expected[j][0] + expected[j][1]) << j;
        ASSERT_GE(bit_order[j], 0);
        ASSERT_LT(bit_order[j], kBitsPerFrame);
        EXPECT_FALSE(seen[bit_order[j]]) << j;
        seen[bit_order[j]] = true;
    }
}

TEST_F(FrameBits, AVoicedFrameReadsBackItsIndexesAndValues) {
    const Sent frames[] = {kVoiced, kVoiced};
    write_frames(words, 2, frames);
    const float prev_gain = decoder_prev_gain();
    ASSERT_EQ(read(), 0);
    EXPECT_EQ(reader.state->chan_word, words + 6);
    EXPECT_EQ(reader.state->chan_bit, 6);
    EXPECT_EQ(reader.state->unvoiced, 0);
    EXPECT_EQ(reader.state->pitch_index, kVoiced.pitch_index);
    EXPECT_EQ(reader.state->jitter_index, 1);
    EXPECT_EQ(reader.state->voicing_index, 10);
    EXPECT_EQ(reader.state->gain_index[1], 20);
    EXPECT_EQ(reader.state->gain_index[0], 2);  // code 3 is level 2 of the adaptive range
    EXPECT_EQ(reader.harm_code, 201);
    for (int s = 0; s < kLsfStages; ++s) EXPECT_EQ(reader.lsf_codes[s], kVoiced.lsf_codes[s]);

    EXPECT_NEAR(reader.state->pitch, pitch_dequantize(37), 1e-4f);
    EXPECT_FLOAT_EQ(reader.state->jitter, 0.25f);
    const float voicing[kVoicingBands] = {1, 1, 0, 1, 0};
    for (int j = 0; j < kVoicingBands; ++j) EXPECT_EQ(reader.state->voicing[j], voicing[j]);
    for (int i = 0; i < kLpcOrder; ++i) {
        float sum = 0.0f;
        for (int s = 0; s < kLsfStages; ++s) {
            sum += lsf_codebook[kStageOffset[s] + kVoiced.lsf_codes[s] * kLpcOrder + i];
        }
        EXPECT_NEAR(reader.state->lsf[i + 1], sum, 1e-6f) << i;
    }
    for (int k = 0; k < kHarmonics; ++k) {
        EXPECT_EQ(reader.state->harm_mag[k], harm_codebook[201 * kHarmonics + k]);
    }
    const float second = 10.0f + 20.0f * 67.0f / 31.0f;
    EXPECT_NEAR(reader.state->gain[1], second, 1e-4f);
    const float lo = std::fmax(std::fmin(second, prev_gain) - 6.0f, 10.0f);
    const float hi = std::fmin(std::fmax(second, prev_gain) + 6.0f, 77.0f);
    EXPECT_NEAR(reader.state->gain[0], lo + 2.0f * (hi - lo) / 6.0f, 1e-4f);

    ASSERT_EQ(read(), 0);  // the second frame continues where the first ended
    EXPECT_EQ(reader.state->chan_word, words + 13);
    EXPECT_EQ(reader.state->chan_bit, 4);
    EXPECT_EQ(reader.harm_code, 201);
}

TEST_F(FrameBits, ByteSixJoinsTheEndOfFrameZeroToTheStartOfFrameOne) {
    Sent first = kVoiced;
    first.harm_code = 0b00011110;  // transmitted bits 48..51
    first.gain_index[0] = 4;       // transmitted bit 52
    Sent second = kVoiced;
    second.gain_index[1] = 1;  // transmitted bit 0
    second.voicing_index = 3;  // transmitted bit 1
    const Sent frames[] = {first, second};
    write_frames(words, 2, frames);
    const int sync0 = sync_state() == 1 ? 0 : 1;  // frame 1 carried the last sync bit
    EXPECT_EQ(words[6], 0x1Fu | static_cast<ChannelWord>(sync0) << 5 | 0xC0u);
}

TEST_F(FrameBits, AnUnvoicedFrameReadsAsSilenceLikeParameters) {
    const Sent frames[] = {kUnvoiced};
    write_frames(words, 1, frames);
    ASSERT_EQ(read(), 0);
    EXPECT_EQ(reader.state->unvoiced, 1);
    EXPECT_EQ(reader.state->pitch, 50.0f);
    EXPECT_FLOAT_EQ(reader.state->jitter, 0.25f);
    for (float v : reader.state->voicing) EXPECT_EQ(v, 0.0f);
    for (float m : reader.state->harm_mag) EXPECT_EQ(m, 1.0f);
    EXPECT_EQ(reader.lsf_codes[0], kUnvoiced.lsf_codes[0]);
    EXPECT_EQ(reader.lsf_codes[3], kUnvoiced.lsf_codes[3]);
    EXPECT_EQ(reader.state->gain_index[1], 13);
}

TEST_F(FrameBits, EverySingleFlipOfAProtectedChannelBitIsCorrected) {
    // Field-list positions of the LSF stage-1, gain, voicing, harmonic and jitter bits.
    int protected_bits[28];
    int n = 0;
    for (int b = 21; b <= 27; ++b) protected_bits[n++] = b;
    for (int b = 0; b <= 4; ++b) protected_bits[n++] = b;
    for (int b = 6; b <= 8; ++b) protected_bits[n++] = b;
    for (int b = 16; b <= 20; ++b) protected_bits[n++] = b;
    for (int b = 46; b <= 53; ++b) protected_bits[n++] = b;
    ASSERT_EQ(n, 28);
    for (int b : protected_bits) {
        const Sent frames[] = {kUnvoiced};
        write_frames(words, 1, frames);
        flip_channel_bit(words, transmitted(b));
        reader.state->chan_word = words;
        reader.state->chan_bit = 0;
        ASSERT_EQ(read(), 0) << b;
        EXPECT_EQ(reader.state->unvoiced, 1) << b;
        EXPECT_EQ(reader.lsf_codes[0], kUnvoiced.lsf_codes[0]) << b;
        EXPECT_EQ(reader.state->gain_index[1], kUnvoiced.gain_index[1]) << b;
        EXPECT_EQ(reader.state->gain_index[0], kUnvoiced.gain_index[0] - 1) << b;
    }
}

TEST_F(FrameBits, AnErasedFrameRepeatsThePreviousFrameAndKeepsItsPosition) {
    CodecState& prev = *previous.state;
    prev.pitch = 77.0f;
    prev.gain[0] = 20.0f;
    prev.gain[1] = 30.0f;
    prev.pending = 123;
    prev.noise_level = 17.0f;
    prev.prev = &prev;  // the copy's own link means nothing and must not be taken over
    Sent lowest_pitch = kVoiced;
    lowest_pitch.pitch_index = 0;  // code 0000111
    struct Case {
        Sent frame;
        int flips[2];  // field-list bits; -1 for none
    };
    // Two errors in the (8,4) word of an unvoiced frame; a voiced pitch code left with two 1s.
    const Case cases[] = {{kUnvoiced, {24, 17}}, {kUnvoiced, {27, 25}}, {lowest_pitch, {10, -1}}};
    for (const Case& c : cases) {
        write_frames(words, 1, &c.frame);
        for (int b : c.flips) {
            if (b >= 0) flip_channel_bit(words, transmitted(b));
        }
        reader.state->chan_word = words;
        reader.state->chan_bit = 0;
        ASSERT_EQ(read(), 1);
        EXPECT_EQ(reader.state->pitch, 77.0f);
        EXPECT_EQ(reader.state->gain[0], 30.0f);
        EXPECT_EQ(reader.state->gain[1], 30.0f);
        EXPECT_EQ(reader.state->pending, 123);
        EXPECT_EQ(reader.state->noise_level, 17.0f);
        EXPECT_EQ(reader.state->prev, previous.state.get());
        EXPECT_EQ(reader.state->chan_word, words + 6);
        EXPECT_EQ(reader.state->chan_bit, 6);
        EXPECT_EQ(prev.chan_word, words + 6);
    }
}

}  // namespace
