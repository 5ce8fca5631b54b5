// Interpolation helpers of the pitch-synchronous synthesis.
#pragma once

// out[i] = (1 - x) a[i] + x b[i]; out may be a or b.
void interp_vectors(const float* a, const float* b, float x, float* out, int n);
// y_lo up to x_lo, y_hi from x_hi on, a straight line in between.
float bounded_ramp(float x, float x_lo, float x_hi, float y_lo, float y_hi);
