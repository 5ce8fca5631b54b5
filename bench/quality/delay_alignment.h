// How much later a decoded signal runs than its input.
#pragma once

#include <vector>

constexpr int kMaxDelayMs = 300;

// Lag in samples (positive: `decoded` runs late) at which the 1 ms amplitude envelopes (RMS over
// 10 ms) of the two signals correlate best, searched over +-kMaxDelayMs. Waveforms are not
// compared directly because parametric coders do not keep the phase.
int estimate_delay(const std::vector<float>& input, const std::vector<float>& decoded);

// `decoded` moved earlier by `delay` samples and cut or zero-padded to `length`.
std::vector<float> shift_earlier(const std::vector<float>& decoded, int delay, std::size_t length);
