#include "msvq_training.h"

#include <algorithm>
#include <vector>

#include "vq_lib.h"

namespace {

const float* vector_of(const WeightedSet& set, int n) {
    return set.vectors + static_cast<size_t>(n) * set.dim;
}

const float* weights_of(const WeightedSet& set, int n) {
    return set.weights + static_cast<size_t>(n) * set.dim;
}

// M-best search of vector n with the first `stages` stages; returns its weighted error.
float search_vector(const WeightedSet& set, int n, const float* codebook, const MsvqLayout& layout,
                    int stages, float* quantized, int* codes) {
    return msvq_search(codebook, vector_of(set, n), nullptr, layout.levels, layout.survivors,
                       stages, set.dim, weights_of(set, n), quantized, codes, kMsvqTrackLimit);
}

// What the first `stages` stages leave of every vector under the M-best search.
std::vector<float> residuals_after(const WeightedSet& set, const float* codebook,
                                   const MsvqLayout& layout, int stages) {
    std::vector<float> residual(vector_of(set, 0), vector_of(set, set.count));
    if (stages == 0) return residual;
    std::vector<float> quantized(set.dim);
    std::vector<int> codes(layout.stages);
    for (int n = 0; n < set.count; n++) {
        search_vector(set, n, codebook, layout, stages, quantized.data(), codes.data());
        for (int i = 0; i < set.dim; i++)
            residual[static_cast<size_t>(n) * set.dim + i] -= quantized[i];
    }
    return residual;
}

// Re-centres the free codevectors of one stage on the weighted mean of what the full search
// leaves for them; cells nobody chose keep their codevector.
void recentre_stage(const WeightedSet& set, float* codebook, const MsvqLayout& layout, int stage) {
    const int dim = set.dim;
    const int levels = layout.levels[stage];
    float* stage_cb = codebook + msvq_stage_offset(layout, stage);
    std::vector<double> sum(static_cast<size_t>(levels) * dim, 0.0);
    std::vector<double> weight(static_cast<size_t>(levels) * dim, 0.0);
    std::vector<float> quantized(dim);
    std::vector<int> codes(layout.stages);
    for (int n = 0; n < set.count; n++) {
        search_vector(set, n, codebook, layout, layout.stages, quantized.data(), codes.data());
        const float* x = vector_of(set, n);
        const float* w = weights_of(set, n);
        const float* own = stage_cb + codes[stage] * dim;
        for (int i = 0; i < dim; i++) {
            // The target of this stage: the vector minus what the other stages contribute.
            const double target = x[i] - (quantized[i] - own[i]);
            sum[codes[stage] * dim + i] += w[i] * target;
            weight[codes[stage] * dim + i] += w[i];
        }
    }
    for (int j = layout.fixed[stage]; j < levels; j++) {
        float* v = stage_cb + j * dim;
        for (int i = 0; i < dim; i++) {
            if (weight[j * dim + i] > 0.0)
                v[i] = static_cast<float>(sum[j * dim + i] / weight[j * dim + i]);
        }
        if (stage == 0 && layout.first_stage_constraint) layout.first_stage_constraint(v, dim);
    }
}

}  // namespace

int msvq_stage_offset(const MsvqLayout& layout, int stage) {
    int offset = 0;
    for (int s = 0; s < stage; s++) offset += layout.levels[s] * layout.dim;
    return offset;
}

double msvq_distortion(const WeightedSet& set, const float* codebook, const MsvqLayout& layout) {
    std::vector<float> quantized(set.dim);
    std::vector<int> codes(layout.stages);
    double total = 0.0;
    for (int n = 0; n < set.count; n++) {
        total +=
            search_vector(set, n, codebook, layout, layout.stages, quantized.data(), codes.data());
    }
    return set.count ? total / set.count : 0.0;
}

double msvq_train_stagewise(const WeightedSet& set, float* codebook, const MsvqLayout& layout,
                            const KmeansOptions& opt) {
    for (int stage = 0; stage < layout.stages; stage++) {
        const std::vector<float> residual = residuals_after(set, codebook, layout, stage);
        const WeightedSet stage_set{residual.data(), set.weights, set.count, set.dim};
        KmeansOptions stage_opt = opt;
        stage_opt.fixed = layout.fixed[stage];
        stage_opt.seed = opt.seed + stage;
        stage_opt.constraint = stage == 0 ? layout.first_stage_constraint : nullptr;
        kmeans_train(stage_set, codebook + msvq_stage_offset(layout, stage), layout.levels[stage],
                     stage_opt);
    }
    return msvq_distortion(set, codebook, layout);
}

double msvq_refine_jointly(const WeightedSet& set, float* codebook, const MsvqLayout& layout,
                           int passes) {
    const int size = msvq_stage_offset(layout, layout.stages);
    std::vector<float> best(codebook, codebook + size);
    double best_error = msvq_distortion(set, codebook, layout);
    for (int pass = 0; pass < passes; pass++) {
        for (int stage = 0; stage < layout.stages; stage++)
            recentre_stage(set, codebook, layout, stage);
        const double error = msvq_distortion(set, codebook, layout);
        if (error >= best_error) break;
        best_error = error;
        std::copy_n(codebook, size, best.begin());
    }
    std::copy(best.begin(), best.end(), codebook);
    return best_error;
}
