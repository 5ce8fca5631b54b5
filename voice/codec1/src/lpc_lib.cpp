#include "lpc_lib.h"

#include <cmath>
#include <cstdio>

#include "scratch_floats.h"

namespace {

constexpr const char* kModule = "lpc_lib";
constexpr int kSchurForwardSite = 255;
constexpr int kSchurBackwardSite = 256;
constexpr int kSchurReflSite = 260;
constexpr int kPredToLsfSite = 330;
constexpr int kLsfToPredSite = 414;
constexpr int kReflToPredSite = 467;
constexpr int kLsfUnsortedSite = 590;

constexpr int kMaxHalfOrder = kMaxLpcOrder / 2;
constexpr int kClampPasses = 10;
constexpr double kRootGridStep = 1.0 / 128.0;
constexpr double kRootGridEnd = -1.0078125;
constexpr int kRootBisections = 4;

// Chebyshev series c[0..m] in x = cos(w), by the Clenshaw recurrence.
double cheb_eval(const double* c, int m, double x) {
    double b1 = 0.0;
    double b2 = 0.0;
    for (int k = m; k >= 1; k--) {
        const double b0 = 2.0 * x * b1 - b2 + c[k];
        b2 = b1;
        b1 = b0;
    }
    return x * b1 - b2 + c[0];
}

// Alternating root search on the two Chebyshev series from x = 1 downwards; returns the number
// of frequencies found and stored in w[1..].
int lsf_root_search(const double* cheb_p, const double* cheb_q, int m, float* w, int p) {
    const double pi = std::acos(-1.0);
    const double* poly = cheb_p;
    double f_prev = cheb_eval(poly, m, 1.0);
    double x = 1.0 - kRootGridStep;
    int found = 0;
    while (x > kRootGridEnd) {
        const double f = cheb_eval(poly, m, x);
        if (f * f_prev > 0.0) {
            f_prev = f;
            x -= kRootGridStep;
            continue;
        }
        double x_lo = x;
        double x_hi = x + kRootGridStep;
        double f_lo = f;
        double f_hi = f_prev;
        for (int b = 0; b < kRootBisections; b++) {
            const double x_m = 0.5 * (x_lo + x_hi);
            const double f_m = cheb_eval(poly, m, x_m);
            if (f_m * f_hi < 0.0) {
                x_lo = x_m;
                f_lo = f_m;
            } else {
                x_hi = x_m;
                f_hi = f_m;
            }
        }
        // A double root leaves both ends at zero; the midpoint avoids dividing by it.
        double x_r =
            f_lo != f_hi ? (x_hi * f_lo - x_lo * f_hi) / (f_lo - f_hi) : 0.5 * (x_lo + x_hi);
        x_r = std::fmax(-1.0, std::fmin(1.0, x_r));
        w[++found] = static_cast<float>(std::acos(x_r) / pi);
        if (found == p) break;
        poly = poly == cheb_p ? cheb_q : cheb_p;
        f_prev = cheb_eval(poly, m, x_r);
        x = x_r - kRootGridStep;
    }
    return found;
}

// Multiplies the first m + 1 coefficients of poly by (1 + c z^-1 + z^-2).
void multiply_quadratic(double* poly, double c, int m) {
    for (int j = m; j >= 1; j--) poly[j] += c * poly[j - 1] + (j >= 2 ? poly[j - 2] : 0.0);
}

}  // namespace

void autocorr(const float* x, float* r, int p, int n) {
    for (int k = 0; k <= p; k++) {
        double sum = 0.0;
        for (int i = 0; i + k < n; i++) sum += static_cast<double>(x[i]) * x[i + k];
        r[k] = static_cast<float>(sum);
    }
    if (r[0] < 1.0f) r[0] = 1.0f;
}

float lpc_from_autocorr(const float* r, float* a, float* k, int p) {
    ScratchBuffer<double, kMaxLpcOrder + 2> forward_buf(p + 2, kModule, kMemAlloc,
                                                        kSchurForwardSite);
    ScratchBuffer<double, kMaxLpcOrder + 2> backward_buf(p + 2, kModule, kMemAlloc,
                                                         kSchurBackwardSite);
    ScratchBuffer<float, kMaxLpcOrder + 2> refl_buf(k == nullptr ? p + 2 : 0, kModule, kMemAlloc,
                                                    kSchurReflSite);
    double* u = forward_buf.data();
    double* v = backward_buf.data();
    float* refl = k != nullptr ? k : refl_buf.data();
    for (int i = 0; i <= p; i++) u[i] = v[i] = r[i];
    double error = r[0];
    for (int m = 1; m <= p; m++) {
        // A vanished error means the signal is fully predicted; higher orders add nothing.
        const double km = error > 0.0 ? -u[m] / error : 0.0;
        refl[m] = static_cast<float>(km);
        // Descending order lets both generators be updated in place.
        for (int i = p; i >= m; i--) {
            const double u_new = u[i] + km * v[i - 1];
            v[i] = v[i - 1] + km * u[i];
            u[i] = u_new;
        }
        error = v[m];
    }
    if (a != nullptr) refl_to_pred(refl, a, p);
    return static_cast<float>(error);
}

void refl_to_pred(const float* k, float* a, int p) {
    ScratchBuffer<double, kMaxLpcOrder + 1> pred_buf(p + 1, kModule, kMemAlloc, kReflToPredSite);
    double* pred = pred_buf.data();
    for (int i = 1; i <= p; i++) {
        // Updating a[j] and a[i-j] together needs no copy of the lower order.
        for (int j = 1; 2 * j <= i; j++) {
            const double low = pred[j];
            const double high = pred[i - j];
            pred[j] = low + k[i] * high;
            if (j != i - j) pred[i - j] = high + k[i] * low;
        }
        pred[i] = k[i];
    }
    for (int i = 1; i <= p; i++) a[i] = static_cast<float>(pred[i]);
}

void bw_expand(const float* a, float* out, float g, int p) {
    double gk = g;
    for (int k = 1; k <= p; k++) {
        out[k] = static_cast<float>(gk * a[k]);
        gk *= g;
    }
}

float lpc_power_response(const float* a, float w, int p) {
    if (p <= 0) return 1.0f;
    const double cr = std::cos(w);
    const double ci = -std::sin(w);
    double sr = a[p];
    double si = 0.0;
    for (int k = p - 1; k >= 0; k--) {
        const double coef = k == 0 ? 1.0 : a[k];
        const double tr = cr * sr - ci * si + coef;
        si = cr * si + ci * sr;
        sr = tr;
    }
    return static_cast<float>(sr * sr + si * si);
}

int pred_to_lsf(const float* a, float* w, int p) {
    const int m = p / 2;
    ScratchBuffer<double, 2 * (kMaxHalfOrder + 1)> poly_buf(2 * (m + 1), kModule, kMem2Alloc,
                                                            kPredToLsfSite);
    double* cheb_p = poly_buf.data();
    double* cheb_q = cheb_p + m + 1;
    double g = 1.0;
    double h = 1.0;
    for (int i = 1; i <= m; i++) {
        g = a[i] + a[p + 1 - i] - g;
        h = a[i] - a[p + 1 - i] + h;
        cheb_p[m - i] = g;
        cheb_q[m - i] = h;
    }
    // Coefficient of T_k is g_{m-k}, with the constant term halved; g_0 = h_0 = 1 is T_m's.
    cheb_p[m] = 1.0;
    cheb_q[m] = 1.0;
    cheb_p[0] *= 0.5;
    cheb_q[0] *= 0.5;

    w[0] = 0.0f;
    const int found = lsf_root_search(cheb_p, cheb_q, m, w, p);
    int result = 0;
    if (found < p) {
        std::fprintf(stderr, "\n Error(lsp_roots): LSPs Not All Found\n");
        for (int i = 1; i <= p; i++) std::fprintf(stderr, "%11.7f ", a[i]);
        std::fprintf(stderr, "\n");
        result = 1;
    }
    lsf_clamp(w, 0.0f, p);
    return result;
}

void lsf_to_pred(const float* w, float* a, int p) {
    const int m = p / 2;
    ScratchBuffer<float, kMaxLpcOrder + 1> sorted_buf(p + 1, kModule, kMem2Alloc, kLsfToPredSite);
    ScratchBuffer<double, 2 * (kMaxHalfOrder + 1)> poly_buf(2 * (m + 1), kModule, kMem2Alloc,
                                                            kLsfToPredSite);
    float* sorted = sorted_buf.data();
    for (int i = 0; i <= p; i++) sorted[i] = w[i];
    lsf_clamp(sorted, 0.0f, p);

    const double pi = std::acos(-1.0);
    double* poly_p = poly_buf.data();
    double* poly_q = poly_p + m + 1;
    poly_p[0] = poly_q[0] = 1.0;
    for (int i = 1; i <= p; i++) {
        double* poly = (i % 2 == 1) ? poly_p : poly_q;
        multiply_quadratic(poly, -2.0 * std::cos(pi * sorted[i]), m);
    }
    for (int i = m; i >= 1; i--) {
        poly_p[i] += poly_p[i - 1];
        poly_q[i] -= poly_q[i - 1];
    }
    for (int i = 1; i <= m; i++) {
        a[i] = static_cast<float>(0.5 * (poly_p[i] + poly_q[i]));
        a[p + 1 - i] = static_cast<float>(0.5 * (poly_p[i] - poly_q[i]));
    }
}

namespace {

// Bubble passes; returns false when the last allowed pass still had to swap.
bool sort_lsfs(float* w, int p) {
    for (int pass = 0; pass < kClampPasses; pass++) {
        bool swapped = false;
        for (int i = 1; i < p; i++) {
            if (w[i] > w[i + 1]) {
                const float t = w[i];
                w[i] = w[i + 1];
                w[i + 1] = t;
                swapped = true;
            }
        }
        if (!swapped) return true;
    }
    return false;
}

// How far a neighbour may give way without closing its own gap below d.
float give_way(float s, float gap, float d) {
    if (gap < d) return 0.0f;
    if (gap < 2.0f * d) return (gap - d) / 2.0f;
    return s;
}

void separate_lsfs(float* w, float d, int p) {
    for (int pass = 0; pass < kClampPasses; pass++) {
        for (int i = 1; i < p; i++) {
            const float diff = w[i + 1] - w[i];
            if (diff >= d) continue;
            const float s = (d - diff) / 2.0f;
            float s1 = s;
            float s2 = s;
            // The outermost LSFs move at most half their distance to 0 or 1.
            if (i == 1) {
                if (w[1] < d) s1 = w[1] / 2.0f;
            } else {
                s1 = give_way(s, w[i] - w[i - 1], d);
            }
            if (i == p - 1) {
                if (w[p] > 1.0f - d) s2 = (1.0f - w[p]) / 2.0f;
            } else {
                s2 = give_way(s, w[i + 2] - w[i + 1], d);
            }
            w[i] -= s1;
            w[i + 1] += s2;
        }
    }
}

}  // namespace

void lsf_clamp(float* w, float d, int p) {
    if (sort_lsfs(w, p)) {
        separate_lsfs(w, d, p);
        return;
    }
    for (int i = 1; i < p; i++) {
        if (w[i + 1] - w[i] < 0.99f * d) {
            std::fprintf(stderr, "%s: LSPs still unsorted (line %d)\n", kModule, kLsfUnsortedSite);
        }
    }
}
