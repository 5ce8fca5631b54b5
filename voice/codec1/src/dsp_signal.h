// Vector operations, the two linear filters and a small median on float arrays.
// Sums run in double precision; every array belongs to the caller.
#pragma once

// Highest filter order with history that the codec uses (the pulse dispersion filter).
constexpr int kMaxFilterOrder = 64;
// Largest count median_small accepts.
constexpr int kMedianMaxCount = 5;

void vec_fill(float* x, float value, int n);
void vec_zero(float* x, int n);
// The ranges may overlap.
void vec_copy(float* dst, const float* src, int n);
float* vec_scale(float* x, float s, int n);
// out may be a or b; also the windowing operation.
void vec_mult(const float* a, const float* b, float* out, int n);
void add_vectors(float* x, const float* y, int n);
void vec_sub(float* x, const float* y, int n);
float vec_dot(const float* x, const float* y, int n);
float vec_energy(const float* x, int n);
// Index of the largest element, the first on ties; 0 for n <= 1.
int vec_argmax(const float* x, int n);

// y[i] = x[i] - sum_{k=1..p} a[k] y[i-k]. The p previous outputs stand in y[-p..-1];
// y may be x; a[0] is not read.
void all_pole_filter(const float* x, const float* a, float* y, int p, int n);
// y[i] = sum_{k=0..p} b[k] x[i-k], computed from the end so that y may be x. The p previous
// inputs stand in x[-p..-1].
void fir_filter(const float* x, const float* b, float* y, int p, int n);

// Median of n <= kMedianMaxCount values: element n/2 of a stably sorted copy. Larger n ends the
// process with status 1.
float median_small(const float* x, int n);
