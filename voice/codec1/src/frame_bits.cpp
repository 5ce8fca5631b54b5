#include "frame_bits.h"

#include "codebooks.h"
#include "fec.h"
#include "scalar_quant.h"
#include "vq_lib.h"

const int bit_order[kBitsPerFrame] = {0,  17, 9,  28, 34, 3,  4,  39, 1,  2,  13, 38, 14, 10,
                                      11, 40, 15, 21, 27, 45, 12, 26, 25, 33, 20, 24, 23, 32,
                                      44, 46, 22, 31, 53, 52, 51, 7,  6,  19, 18, 29, 37, 30,
                                      36, 35, 43, 42, 16, 41, 50, 49, 48, 47, 8,  5};

namespace {

constexpr int kSecondGainBits = 5;
constexpr int kSyncBits = 1;
constexpr int kFirstGainBits = 3;
constexpr int kPitchCodeBits = 7;
constexpr int kJitterBits = 1;
constexpr int kVoicingCodeBits = 4;
constexpr int kHarmCodeBits = 8;
constexpr int kMaxFields = 6 + kLsfStages + 1;

// Value of the last sync bit sent, alternating across every frame the process writes.
int last_sync = 0;

struct Field {
    int* value;
    int width;
};

// The frame's fields in the order of its bit list, each least significant bit first.
int frame_fields(FrameParams* p, int* sync, Field* fields) {
    int n = 0;
    fields[n++] = {&p->gain_index[1], kSecondGainBits};
    fields[n++] = {sync, kSyncBits};
    fields[n++] = {&p->gain_index[0], kFirstGainBits};
    fields[n++] = {&p->pitch_index, kPitchCodeBits};
    fields[n++] = {&p->jitter_index, kJitterBits};
    fields[n++] = {&p->voicing_index, kVoicingCodeBits};
    for (int s = 0; s < p->lsf_stage_count; ++s) {
        fields[n++] = {&p->lsf_codes[s], p->lsf_stage_bits[s]};
    }
    fields[n++] = {p->harm_code, kHarmCodeBits};
    return n;
}

// Repeats the previous frame in place of an erased one; only the link and the reader position
// stay the current block's.
void repeat_previous(CodecState* state, CodecState* prev) {
    prev->chan_word = state->chan_word;
    prev->chan_bit = state->chan_bit;
    CodecState* const link = state->prev;
    *state = *prev;
    state->prev = link;
    state->gain[0] = state->gain[1];
}

void dequantize(CodecState* p) {
    msvq_decode(lsf_codebook, &p->lsf[1], nullptr, p->lsf_codes, p->lsf_stage_levels,
                p->lsf_stage_count, kLpcOrder);
    if (p->unvoiced) {
        for (float& mag : p->harm_mag) mag = 1.0f;
    } else {
        msvq_decode(harm_codebook, p->harm_mag, nullptr, p->harm_code, &kHarmLevels, 1, kHarmonics);
    }
    gain_decode(p->gain, p->gain_index, kGainMinDb, kGainMaxDb, kGainLevels);
    p->pitch = p->unvoiced ? kUnvoicedPitch : pitch_dequantize(p->pitch_index);
    p->jitter = jitter_dequantize(p->jitter_index);
    voicing_decode(p->voicing, &p->voicing_index, p->unvoiced, kVoicingBands);
}

}  // namespace

void pack_bits(int value, ChannelWord** pos, int* bit, int count, int word_bits) {
    for (int i = 0; i < count; ++i) {
        const ChannelWord v = (static_cast<unsigned>(value) >> i) & 1u;
        // The first bit of a word replaces whatever the word held.
        if (*bit == 0) {
            **pos = v;
        } else {
            **pos |= v << *bit;
        }
        if (++*bit == word_bits) {
            *bit = 0;
            ++*pos;
        }
    }
}

void unpack_bits(int* value, ChannelWord** pos, int* bit, int count, int word_bits) {
    unsigned result = 0;
    for (int i = 0; i < count; ++i) {
        result |= ((**pos >> *bit) & 1u) << i;
        if (++*bit == word_bits) {
            *bit = 0;
            ++*pos;
        }
    }
    *value = static_cast<int>(result);
}

void frame_writer(FrameParams* params) {
    fec_encode(params);
    int sync = last_sync == 0 ? 1 : 0;
    last_sync = sync;
    ChannelWord list[kBitsPerFrame];
    ChannelWord* pos = list;
    int bit = 0;
    Field fields[kMaxFields];
    const int count = frame_fields(params, &sync, fields);
    for (int f = 0; f < count; ++f) pack_bits(*fields[f].value, &pos, &bit, fields[f].width, 1);
    for (int j = 0; j < kBitsPerFrame; ++j) {
        pack_bits(static_cast<int>(list[bit_order[j]]), &params->chan_word, &params->chan_bit, 1,
                  kChannelWordBits);
    }
}

int frame_reader(CodecState* state, CodecState* prev) {
    ChannelWord list[kBitsPerFrame];
    for (int j = 0; j < kBitsPerFrame; ++j) {
        int v = 0;
        unpack_bits(&v, &state->chan_word, &state->chan_bit, 1, kChannelWordBits);
        list[bit_order[j]] = static_cast<ChannelWord>(v);
    }
    ChannelWord* pos = list;
    int bit = 0;
    int sync = 0;
    Field fields[kMaxFields];
    const int count = frame_fields(state, &sync, fields);
    for (int f = 0; f < count; ++f) unpack_bits(fields[f].value, &pos, &bit, fields[f].width, 1);
    state->unvoiced = 0;
    if (fec_decode(state)) {
        repeat_previous(state, prev);
        return 1;
    }
    dequantize(state);
    return 0;
}

int sync_state() { return last_sync; }
