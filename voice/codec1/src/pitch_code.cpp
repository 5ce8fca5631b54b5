#include "pitch_code.h"

namespace {

constexpr int kPitchCodeBits = 7;

constexpr int ones(int value) {
    int count = 0;
    for (int bit = 0; bit < kPitchCodeBits; ++bit) count += (value >> bit) & 1;
    return count;
}

// A voiced code keeps at least three 1 bits so that one channel error cannot make it look
// unvoiced; two 1 bits are one error away from both kinds and mark an erasure.
constexpr std::array<int, kPitchCodeCount> make_code_table() {
    std::array<int, kPitchCodeCount> table{};
    int next = 1;
    for (int code = 0; code < kPitchCodeSpace; ++code) {
        if (ones(code) >= 3) table[next++] = code;
    }
    return table;
}

constexpr std::array<int, kPitchCodeSpace> make_decode_table(
    const std::array<int, kPitchCodeCount>& codes) {
    std::array<int, kPitchCodeSpace> table{};
    for (int code = 0; code < kPitchCodeSpace; ++code) {
        table[code] = ones(code) <= 1 ? kPitchDecodeUnvoiced : kPitchDecodeErased;
    }
    for (int position = 1; position < kPitchCodeCount; ++position) {
        table[codes[position]] = position + 1;
    }
    return table;
}

constexpr std::array<int, kPitchCodeCount> kCodeTable = make_code_table();

}  // namespace

const std::array<int, kPitchCodeCount> pitch_code_table = kCodeTable;
const std::array<int, kPitchCodeSpace> pitch_decode_table = make_decode_table(kCodeTable);
