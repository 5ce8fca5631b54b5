// Synthesis of one pitch period: mixed excitation, enhancement, tilt, LPC synthesis, gain and
// dispersion, with every parameter interpolated to where the period starts.
#pragma once

#include "codec_state.h"

// What a frame computes once for all its periods.
struct FrameSynthValues {
    float pulse_mix[kMixTaps];
    float noise_mix[kMixTaps];
    float tilt;
};

// Synthesizes the period that starts at sample state->pending of the frame into out (samples
// past the frame go to state->overflow) and advances pending by its length.
void synth_period(CodecState* state, const FrameSynthValues& frame, float* out);
