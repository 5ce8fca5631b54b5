#include "pred_to_refl.h"

#include "dsp_signal.h"
#include "lpc_lib.h"
#include "scratch_floats.h"

namespace {
constexpr const char* kModule = "lpc_lib";
constexpr int kSiteCurrent = 520;
constexpr int kSiteLower = 521;
}  // namespace

void pred_to_refl(const float* a, float* k, int p) {
    ScratchFloats<kMaxLpcOrder + 1> current_store(p + 1, kModule, kMemAlloc, kSiteCurrent);
    ScratchFloats<kMaxLpcOrder + 1> lower_store(p + 1, kModule, kMemAlloc, kSiteLower);
    float* current = current_store.data();
    float* lower = lower_store.data();
    vec_copy(current + 1, a + 1, p);
    for (int i = p; i >= 1; i--) {
        k[i] = current[i];
        if (i == 1) break;
        const double denominator = 1.0 - static_cast<double>(k[i]) * k[i];
        for (int j = 1; j < i; j++) {
            lower[j] = static_cast<float>(
                (current[j] - static_cast<double>(k[i]) * current[i - j]) / denominator);
        }
        vec_copy(current + 1, lower + 1, i - 1);
    }
}
