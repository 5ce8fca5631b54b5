#include "pitch_code.h"

#include <gtest/gtest.h>

namespace {

int ones(int code) {
    int n = 0;
    for (; code != 0; code >>= 1) n += code & 1;
    return n;
}

TEST(PitchCodeTable, ListsTheCodesWithAtLeastThreeOnesInIncreasingOrder) {
    EXPECT_EQ(pitch_code_table[0], 0);
    const int first[] = {7, 11, 13, 14, 15, 19};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(pitch_code_table[i + 1], first[i]);
    EXPECT_EQ(pitch_code_table[98], 126);
    EXPECT_EQ(pitch_code_table[99], 127);
    for (int i = 1; i < kPitchCodeCount; ++i) {
        EXPECT_GE(ones(pitch_code_table[i]), 3) << i;
        if (i > 1) {
            EXPECT_GT(pitch_code_table[i], pitch_code_table[i - 1]) << i;
        }
    }
}

TEST(PitchDecodeTable, SortsEveryCodeIntoUnvoicedErasedOrItsPitch) {
    for (int code = 0; code < kPitchCodeSpace; ++code) {
        const int v = pitch_decode_table[code];
        if (ones(code) <= 1) {
            EXPECT_EQ(v, kPitchDecodeUnvoiced) << code;
        } else if (ones(code) == 2) {
            EXPECT_EQ(v, kPitchDecodeErased) << code;
        } else {
            ASSERT_GE(v, 2) << code;
            ASSERT_LE(v, kPitchCodeCount) << code;
            EXPECT_EQ(pitch_code_table[v - 1], code);
        }
    }
    EXPECT_EQ(pitch_decode_table[0b0000100], kPitchDecodeUnvoiced);
    EXPECT_EQ(pitch_decode_table[0b0000101], kPitchDecodeErased);
    EXPECT_EQ(pitch_decode_table[7], 2);
    EXPECT_EQ(pitch_decode_table[127], 100);
}

}  // namespace
