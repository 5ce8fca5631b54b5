// Vector quantizers of the LSFs (multistage, M-best search) and of the harmonic magnitudes
// (full search), the harmonic weights, and the quantizer descriptions shared by a coder side.
#pragma once

#include "melp_types.h"

constexpr int kLsfSurvivors = 8;
// Accepted candidates after which the M-best search stops tracking its worst survivor.
constexpr int kMsvqTrackLimit = 256;
// Fundamental (samples) whose harmonic frequencies set the magnitude weights.
constexpr float kHarmWeightPitch = 60.0f;

// One quantizer's shape, its per-stage lists and its codebook (stages back to back).
struct VqDescription {
    int stages;
    int survivors;
    int dim;
    int* levels;   // codevectors per stage
    int* indexes;  // chosen codevector per stage, filled by the search or the frame reader
    int* bits;     // bits per stage
    float* codebook;
};

// Allocates the levels, index and bits lists (sites first_site, +1, +2 of module, through
// codec_alloc_failure) and fills levels and bits from the given arrays.
void vq_description_create(VqDescription* desc, int stages, int survivors, int dim,
                           const int* levels, const int* bits, float* codebook, const char* module,
                           int first_site);
// Releases whatever lists are present and clears the references.
void vq_description_release(VqDescription* desc);
// Points the frame's index lists at the two descriptions, as the writer and reader expect.
void frame_params_attach(FrameParams* params, const VqDescription* lsf, const VqDescription* harm);

// w[i] for i = 1..p from the LPC power response at each lsf[i] (both arrays 1-based, entry 0
// untouched); the two highest weights are de-emphasized.
void lsf_weights(float* w, const float* lsf, const float* a, int p);

// Multistage M-best search of target[0..p-1] (minus estimate when not null) with weights
// w[0..p-1]. Writes the per-stage indexes to codes and the quantized vector to out (out may
// be target). Returns the weighted squared error of the chosen path.
float msvq_search(const float* cb, const float* target, const float* estimate, const int* levels,
                  int survivors, int stages, int p, const float* w, float* out, int* codes,
                  int limit);
// out = estimate (or 0 when null) + sum over stages of codevector codes[s] of stage s.
void msvq_decode(const float* cb, float* out, const float* estimate, const int* codes,
                 const int* levels, int stages, int p);
// Full search by plain squared distance (first smallest wins); out gets the codevector
// (out may be x), *code its index. Returns the smallest squared distance.
float vq_search(const float* cb, const float* x, int size, int p, float* out, int* code);

// LSF quantization of one frame: weights from the predictor a[0..p], M-best search with the
// description, quantized LSFs back into params->lsf[1..p] and indexes into desc->indexes.
void lsf_quantize(FrameParams* params, const float* a, const VqDescription* desc);

// w[k-1] = 117 / (25 + 75 (1 + 1.4 f_k^2)^0.69), f_k in kHz of harmonic k of pitch, k = 1..count.
void harm_weights(float* w, float pitch, int count);
// Weights mag[0..kHarmonics-1] and replaces it by the nearest of the levels pre-weighted
// codevectors of cb; *code gets its index.
void harm_quantize(float* mag, const float* weights, const float* cb, int levels, int* code);
