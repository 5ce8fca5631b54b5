#include "fft.h"

#include <cmath>
#include <utility>

namespace {

// Sizes up to this one take their twiddles from a table made once.
constexpr int kTableSize = 512;

// Twiddles of every stage for one sign, each computed directly (as without the table) so the
// error does not grow along a stage: stage `half` starts at entry half - 1.
class TwiddleTable {
  public:
    explicit TwiddleTable(int sign) {
        for (int half = 1; half < kTableSize; half <<= 1) {
            for (int k = 0; k < half; k++) {
                const double angle = stage_step(sign, half) * k;
                cos_[half - 1 + k] = std::cos(angle);
                sin_[half - 1 + k] = std::sin(angle);
            }
        }
    }
    const double* cos_of(int half) const { return cos_ + half - 1; }
    const double* sin_of(int half) const { return sin_ + half - 1; }

    static double stage_step(int sign, int half) { return sign * std::acos(-1.0) / half; }

  private:
    double cos_[kTableSize - 1];
    double sin_[kTableSize - 1];
};

const TwiddleTable* table_for(int sign, int n_points) {
    if (n_points > kTableSize || (sign != 1 && sign != -1)) return nullptr;
    static const TwiddleTable forward(-1);
    static const TwiddleTable inverse(1);
    return sign < 0 ? &forward : &inverse;
}

}  // namespace

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
    const TwiddleTable* table = table_for(sign, n_points);
    for (int half = 1; half < n_points; half <<= 1) {
        const double step = TwiddleTable::stage_step(sign, half);
        for (int k = 0; k < half; k++) {
            const double wr = table != nullptr ? table->cos_of(half)[k] : std::cos(step * k);
            const double wi = table != nullptr ? table->sin_of(half)[k] : std::sin(step * k);
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
