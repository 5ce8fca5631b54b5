#include "noise_suppress.h"

#include <algorithm>
#include <cmath>

namespace {
// Below this distance from the noise the attenuation formula loses meaning.
constexpr double kMinAboveNoise = 0.001;
}  // namespace

void track_noise_level(float g, float* level, float up, float down, float floor, float ceiling) {
    double next = g;
    next = std::min(next, static_cast<double>(*level) + up);
    next = std::max(next, static_cast<double>(*level) + down);
    *level = static_cast<float>(
        std::clamp(next, static_cast<double>(floor), static_cast<double>(ceiling)));
}

void suppress_gain(float* g, float level, float ceiling, float max_att, float offset) {
    const double noise = std::min(level, ceiling);
    const double above = *g - (noise + offset);
    double attenuation = max_att;
    if (above > kMinAboveNoise) {
        attenuation = std::min(-10.0 * std::log10(1.0 - std::pow(10.0, -0.1 * above)),
                               static_cast<double>(max_att));
    }
    *g = static_cast<float>(*g - attenuation);
}
