// Mel-cepstra of a signal on the measurement grid, and the distortion between two of them.
#pragma once

#include <array>
#include <vector>

constexpr int kMelBands = 24;
constexpr int kCepstralOrder = 12;  // coefficients 1..12; c0 (level) is left out

using MelCepstrum = std::array<float, kCepstralOrder>;

// One cepstrum per frame of analysis_grid.h: 25 ms Hamming window, 24 triangular mel bands
// over 80..3800 Hz, natural log of the band amplitudes, DCT-II scaled as a cepstrum.
std::vector<MelCepstrum> mel_cepstra(const std::vector<float>& signal);

// 10/ln10 * sqrt(2 * sum (a_d - b_d)^2), in dB.
float mel_cepstral_distortion(const MelCepstrum& a, const MelCepstrum& b);
