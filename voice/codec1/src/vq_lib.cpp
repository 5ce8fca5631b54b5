#include "vq_lib.h"

#include <cmath>
#include <cstdlib>
#include <type_traits>
#include <utility>

#include "codec_alloc.h"
#include "lpc_lib.h"

namespace {

constexpr const char* kModule = "vq_lib";
constexpr double kPi = 3.14159265358979323846;
constexpr float kLsfWeightExponent = -0.3f;
constexpr float kSecondHighestLsfScale = 0.64f;
constexpr float kHighestLsfScale = 0.16f;
constexpr float kEmptySlotError = 1e20f;

// Searches up to these sizes run on inline scratch; larger ones take it from the heap.
constexpr int kInlineSurvivors = kLsfSurvivors;
constexpr int kInlineStages = kLsfStages;
constexpr int kInlineDim = kLpcOrder;

// Working arrays of one M-best search: two generations of survivors (residual, error, index
// path) and the candidates of the stage being searched.
class SearchScratch {
  public:
    SearchScratch(int survivors, int stages, int dim)
        : heap_(survivors > kInlineSurvivors || stages > kInlineStages || dim > kInlineDim) {
        if (heap_) {
            const std::size_t m = static_cast<std::size_t>(survivors);
            residual_ = codec_alloc_floats(2 * m * static_cast<std::size_t>(dim), kModule, 101);
            error_ = codec_alloc_floats(2 * m, kModule, 102);
            path_ = codec_alloc_ints(2 * m * static_cast<std::size_t>(stages), kModule, 103);
            index = codec_alloc_ints(m, kModule, 104);
            parent = codec_alloc_ints(m, kModule, 105);
            term = codec_alloc_floats(static_cast<std::size_t>(dim), kModule, 126);
        } else {
            residual_ = inline_residual_;
            error_ = inline_error_;
            path_ = inline_path_;
            index = inline_index_;
            parent = inline_parent_;
            term = inline_term_;
        }
        for (int g = 0; g < 2; ++g) {
            residual[g] = residual_ + g * survivors * dim;
            error[g] = error_ + g * survivors;
            path[g] = path_ + g * survivors * stages;
        }
    }
    ~SearchScratch() {
        if (!heap_) return;
        std::free(term);
        std::free(parent);
        std::free(index);
        std::free(path_);
        std::free(error_);
        std::free(residual_);
    }
    SearchScratch(const SearchScratch&) = delete;
    SearchScratch& operator=(const SearchScratch&) = delete;

    float* residual[2];
    float* error[2];
    int* path[2];
    int* index;
    int* parent;
    float* term;

  private:
    bool heap_;
    float* residual_;
    float* error_;
    int* path_;
    float inline_residual_[2 * kInlineSurvivors * kInlineDim];
    float inline_error_[2 * kInlineSurvivors];
    int inline_path_[2 * kInlineSurvivors * kInlineStages];
    int inline_index_[kInlineSurvivors];
    int inline_parent_[kInlineSurvivors];
    float inline_term_[kInlineDim];
};

float weighted_energy(const float* x, const float* w, int p) {
    double sum = 0.0;
    for (int i = 0; i < p; ++i) sum += static_cast<double>(w[i]) * x[i] * x[i];
    return static_cast<float>(sum);
}

// The best value is kept beside its index so that no comparison waits for a load.
int first_largest(const float* x, int n) {
    int best = 0;
    float best_value = x[0];
    for (int k = 1; k < n; ++k) {
        if (x[k] > best_value) {
            best = k;
            best_value = x[k];
        }
    }
    return best;
}

int first_smallest(const float* x, int n) {
    int best = 0;
    for (int k = 1; k < n; ++k) {
        if (x[k] < x[best]) best = k;
    }
    return best;
}

// Offers one candidate to the new survivor slots. The worst slot is tracked for the first
// `limit` accepted candidates only: at the limit the slot to replace is frozen at the smallest
// error among the slot just filled and slots 1 onwards, a fixed property of this coder.
void offer_candidate(SearchScratch& s, int survivors, float d, int vector, int parent, int* replace,
                     int* accepted, int limit) {
    float* slot_error = s.error[1];
    if (!(d <= slot_error[*replace])) return;
    slot_error[*replace] = d;
    s.index[*replace] = vector;
    s.parent[*replace] = parent;
    if (*accepted >= limit) return;
    ++*accepted;
    if (*accepted < limit) {
        *replace = first_largest(slot_error, survivors);
        return;
    }
    int choice = *replace;
    for (int k = 1; k < survivors; ++k) {
        if (slot_error[k] < slot_error[choice]) choice = k;
    }
    *replace = choice;
}

struct StageSearch {
    const float* codebook;
    int levels;
    int live;
    int survivors;
    const float* w;
    int limit;
};

// Offers every codevector of one stage on every live survivor. A compile-time dimension lets
// the compiler unroll the sums; their order stays the same, so both forms agree bit for bit.
template <typename Dim>
void search_stage(SearchScratch& s, const StageSearch& stage, Dim p, int* accepted) {
    int replace = 0;
    for (int v = 0; v < stage.levels; ++v) {
        const float* vec = stage.codebook + v * p;
        for (int i = 0; i < p; ++i) s.term[i] = -2.0f * stage.w[i] * vec[i];
        const float energy = weighted_energy(vec, stage.w, p);
        for (int m = 0; m < stage.live; ++m) {
            const float* r = s.residual[0] + m * p;
            double cross = 0.0;
            for (int i = 0; i < p; ++i) cross += static_cast<double>(s.term[i]) * r[i];
            const float d = s.error[0][m] + energy + static_cast<float>(cross);
            offer_candidate(s, stage.survivors, d, v, m, &replace, accepted, stage.limit);
        }
    }
}

}  // namespace

void vq_description_create(VqDescription* desc, int stages, int survivors, int dim,
                           const int* levels, const int* bits, float* codebook, const char* module,
                           int first_site) {
    const std::size_t count = static_cast<std::size_t>(stages);
    desc->stages = stages;
    desc->survivors = survivors;
    desc->dim = dim;
    desc->levels = codec_alloc_ints(count, module, first_site);
    desc->indexes = codec_alloc_ints(count, module, first_site + 1);
    desc->bits = codec_alloc_ints(count, module, first_site + 2);
    desc->codebook = codebook;
    for (int s = 0; s < stages; ++s) {
        desc->levels[s] = levels[s];
        desc->bits[s] = bits[s];
    }
}

void vq_description_release(VqDescription* desc) {
    std::free(desc->bits);
    std::free(desc->indexes);
    std::free(desc->levels);
    desc->bits = nullptr;
    desc->indexes = nullptr;
    desc->levels = nullptr;
    desc->codebook = nullptr;
}

void frame_params_attach(FrameParams* params, const VqDescription* lsf, const VqDescription* harm) {
    params->harm_code = harm->indexes;
    params->lsf_codes = lsf->indexes;
    params->lsf_stage_count = lsf->stages;
    params->lsf_stage_bits = lsf->bits;
    params->lsf_stage_levels = lsf->levels;
}

void lsf_weights(float* w, const float* lsf, const float* a, int p) {
    for (int i = 1; i <= p; ++i) {
        w[i] = std::pow(lpc_power_response(a, static_cast<float>(kPi) * lsf[i], p),
                        kLsfWeightExponent);
    }
    // The ear resolves the top of the band poorly; spend fewer bits there.
    w[p - 1] *= kSecondHighestLsfScale;
    w[p] *= kHighestLsfScale;
}

float msvq_search(const float* cb, const float* target, const float* estimate, const int* levels,
                  int survivors, int stages, int p, const float* w, float* out, int* codes,
                  int limit) {
    SearchScratch s(survivors, stages, p);
    for (int i = 0; i < p; ++i) {
        s.residual[0][i] = estimate != nullptr ? target[i] - estimate[i] : target[i];
    }
    s.error[0][0] = weighted_energy(s.residual[0], w, p);
    int live = 1;
    int accepted = 0;
    const float* stage_cb = cb;
    for (int stage = 0; stage < stages; ++stage) {
        for (int k = 0; k < survivors; ++k) {
            s.error[1][k] = kEmptySlotError;
            s.index[k] = 0;  // a slot no candidate reaches (NaN input) stays a valid path
            s.parent[k] = 0;
        }
        const StageSearch search{stage_cb, levels[stage], live, survivors, w, limit};
        if (p == kLpcOrder) {
            search_stage(s, search, std::integral_constant<int, kLpcOrder>{}, &accepted);
        } else {
            search_stage(s, search, p, &accepted);
        }
        const int next_live = live * levels[stage] < survivors ? live * levels[stage] : survivors;
        for (int k = 0; k < next_live; ++k) {
            const float* from = s.residual[0] + s.parent[k] * p;
            const float* vec = stage_cb + s.index[k] * p;
            float* to = s.residual[1] + k * p;
            for (int i = 0; i < p; ++i) to[i] = from[i] - vec[i];
            const int* old_path = s.path[0] + s.parent[k] * stages;
            int* new_path = s.path[1] + k * stages;
            for (int j = 0; j < stage; ++j) new_path[j] = old_path[j];
            new_path[stage] = s.index[k];
        }
        std::swap(s.residual[0], s.residual[1]);
        std::swap(s.error[0], s.error[1]);
        std::swap(s.path[0], s.path[1]);
        live = next_live;
        stage_cb += levels[stage] * p;
    }
    const int best = first_smallest(s.error[0], live);
    for (int stage = 0; stage < stages; ++stage) codes[stage] = s.path[0][best * stages + stage];
    const float best_error = s.error[0][best];
    msvq_decode(cb, out, estimate, codes, levels, stages, p);
    return best_error;
}

void msvq_decode(const float* cb, float* out, const float* estimate, const int* codes,
                 const int* levels, int stages, int p) {
    for (int i = 0; i < p; ++i) out[i] = estimate != nullptr ? estimate[i] : 0.0f;
    const float* stage_cb = cb;
    for (int stage = 0; stage < stages; ++stage) {
        const float* vec = stage_cb + codes[stage] * p;
        for (int i = 0; i < p; ++i) out[i] += vec[i];
        stage_cb += levels[stage] * p;
    }
}

float vq_search(const float* cb, const float* x, int size, int p, float* out, int* code) {
    int best = 0;
    double best_distance = 0.0;
    for (int v = 0; v < size; ++v) {
        const float* vec = cb + v * p;
        double distance = 0.0;
        for (int i = 0; i < p; ++i) {
            const double diff = static_cast<double>(x[i]) - vec[i];
            distance += diff * diff;
        }
        if (v == 0 || distance < best_distance) {
            best = v;
            best_distance = distance;
        }
    }
    *code = best;
    for (int i = 0; i < p; ++i) out[i] = cb[best * p + i];
    return static_cast<float>(best_distance);
}

void lsf_quantize(FrameParams* params, const float* a, const VqDescription* desc) {
    float w[kLpcOrder + 1];
    lsf_weights(w, params->lsf, a, kLpcOrder);
    msvq_search(desc->codebook, &params->lsf[1], nullptr, desc->levels, desc->survivors,
                desc->stages, kLpcOrder, &w[1], &params->lsf[1], desc->indexes, kMsvqTrackLimit);
}

void harm_weights(float* w, float pitch, int count) {
    for (int k = 1; k <= count; ++k) {
        const double f = k * (2.0 * kPi / pitch) * (4.0 / kPi);  // kHz at 8000 samples/s
        w[k - 1] = static_cast<float>(117.0 / (25.0 + 75.0 * std::pow(1.0 + 1.4 * f * f, 0.69)));
    }
}

void harm_quantize(float* mag, const float* weights, const float* cb, int levels, int* code) {
    for (int k = 0; k < kHarmonics; ++k) mag[k] *= weights[k];
    vq_search(cb, mag, levels, kHarmonics, mag, code);
}
