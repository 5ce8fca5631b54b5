// Pitch analysis of the encoder: the frame-end integer estimate on lowpass-filtered speech, the
// fractional refinement and doubling checks, the final pitch on the residual and the long-term
// pitch average. The memories are records owned by the encoder's analysis state.
#pragma once

#include "melp_types.h"

constexpr int kPitchLpfOrder = 6;              // the 1 kHz Butterworth lowpass
constexpr int kPitchWindow = 160;              // correlation window
constexpr int kPitchSpan = 2 * kPitchMax + 1;  // samples around the analysis point: 321
constexpr int kPitchFrameAdvance = kFrameLength;
constexpr float kDefaultPitch = 50.0f;
constexpr int kPitchHistoryLength = 3;
constexpr float kPitchAverageDecay = 0.95f;
constexpr int kFrameEndSearchMin = 40;  // lowest lag of the frame-end search

// Frame-end estimates: estimate[0] the previous frame's, estimate[1] this frame's.
struct FrameEndPitch {
    float lpf_mem[kPitchLpfOrder];
    float estimate[2];
    // The lowpass's last run, whose shared samples the next frame reuses.
    float last_input[kPitchSpan];
    float poles[kPitchLpfOrder + kPitchSpan];
};

// Memories of the final pitch analysis, allocated by final_pitch_init.
struct FinalPitch {
    float* lpf_mem;  // kPitchLpfOrder floats
    float* work;     // kPitchLpfOrder history slots followed by kPitchSpan samples
};

// Confirmed pitches, newest first, and their median.
struct PitchAverage {
    float* hist;  // kPitchHistoryLength floats
    float avg;
};

// Zero lowpass memory, both estimates at the default pitch.
void frame_end_pitch_init(FrameEndPitch* state);
// Lowpasses the pitch window around x (x[-kPitchMax..kPitchMax]) and stores the integer pitch
// search result at x as estimate[1].
void frame_end_pitch_estimate(FrameEndPitch* state, const float* x);
// A quiet frame leaves the lowpass memory alone and estimates the default pitch.
void frame_end_pitch_quiet(FrameEndPitch* state);
// End of frame: this frame's estimate becomes the previous one.
void frame_end_pitch_advance(FrameEndPitch* state);

// Best integer lag in lo..hi of two len-sample windows centred on x; its normalized
// correlation goes to *corr.
float integer_pitch_search(const float* x, float* corr, int lo, int hi, int len);
// Fractional refinement of pitch around x (after an integer search of +-range when range > 0).
float fractional_pitch(const float* x, float* corr, float pitch, int range, int pmin, int pmax,
                       int len);
// Lowers *corr to that of the first multiple of a pitch below 30 that reaches 30.
void pitch_multiple_check(const float* x, float* corr, float pitch, int pmin, int pmax, int len);
// Replaces pitch by a submultiple that correlates above thresh times its own correlation.
float pitch_double_check(const float* x, float* corr, float pitch, float thresh, int pmin, int pmax,
                         int len);

void final_pitch_init(FinalPitch* state);
void final_pitch_release(FinalPitch* state);
// speech and resid point at the analysis point of the DC-removed speech and of the LPC
// residual (kPitchMax samples on each side). Returns the frame's pitch.
float final_pitch(FinalPitch* state, const float* speech, const float* resid, float sub_pitch,
                  float pitch_avg, float* corr_out);

void pitch_average_init(PitchAverage* state);
void pitch_average_release(PitchAverage* state);
// Updates the history with pitch when corr > vmin, else decays it towards the default; stores
// and returns the new average.
float pitch_average_update(PitchAverage* state, float pitch, float corr, float vmin);
