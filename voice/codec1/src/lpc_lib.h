// Autocorrelation, LPC analysis and the conversions between predictor, reflection and line
// spectral frequency forms. Predictors a[0..p] have a[0] = 1 (A(z) = 1 + sum a[k] z^-k);
// reflection coefficients k[1..p]; LSFs w[0..p] with w[0] = 0, 1.0 = half the sample rate.
#pragma once

// Orders up to this use stack scratch; higher orders fall back to the heap.
constexpr int kMaxLpcOrder = 10;

// r[k] = sum x[i] x[i+k] for k = 0..p; r[0] is lifted to at least 1.0.
void autocorr(const float* x, float* r, int p, int n);
// Reflection coefficients into k[1..p] (k may be null) and, when a is not null, predictor
// coefficients into a[1..p]. Returns the final prediction error.
float lpc_from_autocorr(const float* r, float* a, float* k, int p);
// Step-up recursion from k[1..p] into a[1..p].
void refl_to_pred(const float* k, float* a, int p);
// out[k] = g^k a[k] for k = 1..p; out may be a.
void bw_expand(const float* a, float* out, float g, int p);
// |A(e^{jw})|^2 for the angle w in radians.
float lpc_power_response(const float* a, float w, int p);
// LSFs of a[0..p] (p even) into w[0..p]. Returns 0 when all roots were found, else 1 (the
// missing entries keep their old values).
int pred_to_lsf(const float* a, float* w, int p);
// Predictor coefficients a[1..p] (p even) of the sorted LSFs w[1..p]; a[0] is not written.
void lsf_to_pred(const float* w, float* a, int p);
// Sorts w[1..p] and pushes neighbours apart to at least d, keeping them inside (0, 1).
void lsf_clamp(float* w, float d, int p);
