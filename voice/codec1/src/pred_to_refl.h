// Step-down conversion from predictor to reflection coefficients (used for the spectral tilt).
#pragma once

// k[1..p] from a[1..p] (a[0] = 1 implied); k[0] is not written.
void pred_to_refl(const float* a, float* k, int p);
