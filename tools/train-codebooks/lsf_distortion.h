// Spectral distortion between the LPC spectra of two LSF sets: the usual measure of how much an
// LSF quantizer changes the spectral envelope.
#pragma once

#include <vector>

// Root mean square of the dB difference of the two all-pole power spectra over 0..band_hz
// (at 8000 samples/s). LSFs are w[1..p], sorted, normalized (1.0 = 4000 Hz).
double lsf_spectral_distortion(const float* lsf_a, const float* lsf_b, int p, double band_hz);

struct DistortionSummary {
    double mean_db;
    double share_above_2db;  // 0..1
    double share_above_4db;
};

DistortionSummary summarize_distortion(const std::vector<double>& frame_db);
