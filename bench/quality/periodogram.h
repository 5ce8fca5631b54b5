// Power spectrum of one real frame, zero-padded to a power of two.
#pragma once

#include <vector>

// Returns |X[k]|^2 for k = 0..n_points/2 of the DFT of `frame` (at most n_points samples).
std::vector<float> power_spectrum(const std::vector<float>& frame, int n_points);
