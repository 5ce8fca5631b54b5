#include "periodogram.h"

#include <cmath>
#include <complex>
#include <utility>

namespace {

void bit_reverse(std::vector<std::complex<double>>* data) {
    const std::size_t n = data->size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j |= bit;
        if (i < j) std::swap((*data)[i], (*data)[j]);
    }
}

// Iterative radix-2 transform; the measurements keep their own so they share no code with
// the codec they judge.
void fft(std::vector<std::complex<double>>* data) {
    bit_reverse(data);
    const std::size_t n = data->size();
    for (std::size_t length = 2; length <= n; length <<= 1) {
        const double angle = -2.0 * M_PI / static_cast<double>(length);
        const std::complex<double> step(std::cos(angle), std::sin(angle));
        for (std::size_t start = 0; start < n; start += length) {
            std::complex<double> twiddle(1.0, 0.0);
            for (std::size_t k = 0; k < length / 2; ++k) {
                const std::complex<double> even = (*data)[start + k];
                const std::complex<double> odd = (*data)[start + k + length / 2] * twiddle;
                (*data)[start + k] = even + odd;
                (*data)[start + k + length / 2] = even - odd;
                twiddle *= step;
            }
        }
    }
}

}  // namespace

std::vector<float> power_spectrum(const std::vector<float>& frame, int n_points) {
    std::vector<std::complex<double>> data(static_cast<std::size_t>(n_points));
    for (std::size_t i = 0; i < frame.size() && i < data.size(); ++i) data[i] = frame[i];
    fft(&data);
    std::vector<float> power(static_cast<std::size_t>(n_points / 2 + 1));
    for (std::size_t k = 0; k < power.size(); ++k)
        power[k] = static_cast<float>(std::norm(data[k]));
    return power;
}
