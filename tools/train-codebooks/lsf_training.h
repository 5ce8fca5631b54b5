// Training and measurement of the four-stage LSF codebook on the analysis' unquantized LSFs
// and their quantizer weights. Codebooks here are in Hz, as the coder stores them.
#pragma once

#include <vector>

#include "codebooks.h"
#include "melp_ana.h"

struct LsfTrainingReport {
    int frames;              // coded (non-silent, finite) frames trained on
    double stagewise_error;  // mean weighted error after training the stages in turn
    double joint_error;      // after the joint refinement
};

// Trains codebook_hz (kLsfCodebookSize values); the quoted codevectors stay as they are.
LsfTrainingReport train_lsf_codebook(const std::vector<TrainingFrame>& frames, float* codebook_hz);

// Mean weighted error of the coded frames under the coder's search with codebook_hz.
double lsf_weighted_error(const std::vector<TrainingFrame>& frames, const float* codebook_hz);

// Spectral distortion (dB) of every coded frame quantized as the encoder does it
// (M-best search, then the minimum-distance clamp), over 0..band_hz.
std::vector<double> lsf_spectral_distortions(const std::vector<TrainingFrame>& frames,
                                             const float* codebook_hz, double band_hz);
