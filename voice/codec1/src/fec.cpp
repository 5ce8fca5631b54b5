#include "fec.h"

#include "pitch_code.h"

namespace {

constexpr int kDataBits = 4;
constexpr int kUncorrectable = -2;

// Parity row r covers the data bits c[i] marked 1.
constexpr int kGenerator[4][kDataBits] = {{1, 1, 0, 1}, {1, 0, 1, 1}, {0, 1, 1, 1}, {1, 1, 1, 0}};
constexpr int kCorrection74[8] = {-1, 6, 5, 2, 4, 1, 0, 3};
constexpr int kCorrection84[16] = {-1, 7, 6, -2, 5, -2, -2, 2, 4, -2, -2, 1, -2, 0, 3, -2};

struct HammingCode {
    int length;
    const int* correction;  // indexed by the syndrome: position to flip, -1 none, -2 erased
};

constexpr HammingCode kHamming74 = {7, kCorrection74};
constexpr HammingCode kHamming84 = {8, kCorrection84};
constexpr int kMaxLength = 8;

int row_parity(int row, const int* c) {
    int parity = 0;
    for (int i = 0; i < kDataBits; ++i) parity ^= kGenerator[row][i] & c[i];
    return parity;
}

void set_parity(const HammingCode& code, int* c) {
    for (int r = 0; r < code.length - kDataBits; ++r) c[kDataBits + r] = row_parity(r, c);
}

// Flips the bit the syndrome points to; returns the table entry.
int correct(const HammingCode& code, int* c) {
    int syndrome = 0;
    for (int r = 0; r < code.length - kDataBits; ++r) {
        syndrome = (syndrome << 1) | (row_parity(r, c) ^ c[kDataBits + r]);
    }
    const int position = code.correction[syndrome];
    if (position >= 0) c[position] ^= 1;
    return position;
}

// count bits of *field from bit `top` downwards; a null field stands for constant 0 bits.
struct BitRun {
    int* field;
    int top;
    int count;
};

// One code word: runs filling c[0..length-1] in order, the first `data_runs` the data bits.
struct ProtectedWord {
    const HammingCode* code;
    int data_runs;
    int run_count;
    BitRun runs[4];
};

constexpr int kWordCount = 4;

// The four code words of an unvoiced frame; the first, (8,4), decides erasure.
void protected_words(FrameParams* p, ProtectedWord* words) {
    int* lsf1 = &p->lsf_codes[0];
    int* harm = p->harm_code;
    int* gain1 = &p->gain_index[1];
    words[0] = {&kHamming84, 1, 2, {{lsf1, 6, 4}, {&p->voicing_index, 3, 4}}};
    words[1] = {&kHamming74, 2, 3, {{lsf1, 2, 3}, {nullptr, 0, 1}, {harm, 7, 3}}};
    words[2] = {&kHamming74, 1, 2, {{gain1, 4, 4}, {harm, 4, 3}}};
    words[3] = {&kHamming74,
                2,
                4,
                {{gain1, 0, 1}, {&p->gain_index[0], 2, 3}, {harm, 1, 2}, {&p->jitter_index, 0, 1}}};
}

void gather(const ProtectedWord& word, int* c) {
    int n = 0;
    for (int r = 0; r < word.run_count; ++r) {
        const BitRun& run = word.runs[r];
        for (int b = 0; b < run.count; ++b) {
            c[n++] = run.field != nullptr ? (*run.field >> (run.top - b)) & 1 : 0;
        }
    }
}

void scatter(const ProtectedWord& word, const int* c, int first_run, int end_run) {
    int n = 0;
    for (int r = 0; r < first_run; ++r) n += word.runs[r].count;
    for (int r = first_run; r < end_run; ++r) {
        const BitRun& run = word.runs[r];
        for (int b = 0; b < run.count; ++b, ++n) {
            if (run.field == nullptr) continue;
            const int mask = 1 << (run.top - b);
            *run.field = (*run.field & ~mask) | (c[n] != 0 ? mask : 0);
        }
    }
}

// Corrects one received word and stores its data bits back; returns the correction entry.
int decode_word(const ProtectedWord& word) {
    int c[kMaxLength] = {};
    gather(word, c);
    const int position = correct(*word.code, c);
    scatter(word, c, 0, word.data_runs);
    return position;
}

}  // namespace

void fec_encode(FrameParams* params) {
    params->pitch_index += 1;
    if (params->unvoiced == 1) {
        params->pitch_index = 0;
        ProtectedWord words[kWordCount];
        protected_words(params, words);
        for (const ProtectedWord& word : words) {
            int c[kMaxLength] = {};
            gather(word, c);
            set_parity(*word.code, c);
            scatter(word, c, word.data_runs, word.run_count);
        }
    }
    params->pitch_index = pitch_code_table[params->pitch_index];
}

int fec_decode(FrameParams* params) {
    const int v = pitch_decode_table[params->pitch_index];
    params->unvoiced = v == kPitchDecodeUnvoiced ? 1 : 0;
    if (v != kPitchDecodeUnvoiced) {
        if (v == kPitchDecodeErased) return 1;
        params->pitch_index = v - 2;
        return 0;
    }
    ProtectedWord words[kWordCount];
    protected_words(params, words);
    const int first = decode_word(words[0]);
    params->voicing_index = 0;
    // Only the (8,4) word detects double errors; the (7,4) words always apply their correction.
    if (first == kUncorrectable) return 1;
    for (int w = 1; w < kWordCount; ++w) decode_word(words[w]);
    params->jitter_index = 1;
    return 0;
}
