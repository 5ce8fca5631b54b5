#include "frame_energy.h"

#include <algorithm>
#include <cmath>

#include "analysis_grid.h"

std::vector<float> frame_energy_db(const std::vector<float>& signal) {
    std::vector<float> energy(frame_count(signal.size()));
    for (std::size_t f = 0; f < energy.size(); ++f) {
        const std::size_t start = f * kHopSamples;
        const std::size_t end = std::min(signal.size(), start + kWindowSamples);
        double sum = 0.0;
        for (std::size_t i = start; i < end; ++i) sum += static_cast<double>(signal[i]) * signal[i];
        energy[f] = static_cast<float>(10.0 * std::log10(sum / kWindowSamples + 1e-12));
    }
    return energy;
}

std::vector<bool> frames_near_peak(const std::vector<float>& energy_db, float range_db) {
    const float peak =
        energy_db.empty() ? 0.0f : *std::max_element(energy_db.begin(), energy_db.end());
    std::vector<bool> near(energy_db.size());
    for (std::size_t f = 0; f < energy_db.size(); ++f) near[f] = energy_db[f] > peak - range_db;
    return near;
}
