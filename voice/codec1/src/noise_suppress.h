// Background noise estimate and the gain attenuation that keeps noise-only frames quiet.
#pragma once

// *level follows g by at most up (rise) and down (fall, negative) per call, then stays within
// [floor, ceiling].
void track_noise_level(float g, float* level, float up, float down, float floor, float ceiling);
// Lowers *g by the attenuation for a signal d = g - (min(level, ceiling) + offset) dB above
// the noise: -10 log10(1 - 10^(-d/10)), at most max_att (also when d is not positive).
void suppress_gain(float* g, float level, float ceiling, float max_att, float offset);
