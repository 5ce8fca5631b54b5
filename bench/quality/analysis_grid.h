// The frame grid every measurement works on: 8000 Hz, one frame every 10 ms.
#pragma once

#include <cstddef>

constexpr int kMeasureRate = 8000;
constexpr int kHopSamples = 80;      // 10 ms
constexpr int kWindowSamples = 200;  // 25 ms

// Frames whose window starts inside the signal; the last ones read zeros past its end.
inline std::size_t frame_count(std::size_t samples) {
    return (samples + kHopSamples - 1) / kHopSamples;
}
