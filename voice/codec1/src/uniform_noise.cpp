#include "uniform_noise.h"

#include <cstdlib>

namespace {
// The generator is read as 15-bit values whatever RAND_MAX the runtime has.
constexpr int kRandomMask = 32767;
}  // namespace

void uniform_noise(float* v, float amplitude, int n) {
    for (int i = 0; i < n; i++) {
        const double r = static_cast<double>(std::rand() & kRandomMask) / kRandomMask;
        v[i] = static_cast<float>(2.0 * amplitude * (r - 0.5));
    }
}
