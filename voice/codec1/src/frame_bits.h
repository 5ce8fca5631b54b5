// The 54-bit channel frame: field packing, transmission order, and the writer and reader that
// move a frame between FrameParams and the channel words.
#pragma once

#include "codec_state.h"
#include "melp_types.h"

constexpr int kChannelWordBits = 8;

// Transmitted bit j is bit bit_order[j] of the frame's field list.
extern const int bit_order[kBitsPerFrame];

// Writes the count low bits of value, least significant first, at (*pos, *bit) with word_bits
// bits per word: bit 0 of a word replaces the word, higher bits are OR-ed in. Advances the
// position.
void pack_bits(int value, ChannelWord** pos, int* bit, int count, int word_bits);
// Reads count bits written by pack_bits back into *value and advances the position.
void unpack_bits(int* value, ChannelWord** pos, int* bit, int count, int word_bits);

// Protects and appends one frame at (chan_word, chan_bit); toggles the process-wide sync bit.
void frame_writer(FrameParams* params);
// Consumes one frame at (chan_word, chan_bit) of the current block and dequantizes it. An
// erased frame repeats the previous-frame copy prev (keeping the reader position and the prev
// link) and returns 1.
int frame_reader(CodecState* state, CodecState* prev);

// Value of the last sync bit written (0 before the first frame of the process).
int sync_state();
