#include "window_poles.h"

#include <cstring>
#include <limits>

#include "dsp_signal.h"

void window_poles_reset(WindowPoles* kept, int p, int step) {
    // No memory holds NaN bit for bit like this, so the history never matches.
    vec_fill(kept->poles + step, std::numeric_limits<float>::quiet_NaN(), p);
}

void window_poles_run(WindowPoles* kept, const float* input, const float* a, float* mem, int p,
                      int n, int step) {
    const float* kept_history = kept->poles + step;
    const int shared = n - step;
    const bool continues =
        shared > 0 &&
        std::memcmp(kept_history, mem, static_cast<std::size_t>(p) * sizeof(float)) == 0 &&
        std::memcmp(kept->last_input + step, input,
                    static_cast<std::size_t>(shared) * sizeof(float)) == 0;
    int first = 0;
    if (continues) {
        vec_copy(kept->poles, kept_history, p + shared);
        first = shared;
    } else {
        vec_copy(kept->poles, mem, p);
    }
    float* output = kept->poles + p;
    all_pole_filter(input + first, a, output + first, p, n - first);
    vec_copy(kept->last_input, input, n);
    vec_copy(mem, output + step - p, p);
}
