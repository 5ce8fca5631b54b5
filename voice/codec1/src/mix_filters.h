// The mixed excitation's shaping filters: five band-pass filters summed into a pulse filter
// (voiced bands) and a noise filter (the other bands).
#pragma once

#include "codec_state.h"

// Tap n (0..32) of band b (0..4, lowest first); each filter is linear-phase.
float band_filter_tap(int band, int n);
// A band is voiced when its strength is strictly above 0.5.
void build_mix_filters(const float* voicing, float* pulse_mix, float* noise_mix);
