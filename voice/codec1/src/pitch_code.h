// Joint pitch and voicing code: 7-bit codes with at least three 1 bits carry a pitch index,
// 0 marks an unvoiced frame, codes with exactly two 1 bits an erasure.
#pragma once

#include <array>

constexpr int kPitchCodeCount = 100;  // index 0 (unvoiced) and the 99 pitch levels
constexpr int kPitchCodeSpace = 128;
constexpr int kPitchDecodeUnvoiced = 0;
constexpr int kPitchDecodeErased = 1;

// Pitch index + 1 (0 = unvoiced) -> 7-bit code.
extern const std::array<int, kPitchCodeCount> pitch_code_table;
// 7-bit code -> 0 (unvoiced), 1 (erased) or the position in pitch_code_table plus 1.
extern const std::array<int, kPitchCodeSpace> pitch_decode_table;
