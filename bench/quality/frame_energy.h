// Level of each frame of the measurement grid.
#pragma once

#include <vector>

// Mean square of each 25 ms window, in dB (full scale sine about -3 dB); -120 dB for silence.
std::vector<float> frame_energy_db(const std::vector<float>& signal);

// Marks the frames within `range_db` of the signal's loudest frame.
std::vector<bool> frames_near_peak(const std::vector<float>& energy_db, float range_db);
