// Training of the multistage LSF quantizer: each stage by weighted k-means on the residuals the
// earlier stages leave under the M-best search, then joint passes in which every stage is
// re-centred on what the full search assigns it.
#pragma once

#include "weighted_kmeans.h"

// The set's weights must be present: the search's distance is always weighted.
struct MsvqLayout {
    int stages;
    int dim;
    const int* levels;  // codevectors per stage
    const int* fixed;   // given leading codevectors per stage
    int survivors;      // of the M-best search
    CodevectorConstraint first_stage_constraint;
};

// Offset of stage s in a codebook of the layout.
int msvq_stage_offset(const MsvqLayout& layout, int stage);

// Mean weighted error of the set under the M-best search with all stages.
double msvq_distortion(const WeightedSet& set, const float* codebook, const MsvqLayout& layout);

// Trains the stages in order; the fixed codevectors must already be in the codebook. Returns the
// mean weighted error after the last stage.
double msvq_train_stagewise(const WeightedSet& set, float* codebook, const MsvqLayout& layout,
                            const KmeansOptions& opt);

// Joint refinement: up to `passes` rounds over the stages, each stage's free codevectors
// becoming the weighted mean of the target minus the other stages' choices. Keeps the best
// codebook seen and returns its mean weighted error.
double msvq_refine_jointly(const WeightedSet& set, float* codebook, const MsvqLayout& layout,
                           int passes);
