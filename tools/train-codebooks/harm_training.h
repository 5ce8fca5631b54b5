// Training and measurement of the harmonic-magnitude codebook. The coder searches the weighted
// magnitudes with the plain squared distance, so training works on them too; the codebook
// itself holds unweighted magnitudes, as the coder stores them.
#pragma once

#include <vector>

#include "codebooks.h"
#include "melp_ana.h"

struct HarmTrainingReport {
    int frames;    // voiced, non-silent frames trained on
    double error;  // mean squared error of the weighted magnitudes
};

// Trains codebook (kHarmCodebookSize values); the quoted codevector 0 stays as it is.
HarmTrainingReport train_harm_codebook(const std::vector<TrainingFrame>& frames, float* codebook);

// Mean squared error of the voiced frames' weighted magnitudes under the coder's full search.
double harm_weighted_error(const std::vector<TrainingFrame>& frames, const float* codebook);
