// Adaptive gain of one synthesized pitch period.
#pragma once

// Scales s[0..n-1] to an RMS of about gain; the first samples ramp over from *last_scale, the
// previous period's factor, which then becomes this period's factor.
void scale_period(float* s, float gain, float* last_scale, int n);
