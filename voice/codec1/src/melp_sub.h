// Analysis support: DC removal, frame energy, band voicing with envelopes, residual peakiness,
// gain measurement and harmonic magnitudes.
#pragma once

#include "melp_types.h"

constexpr int kDcOrder = 4;
constexpr int kBandFilterOrder = 6;
// The voicing and pitch windows span the analysis point +- the longest pitch.
constexpr int kAnalysisHalfWindow = kPitchMax;
constexpr int kAnalysisWindow = 2 * kAnalysisHalfWindow + 1;  // 321
constexpr int kCorrelationWindow = 160;
constexpr int kPitchCandidates = 2;
constexpr int kHarmonicFftSize = 512;

// Removes DC with a 4th-order highpass; mem holds the last four all-pole outputs.
void dc_block(const float* in, float* out, float* mem, int n);

// Natural log of the energy of the even-indexed samples (every other one).
float frame_log_energy(const float* x, int n);

// y[i] = |x[i]| - |x[i-1]| + 1.9266 y[i-1] - 0.9409 y[i-2]; x[-1] = prev, y[-2..-1] stand in
// front of y; x may be y.
void envelope_filter(const float* x, float prev, float* y, int n);

// sqrt(n * energy) / sum of magnitudes, 0 for a signal of (almost) no magnitude.
float peakiness(const float* x, int n);

// Gain in dB of a window centred on x: whole periods of len up to at least min_len samples.
float gain_measure(const float* x, float len, float min_len, int max_len);

// Magnitudes of the first count harmonics of pitch in the n-sample block x (n <= 512),
// normalized to unit RMS; harmonics beyond pitch / 4 stay 1.0.
void harmonic_magnitudes(const float* x, float* mag, float pitch, int count, int n);

// Memories of the band voicing analysis; they carry over from frame to frame.
struct VoicingMemory {
    float** band_mem;  // [kVoicingBands][kBandFilterOrder] band filter outputs
    float** env_mem;   // [kVoicingBands][2] last two envelope filter outputs
    float* env_prev;   // [kVoicingBands] last envelope filter input
    float* band_work;  // [kBandFilterOrder + kAnalysisWindow] filter history, then the signal
    // The last run of each band filter: its input window and its all-pole outputs (history
    // first), from which the next frame takes the samples both windows share.
    float** band_input;  // [kVoicingBands][kAnalysisWindow]
    float** band_poles;  // [kVoicingBands][kBandFilterOrder + kAnalysisWindow]
};

void voicing_init(VoicingMemory* mem);
void voicing_release(VoicingMemory* mem);

// x points at the analysis point (kAnalysisHalfWindow samples on both sides); cand holds the
// previous and current frame-end pitch estimates. Writes the five band voicing strengths and
// the sub-frame pitch.
void voicing_analysis(VoicingMemory* mem, const float* x, const float* cand, float* voicing,
                      float* sub_pitch);
