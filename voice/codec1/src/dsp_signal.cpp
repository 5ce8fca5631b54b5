#include "dsp_signal.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <type_traits>

void vec_fill(float* x, float value, int n) {
    for (int i = 0; i < n; i++) x[i] = value;
}

void vec_zero(float* x, int n) { vec_fill(x, 0.0f, n); }

void vec_copy(float* dst, const float* src, int n) {
    if (n > 0) std::memmove(dst, src, static_cast<std::size_t>(n) * sizeof(float));
}

float* vec_scale(float* x, float s, int n) {
    for (int i = 0; i < n; i++) x[i] = s * x[i];
    return x;
}

void vec_mult(const float* a, const float* b, float* out, int n) {
    for (int i = 0; i < n; i++) out[i] = a[i] * b[i];
}

void add_vectors(float* x, const float* y, int n) {
    for (int i = 0; i < n; i++) x[i] = x[i] + y[i];
}

void vec_sub(float* x, const float* y, int n) {
    for (int i = 0; i < n; i++) x[i] = x[i] - y[i];
}

float vec_dot(const float* x, const float* y, int n) {
    // Four products per step into four separate sums: no sum waits for another, and the compiler
    // may pair them in vector registers.
    double sum[4] = {};
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        for (int j = 0; j < 4; j++) sum[j] += static_cast<double>(x[i + j]) * y[i + j];
    }
    for (; i < n; i++) sum[0] += static_cast<double>(x[i]) * y[i];
    return static_cast<float>((sum[0] + sum[1]) + (sum[2] + sum[3]));
}

float vec_energy(const float* x, int n) { return vec_dot(x, x, n); }

int vec_argmax(const float* x, int n) {
    int best = 0;
    for (int i = 1; i < n; i++) {
        if (x[i] > x[best]) best = i;
    }
    return best;
}

void all_pole_filter(const float* x, const float* a, float* y, int p, int n) {
    for (int i = 0; i < n; i++) {
        // The older outputs first: only the last product waits for the previous output.
        double older = 0.0;
        for (int k = p; k >= 2; k--) older += static_cast<double>(a[k]) * y[i - k];
        const double newest = p >= 1 ? static_cast<double>(a[1]) * y[i - 1] : 0.0;
        y[i] = static_cast<float>((x[i] - older) - newest);
    }
}

namespace {

// Outputs y[first..], Groups times Width of them, each summed over the taps in the same order
// as alone: the independent sums let the compiler vectorize across outputs without changing any
// result, and two groups keep enough sums in flight to hide the adder's latency.
template <int Groups, int Width, typename Order>
void fir_outputs(const float* x, const float* b, float* y, Order p, int first) {
    double sum[Groups][Width] = {};
    for (int k = 0; k <= p; k++) {
        const double tap = b[k];
        for (int g = 0; g < Groups; g++) {
            for (int j = 0; j < Width; j++) sum[g][j] += tap * x[first + g * Width + j - k];
        }
    }
    for (int g = 0; g < Groups; g++) {
        for (int j = 0; j < Width; j++) y[first + g * Width + j] = static_cast<float>(sum[g][j]);
    }
}

// Filters outputs in blocks of Groups * Width from end down; returns where the blocks stop.
template <int Groups, int Width, typename Order>
int fir_blocks(const float* x, const float* b, float* y, Order p, int end) {
    constexpr int kSize = Groups * Width;
    for (; end >= kSize; end -= kSize) fir_outputs<Groups, Width>(x, b, y, p, end - kSize);
    return end;
}

constexpr int kFirWidth = 4;

// One loop body for every order: a compile-time order lets the compiler unroll it, and the
// summation order stays the same, so unrolled and general forms agree bit for bit. Blocks run
// from the end, so in-place filtering reads inputs no block has overwritten yet.
template <typename Order>
void fir_loop(const float* x, const float* b, float* y, Order p, int n) {
    const int wide_end = fir_blocks<2, kFirWidth>(x, b, y, p, n);
    const int narrow_end = fir_blocks<1, kFirWidth>(x, b, y, p, wide_end);
    fir_blocks<1, 1>(x, b, y, p, narrow_end);
}

template <int P>
using FixedOrder = std::integral_constant<int, P>;

}  // namespace

void fir_filter(const float* x, const float* b, float* y, int p, int n) {
    switch (p) {
        case 1:
            return fir_loop(x, b, y, FixedOrder<1>{}, n);
        case 4:
            return fir_loop(x, b, y, FixedOrder<4>{}, n);
        case 6:
            return fir_loop(x, b, y, FixedOrder<6>{}, n);
        case 10:
            return fir_loop(x, b, y, FixedOrder<10>{}, n);
        case 32:
            return fir_loop(x, b, y, FixedOrder<32>{}, n);
        case 64:
            return fir_loop(x, b, y, FixedOrder<64>{}, n);
        default:
            return fir_loop(x, b, y, p, n);
    }
}

float median_small(const float* x, int n) {
    if (n > kMedianMaxCount) {
        std::printf("ERROR: median size too large.\n");
        std::exit(1);
    }
    if (n <= 0) return 0.0f;
    float sorted[kMedianMaxCount];
    for (int i = 0; i < n; i++) {
        // Insertion that stops at an equal element keeps equal values in their order.
        int j = i;
        while (j > 0 && sorted[j - 1] > x[i]) {
            sorted[j] = sorted[j - 1];
            j--;
        }
        sorted[j] = x[i];
    }
    return sorted[n / 2];
}
