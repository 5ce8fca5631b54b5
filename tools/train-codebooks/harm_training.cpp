#include "harm_training.h"

#include <algorithm>

#include "frame_selection.h"
#include "quoted_codevectors.h"
#include "vq_lib.h"
#include "weighted_kmeans.h"

namespace {

constexpr KmeansOptions kHarmOptions{1, 60, 1.0e-4, 19970101u, nullptr};

std::vector<float> magnitude_weights() {
    std::vector<float> w(kHarmonics);
    harm_weights(w.data(), kHarmWeightPitch, kHarmonics);
    return w;
}

// The weighted magnitudes of the voiced frames, the vectors the coder searches with.
std::vector<float> weighted_voiced(const std::vector<TrainingFrame>& frames) {
    const std::vector<float> w = magnitude_weights();
    std::vector<float> vectors;
    for (const TrainingFrame& f : frames) {
        if (!codes_harm(f)) continue;
        for (int k = 0; k < kHarmonics; k++) vectors.push_back(f.harm_mag[k] * w[k]);
    }
    return vectors;
}

std::vector<float> weighted_codebook(const float* codebook) {
    const std::vector<float> w = magnitude_weights();
    std::vector<float> cb(codebook, codebook + kHarmCodebookSize);
    for (int i = 0; i < kHarmCodebookSize; i++) cb[i] *= w[i % kHarmonics];
    return cb;
}

}  // namespace

HarmTrainingReport train_harm_codebook(const std::vector<TrainingFrame>& frames, float* codebook) {
    const std::vector<float> vectors = weighted_voiced(frames);
    const WeightedSet set{vectors.data(), nullptr, static_cast<int>(vectors.size() / kHarmonics),
                          kHarmonics};
    std::fill_n(codebook, kHarmCodebookSize, 1.0f);
    std::copy_n(kHarmFirst, kHarmonics, codebook);
    std::vector<float> cb = weighted_codebook(codebook);
    HarmTrainingReport report{set.count, kmeans_train(set, cb.data(), kHarmLevels, kHarmOptions)};
    const std::vector<float> w = magnitude_weights();
    for (int i = kHarmOptions.fixed * kHarmonics; i < kHarmCodebookSize; i++) {
        codebook[i] = cb[i] / w[i % kHarmonics];
    }
    return report;
}

double harm_weighted_error(const std::vector<TrainingFrame>& frames, const float* codebook) {
    const std::vector<float> vectors = weighted_voiced(frames);
    const std::vector<float> cb = weighted_codebook(codebook);
    const int count = static_cast<int>(vectors.size() / kHarmonics);
    double total = 0.0;
    float quantized[kHarmonics];
    int code;
    for (int n = 0; n < count; n++) {
        total += vq_search(cb.data(), vectors.data() + n * kHarmonics, kHarmLevels, kHarmonics,
                           quantized, &code);
    }
    return count ? total / count : 0.0;
}
