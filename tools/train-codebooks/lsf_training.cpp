#include "lsf_training.h"

#include <algorithm>

#include "frame_analysis.h"
#include "frame_selection.h"
#include "lpc_lib.h"
#include "lsf_distortion.h"
#include "msvq_training.h"
#include "quoted_codevectors.h"
#include "vq_lib.h"

namespace {

constexpr float kHzPerUnit = 4000.0f;  // normalized frequency 1.0
constexpr int kFixedPerStage[kLsfStages] = {1, 1, 0, 0};
constexpr int kJointPasses = 24;
constexpr KmeansOptions kStageOptions{0, 60, 1.0e-4, 20240611u, nullptr};

// Stage 1 codevectors are LSF sets themselves: ascending, apart and inside the band.
void keep_lsf_order(float* v, int dim) {
    float w[kLpcOrder + 1] = {0.0f};
    std::copy_n(v, dim, w + 1);
    lsf_clamp(w, kLsfMinDistance, dim);
    std::copy_n(w + 1, dim, v);
}

const MsvqLayout kLayout{kLsfStages,     kLpcOrder,     kLsfStageLevels,
                         kFixedPerStage, kLsfSurvivors, keep_lsf_order};

// The coded frames' LSFs and weights, back to back.
struct LsfSet {
    std::vector<float> lsf;
    std::vector<float> weight;
    WeightedSet view() const {
        return {lsf.data(), weight.data(), static_cast<int>(lsf.size() / kLpcOrder), kLpcOrder};
    }
};

LsfSet spoken_frames(const std::vector<TrainingFrame>& frames) {
    LsfSet set;
    for (const TrainingFrame& f : frames) {
        if (!codes_lsf(f)) continue;
        set.lsf.insert(set.lsf.end(), f.lsf, f.lsf + kLpcOrder);
        set.weight.insert(set.weight.end(), f.lsf_weight, f.lsf_weight + kLpcOrder);
    }
    return set;
}

std::vector<float> normalized(const float* codebook_hz) {
    std::vector<float> cb(codebook_hz, codebook_hz + kLsfCodebookSize);
    for (float& v : cb) v /= kHzPerUnit;
    return cb;
}

}  // namespace

LsfTrainingReport train_lsf_codebook(const std::vector<TrainingFrame>& frames, float* codebook_hz) {
    const LsfSet set = spoken_frames(frames);
    std::fill_n(codebook_hz, kLsfCodebookSize, 0.0f);
    std::copy_n(kLsfStage1FirstHz, kLpcOrder, codebook_hz);
    std::copy_n(kLsfStage2FirstHz, kLpcOrder, codebook_hz + msvq_stage_offset(kLayout, 1));
    std::vector<float> cb = normalized(codebook_hz);
    LsfTrainingReport report{set.view().count, 0.0, 0.0};
    report.stagewise_error = msvq_train_stagewise(set.view(), cb.data(), kLayout, kStageOptions);
    report.joint_error = msvq_refine_jointly(set.view(), cb.data(), kLayout, kJointPasses);
    // Trained values go back to Hz; the quoted ones stay exactly as quoted.
    for (int stage = 0; stage < kLsfStages; stage++) {
        const int offset = msvq_stage_offset(kLayout, stage);
        for (int i = kFixedPerStage[stage] * kLpcOrder; i < kLsfStageLevels[stage] * kLpcOrder;
             i++) {
            codebook_hz[offset + i] = cb[offset + i] * kHzPerUnit;
        }
    }
    return report;
}

double lsf_weighted_error(const std::vector<TrainingFrame>& frames, const float* codebook_hz) {
    const LsfSet set = spoken_frames(frames);
    return msvq_distortion(set.view(), normalized(codebook_hz).data(), kLayout);
}

std::vector<double> lsf_spectral_distortions(const std::vector<TrainingFrame>& frames,
                                             const float* codebook_hz, double band_hz) {
    const std::vector<float> cb = normalized(codebook_hz);
    std::vector<double> db;
    for (const TrainingFrame& f : frames) {
        if (!codes_lsf(f)) continue;
        float original[kLpcOrder + 1] = {0.0f};
        float quantized[kLpcOrder + 1] = {0.0f};
        int codes[kLsfStages];
        std::copy_n(f.lsf, kLpcOrder, original + 1);
        msvq_search(cb.data(), f.lsf, nullptr, kLsfStageLevels, kLsfSurvivors, kLsfStages,
                    kLpcOrder, f.lsf_weight, quantized + 1, codes, kMsvqTrackLimit);
        lsf_clamp(quantized, kLsfMinDistance, kLpcOrder);
        db.push_back(lsf_spectral_distortion(original, quantized, kLpcOrder, band_hz));
    }
    return db;
}
