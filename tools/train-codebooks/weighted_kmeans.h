// Weighted k-means (generalized Lloyd) over vectors that each carry their own per-element
// weights; the distance is sum_i w[i] (x[i] - v[i])^2 and a cell's centroid is the weighted mean.
#pragma once

#include <cstdint>

// count vectors of dim values back to back; weights has the same shape, or is null for 1.0.
struct WeightedSet {
    const float* vectors;
    const float* weights;
    int count;
    int dim;
};

// Keeps each trained codevector inside the region its codebook allows (null when free).
using CodevectorConstraint = void (*)(float* codevector, int dim);

struct KmeansOptions {
    int fixed;        // the first `fixed` codevectors are given and never change
    int max_passes;   // upper bound on Lloyd passes
    double min_gain;  // stop when a pass improves the distortion by less than this share
    uint32_t seed;    // seeding is deterministic for a given seed
    CodevectorConstraint constraint;
};

float weighted_distance(const float* x, const float* w, const float* v, int dim);

// Index of the nearest of size codevectors (first on ties), its distance in *distance.
int nearest_codevector(const float* codebook, int size, const float* x, const float* w, int dim,
                       float* distance);

// Mean distance of the set to its nearest codevectors.
double mean_distortion(const WeightedSet& set, const float* codebook, int size);

// Trains codevectors fixed..size-1 of codebook (size x dim) on the set: distance-weighted seeding
// from the set, then Lloyd passes; an empty cell is re-seeded with the worst-coded vector.
// Returns the final mean distortion.
double kmeans_train(const WeightedSet& set, float* codebook, int size, const KmeansOptions& opt);
