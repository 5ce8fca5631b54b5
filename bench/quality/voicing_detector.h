// A plain voicing decision per frame, applied alike to a coder's input and its output so that
// their decisions can be compared.
#pragma once

#include <vector>

// A frame is voiced when it lies within 30 dB of the signal's loudest frame and its normalized
// autocorrelation peaks above 0.5 at a lag of 2.5 to 20 ms (400 down to 50 Hz).
std::vector<bool> voiced_frames(const std::vector<float>& signal);
