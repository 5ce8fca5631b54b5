// msvq-search: microseconds per frame of the LSF M-best search (4 stages, 8 survivors) and of
// the harmonic-magnitude full search, on synthetic codebooks of the coder's shapes.
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

#include "melp_types.h"
#include "vq_lib.h"

namespace {

constexpr int kFrames = 20000;
constexpr int kRuns = 3;  // best of three, as other programs share the processors

std::vector<float> lsf_like_codebook(std::mt19937* rng) {
    std::uniform_real_distribution<float> first(0.05f, 0.9f);
    std::uniform_real_distribution<float> correction(-0.08f, 0.08f);
    std::vector<float> cb;
    for (int s = 0; s < kLsfStages; ++s) {
        for (int v = 0; v < kLsfStageLevels[s] * kLpcOrder; ++v) {
            cb.push_back(s == 0 ? first(*rng) : correction(*rng));
        }
    }
    return cb;
}

template <typename Search>
double best_microseconds_per_frame(Search search) {
    double best = 1e30;
    for (int run = 0; run < kRuns; ++run) {
        const auto start = std::chrono::steady_clock::now();
        for (int f = 0; f < kFrames; ++f) search(f);
        const std::chrono::duration<double, std::micro> took =
            std::chrono::steady_clock::now() - start;
        if (took.count() / kFrames < best) best = took.count() / kFrames;
    }
    return best;
}

}  // namespace

int main() {
    std::mt19937 rng(7);
    const std::vector<float> lsf_cb = lsf_like_codebook(&rng);
    std::vector<float> harm_cb(kHarmLevels * kHarmonics);
    std::uniform_real_distribution<float> magnitude(0.14f, 2.24f);
    for (float& m : harm_cb) m = magnitude(rng);

    std::vector<float> targets(kFrames * kLpcOrder);
    std::uniform_real_distribution<float> lsf(0.02f, 0.98f);
    for (float& t : targets) t = lsf(rng);
    const float weights[kLpcOrder] = {1, 1, 1, 1, 1, 1, 1, 1, 0.64f, 0.16f};
    float sink = 0.0f;

    const double lsf_us = best_microseconds_per_frame([&](int f) {
        float out[kLpcOrder];
        int codes[kLsfStages];
        sink +=
            msvq_search(lsf_cb.data(), &targets[f * kLpcOrder], nullptr, kLsfStageLevels,
                        kLsfSurvivors, kLsfStages, kLpcOrder, weights, out, codes, kMsvqTrackLimit);
    });
    const double harm_us = best_microseconds_per_frame([&](int f) {
        float mag[kHarmonics];
        int code = 0;
        for (int k = 0; k < kHarmonics; ++k) mag[k] = 0.5f + targets[f * kLpcOrder + k];
        sink += vq_search(harm_cb.data(), mag, kHarmLevels, kHarmonics, mag, &code);
    });

    const int candidates = kLsfStageLevels[0] + kLsfSurvivors * (64 + 64 + 64);
    std::printf("| search | candidates per frame | us per frame | share of a 22.5 ms frame |\n");
    std::printf("|---|---|---|---|\n");
    std::printf("| LSF M-best (4 stages, 8 survivors) | %d | %.2f | %.3f%% |\n", candidates, lsf_us,
                lsf_us / 225.0);
    std::printf("| harmonic full search | %d | %.2f | %.3f%% |\n", kHarmLevels, harm_us,
                harm_us / 225.0);
    std::printf("(checksum %.3f)\n", static_cast<double>(sink));
    return 0;
}
