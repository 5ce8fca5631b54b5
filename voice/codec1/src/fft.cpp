#include "fft.h"

#include <cmath>
#include <utility>

void complex_fft(float* data, int n_points, int sign) {
    // Bit-reversal permutation of the (re, im) pairs.
    for (int i = 1, j = 0; i < n_points; i++) {
        int bit = n_points >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) {
            std::swap(data[2 * i], data[2 * j]);
            std::swap(data[2 * i + 1], data[2 * j + 1]);
        }
    }
    const double pi = std::acos(-1.0);
    for (int half = 1; half < n_points; half <<= 1) {
        const double step = sign * pi / half;
        for (int k = 0; k < half; k++) {
            // Twiddles computed directly keep the error from growing along a stage.
            const double wr = std::cos(step * k);
            const double wi = std::sin(step * k);
            for (int i = k; i < n_points; i += 2 * half) {
                const int j = i + half;
                const double tr = wr * data[2 * j] - wi * data[2 * j + 1];
                const double ti = wr * data[2 * j + 1] + wi * data[2 * j];
                const double ur = data[2 * i];
                const double ui = data[2 * i + 1];
                data[2 * i] = static_cast<float>(ur + tr);
                data[2 * i + 1] = static_cast<float>(ui + ti);
                data[2 * j] = static_cast<float>(ur - tr);
                data[2 * j + 1] = static_cast<float>(ui - ti);
            }
        }
    }
}
