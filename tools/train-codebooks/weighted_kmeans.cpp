#include "weighted_kmeans.h"

#include <algorithm>
#include <random>
#include <vector>

namespace {

const float* weights_of(const WeightedSet& set, int n) {
    return set.weights ? set.weights + static_cast<size_t>(n) * set.dim : nullptr;
}

const float* vector_of(const WeightedSet& set, int n) {
    return set.vectors + static_cast<size_t>(n) * set.dim;
}

// Uniform in [0, 1) from the raw generator, so that seeding is the same with every library.
double uniform(std::mt19937* rng) { return (*rng)() / 4294967296.0; }

void update_nearest(const WeightedSet& set, const float* codevector, std::vector<float>* best) {
    for (int n = 0; n < set.count; n++) {
        const float d =
            weighted_distance(vector_of(set, n), weights_of(set, n), codevector, set.dim);
        (*best)[n] = std::min((*best)[n], d);
    }
}

// Picks a vector with probability in proportion to its distance from the codevectors so far.
int draw_by_distance(const std::vector<float>& best, std::mt19937* rng) {
    double total = 0.0;
    for (float d : best) total += d;
    const int last = static_cast<int>(best.size()) - 1;
    if (total <= 0.0) return static_cast<int>(uniform(rng) * best.size());
    double target = uniform(rng) * total;
    for (int n = 0; n < last; n++) {
        target -= best[n];
        if (target < 0.0) return n;
    }
    return last;
}

void seed_codebook(const WeightedSet& set, float* codebook, int size, const KmeansOptions& opt) {
    std::mt19937 rng(opt.seed);
    std::vector<float> best(set.count, 3.0e38f);
    for (int j = 0; j < opt.fixed; j++) update_nearest(set, codebook + j * set.dim, &best);
    for (int j = opt.fixed; j < size; j++) {
        const int pick =
            j == 0 ? static_cast<int>(uniform(&rng) * set.count) : draw_by_distance(best, &rng);
        std::copy_n(vector_of(set, pick), set.dim, codebook + j * set.dim);
        if (opt.constraint) opt.constraint(codebook + j * set.dim, set.dim);
        update_nearest(set, codebook + j * set.dim, &best);
    }
}

// One Lloyd pass; returns the mean distortion of the assignment it made.
double lloyd_pass(const WeightedSet& set, float* codebook, int size, const KmeansOptions& opt) {
    const int dim = set.dim;
    std::vector<double> sum(static_cast<size_t>(size) * dim, 0.0);
    std::vector<double> weight(static_cast<size_t>(size) * dim, 0.0);
    std::vector<int> members(size, 0);
    std::vector<float> error(set.count);
    double total = 0.0;
    for (int n = 0; n < set.count; n++) {
        const float* x = vector_of(set, n);
        const float* w = weights_of(set, n);
        const int j = nearest_codevector(codebook, size, x, w, dim, &error[n]);
        total += error[n];
        members[j]++;
        for (int i = 0; i < dim; i++) {
            const double wi = w ? w[i] : 1.0;
            sum[j * dim + i] += wi * x[i];
            weight[j * dim + i] += wi;
        }
    }
    for (int j = opt.fixed; j < size; j++) {
        float* v = codebook + j * dim;
        if (members[j] == 0) {
            // The worst-coded vector starts the empty cell; it is taken once.
            const int worst =
                static_cast<int>(std::max_element(error.begin(), error.end()) - error.begin());
            std::copy_n(vector_of(set, worst), dim, v);
            error[worst] = 0.0f;
        } else {
            for (int i = 0; i < dim; i++) {
                if (weight[j * dim + i] > 0.0) {
                    v[i] = static_cast<float>(sum[j * dim + i] / weight[j * dim + i]);
                }
            }
        }
        if (opt.constraint) opt.constraint(v, dim);
    }
    return total / set.count;
}

}  // namespace

float weighted_distance(const float* x, const float* w, const float* v, int dim) {
    float d = 0.0f;
    for (int i = 0; i < dim; i++) {
        const float e = x[i] - v[i];
        d += (w ? w[i] : 1.0f) * e * e;
    }
    return d;
}

int nearest_codevector(const float* codebook, int size, const float* x, const float* w, int dim,
                       float* distance) {
    int best = 0;
    float best_d = weighted_distance(x, w, codebook, dim);
    for (int j = 1; j < size; j++) {
        const float d = weighted_distance(x, w, codebook + j * dim, dim);
        if (d < best_d) {
            best_d = d;
            best = j;
        }
    }
    *distance = best_d;
    return best;
}

double mean_distortion(const WeightedSet& set, const float* codebook, int size) {
    double total = 0.0;
    for (int n = 0; n < set.count; n++) {
        float d;
        nearest_codevector(codebook, size, vector_of(set, n), weights_of(set, n), set.dim, &d);
        total += d;
    }
    return set.count ? total / set.count : 0.0;
}

double kmeans_train(const WeightedSet& set, float* codebook, int size, const KmeansOptions& opt) {
    if (set.count == 0 || size <= opt.fixed) return mean_distortion(set, codebook, size);
    seed_codebook(set, codebook, size, opt);
    double previous = lloyd_pass(set, codebook, size, opt);
    for (int pass = 1; pass < opt.max_passes; pass++) {
        const double current = lloyd_pass(set, codebook, size, opt);
        const bool settled = previous - current <= opt.min_gain * previous;
        previous = current;
        if (settled) break;
    }
    return mean_distortion(set, codebook, size);
}
