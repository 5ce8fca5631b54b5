#include "fec.h"

#include <gtest/gtest.h>

#include <string>

#include "pitch_code.h"

namespace {

// A frame record with its own index lists.
struct Frame {
    FrameParams params{};
    int lsf_codes[kLsfStages] = {};
    int harm_code = 0;

    Frame() {
        params.lsf_codes = lsf_codes;
        params.harm_code = &harm_code;
    }
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;
};

void fill_unvoiced(Frame* f, int lsf1, int gain1, int gain0) {
    f->params.unvoiced = 1;
    f->params.pitch_index = 0;
    f->params.jitter_index = 1;
    f->params.voicing_index = 0;
    f->params.gain_index[0] = gain0;
    f->params.gain_index[1] = gain1;
    f->lsf_codes[0] = lsf1;
    f->lsf_codes[1] = 21;
    f->lsf_codes[2] = 42;
    f->lsf_codes[3] = 63;
    f->harm_code = 0;
}

// The 28 bits that carry an unvoiced frame's protected indexes or their parity.
struct ProtectedBit {
    const char* name;
    int bit;
};

constexpr ProtectedBit kProtected[] = {
    {"lsf1", 0},    {"lsf1", 1},  {"lsf1", 2},  {"lsf1", 3},    {"lsf1", 4},    {"lsf1", 5},
    {"lsf1", 6},    {"gain1", 0}, {"gain1", 1}, {"gain1", 2},   {"gain1", 3},   {"gain1", 4},
    {"gain0", 0},   {"gain0", 1}, {"gain0", 2}, {"voicing", 0}, {"voicing", 1}, {"voicing", 2},
    {"voicing", 3}, {"harm", 0},  {"harm", 1},  {"harm", 2},    {"harm", 3},    {"harm", 4},
    {"harm", 5},    {"harm", 6},  {"harm", 7},  {"jitter", 0}};

int* field(Frame* f, const char* name) {
    const std::string n = name;
    if (n == "lsf1") return &f->lsf_codes[0];
    if (n == "gain1") return &f->params.gain_index[1];
    if (n == "gain0") return &f->params.gain_index[0];
    if (n == "voicing") return &f->params.voicing_index;
    if (n == "harm") return &f->harm_code;
    return &f->params.jitter_index;
}

void flip(Frame* f, const ProtectedBit& b) { *field(f, b.name) ^= 1 << b.bit; }

TEST(FecEncode, VoicedFramesGetThePitchCodeOfTheirIndex) {
    struct Case {
        int index;
        int code;
    };
    for (const Case& c : {Case{0, 7}, Case{1, 11}, Case{98, 127}, Case{97, 126}}) {
        Frame f;
        f.params.pitch_index = c.index;
        f.params.voicing_index = 9;
        f.params.jitter_index = 1;
        f.harm_code = 200;
        fec_encode(&f.params);
        EXPECT_EQ(f.params.pitch_index, c.code);
        EXPECT_EQ(f.params.voicing_index, 9);
        EXPECT_EQ(f.params.jitter_index, 1);
        EXPECT_EQ(f.harm_code, 200);
        EXPECT_EQ(fec_decode(&f.params), 0);
        EXPECT_EQ(f.params.unvoiced, 0);
        EXPECT_EQ(f.params.pitch_index, c.index);
    }
}

TEST(FecEncode, UnvoicedFramesCarryParityInTheirUnusedFields) {
    Frame f;
    fill_unvoiced(&f, 0b1011001, 0b10110, 0b101);
    f.params.pitch_index = 55;
    fec_encode(&f.params);
    EXPECT_EQ(f.params.pitch_index, 0);
    // (8,4) over 1,0,1,1: parity 0,1,0,0 with the first parity bit in bit 3.
    EXPECT_EQ(f.params.voicing_index, 0b0100);
    // (7,4) over 0,0,1,0 -> 0,1,1; over 1,0,1,1 -> 0,1,0; over 0,1,0,1 -> 0,1 and jitter 0.
    EXPECT_EQ(f.harm_code, 0b01101001);
    EXPECT_EQ(f.params.jitter_index, 0);
}

TEST(FecDecode, EveryUnvoicedFrameDecodesToItsIndexes) {
    for (int lsf1 = 0; lsf1 < 128; ++lsf1) {
        for (int gain1 = 0; gain1 < 32; ++gain1) {
            for (int gain0 = 0; gain0 < 8; ++gain0) {
                Frame f;
                fill_unvoiced(&f, lsf1, gain1, gain0);
                fec_encode(&f.params);
                ASSERT_EQ(fec_decode(&f.params), 0);
                ASSERT_EQ(f.params.unvoiced, 1);
                ASSERT_EQ(f.lsf_codes[0], lsf1);
                ASSERT_EQ(f.params.gain_index[1], gain1);
                ASSERT_EQ(f.params.gain_index[0], gain0);
                ASSERT_EQ(f.params.voicing_index, 0);
                ASSERT_EQ(f.params.jitter_index, 1);
            }
        }
    }
}

TEST(FecDecode, CorrectsAnySingleFlipAmongTheProtectedBits) {
    for (const ProtectedBit& b : kProtected) {
        for (int lsf1 = 0; lsf1 < 128; lsf1 += 3) {
            for (int gains = 0; gains < 256; gains += 7) {
                Frame f;
                fill_unvoiced(&f, lsf1, gains >> 3, gains & 7);
                fec_encode(&f.params);
                flip(&f, b);
                ASSERT_EQ(fec_decode(&f.params), 0) << b.name << b.bit;
                ASSERT_EQ(f.params.unvoiced, 1);
                ASSERT_EQ(f.lsf_codes[0], lsf1) << b.name << b.bit;
                ASSERT_EQ(f.params.gain_index[1], gains >> 3) << b.name << b.bit;
                ASSERT_EQ(f.params.gain_index[0], gains & 7) << b.name << b.bit;
                ASSERT_EQ(f.lsf_codes[1], 21);
            }
        }
    }
}

TEST(FecDecode, TwoFlipsInTheEightBitWordEraseTheFrame) {
    // The (8,4) word: bits 6..3 of the first LSF index and the four voicing-code bits.
    const ProtectedBit word[] = {{"lsf1", 6},    {"lsf1", 5},    {"lsf1", 4},    {"lsf1", 3},
                                 {"voicing", 3}, {"voicing", 2}, {"voicing", 1}, {"voicing", 0}};
    for (int a = 0; a < 8; ++a) {
        for (int b = a + 1; b < 8; ++b) {
            Frame f;
            fill_unvoiced(&f, 0b0110101, 17, 3);
            fec_encode(&f.params);
            flip(&f, word[a]);
            flip(&f, word[b]);
            EXPECT_EQ(fec_decode(&f.params), 1) << a << " " << b;
        }
    }
}

TEST(FecDecode, PitchCodesWithFewOnesAreUnvoicedOrErased) {
    struct Case {
        int code;
        int erased;
        int unvoiced;
    };
    for (const Case& c : {Case{0b0000100, 0, 1}, Case{0b0000000, 0, 1}, Case{0b0000101, 1, 0},
                          Case{0b1100000, 1, 0}, Case{0b0000111, 0, 0}}) {
        Frame f;
        fill_unvoiced(&f, 9, 9, 1);
        f.params.unvoiced = 0;
        fec_encode(&f.params);  // a voiced frame: its voicing and harmonic fields stay free
        f.params.pitch_index = c.code;
        EXPECT_EQ(fec_decode(&f.params), c.erased) << c.code;
        if (!c.erased) {
            EXPECT_EQ(f.params.unvoiced, c.unvoiced) << c.code;
        }
    }
}

}  // namespace
