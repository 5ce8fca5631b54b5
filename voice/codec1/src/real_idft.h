// Inverse DFT of a real, even spectrum: builds one pitch pulse from harmonic magnitudes.
#pragma once

constexpr int kMaxIdftSize = 160;

// spectrum[0..n/2] are the magnitudes of harmonics 0..n/2 (scaled in place by 1/n or 2/n);
// out[0..n-1] receives the zero-phase pulse. n above kMaxIdftSize ends the process.
void real_idft(float* spectrum, float* out, int n);
