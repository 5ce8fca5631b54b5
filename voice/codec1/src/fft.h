// In-place complex FFT on interleaved (re, im) pairs.
#pragma once

// data[k] = sum_n x[n] e^{sign j 2 pi n k / n_points}, unscaled; n_points is a power of two.
void complex_fft(float* data, int n_points, int sign);
