#include "msvq_training.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

constexpr int kDim = 4;
// Stage 2 holds a given codevector besides room for the 4 offsets the data is made of.
constexpr int kLevels[] = {8, 5};
constexpr int kFixed[] = {0, 1};

void sort_ascending(float* v, int dim) { std::sort(v, v + dim); }

const MsvqLayout kLayout{2, kDim, kLevels, kFixed, 4, sort_ascending};

// Vectors made the way a two-stage quantizer sees them: one of 8 ascending coarse vectors plus
// one of 4 small offsets plus noise, each with weights of its own.
struct TwoStageData {
    std::vector<float> vectors;
    std::vector<float> weights;
    WeightedSet set() const {
        return {vectors.data(), weights.data(), static_cast<int>(vectors.size() / kDim), kDim};
    }
};

TwoStageData two_stage_data(int count) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    float coarse[8][kDim];
    float fine[4][kDim];
    for (auto& v : coarse) {
        for (float& x : v) x = 10.0f * unit(rng);
        std::sort(v, v + kDim);
    }
    for (auto& v : fine) {
        for (float& x : v) x = unit(rng) - 0.5f;
    }
    TwoStageData data;
    for (int n = 0; n < count; n++) {
        const int c = static_cast<int>(rng() % 8);
        const int f = static_cast<int>(rng() % 4);
        for (int i = 0; i < kDim; i++) {
            data.vectors.push_back(coarse[c][i] + fine[f][i] + 0.02f * (unit(rng) - 0.5f));
            data.weights.push_back(0.5f + unit(rng));
        }
    }
    return data;
}

TEST(MsvqTraining, StageOffsetsFollowTheLevels) {
    EXPECT_EQ(msvq_stage_offset(kLayout, 0), 0);
    EXPECT_EQ(msvq_stage_offset(kLayout, 1), 8 * kDim);
    EXPECT_EQ(msvq_stage_offset(kLayout, 2), 13 * kDim);
}

TEST(MsvqTraining, StagewiseTrainingCodesTheStructureItWasMadeOf) {
    const TwoStageData data = two_stage_data(3000);
    std::vector<float> codebook(13 * kDim, 0.0f);
    const float given[kDim] = {0.1f, -0.1f, 0.2f, -0.2f};
    std::copy_n(given, kDim, codebook.begin() + 8 * kDim);
    const KmeansOptions opt{0, 60, 1.0e-6, 5u, nullptr};
    const double error = msvq_train_stagewise(data.set(), codebook.data(), kLayout, opt);

    // Coarse vectors differ by several units and offsets by tenths; noise alone is ~1e-4.
    EXPECT_LT(error, 0.005);
    EXPECT_NEAR(error, msvq_distortion(data.set(), codebook.data(), kLayout), 1e-9);
    EXPECT_TRUE(std::equal(given, given + kDim, codebook.begin() + 8 * kDim));
    for (int j = 0; j < 8; j++) {
        EXPECT_TRUE(std::is_sorted(codebook.begin() + j * kDim, codebook.begin() + (j + 1) * kDim))
            << "stage 1 codevector " << j;
    }
}

TEST(MsvqTraining, JointRefinementNeverLosesAndKeepsTheGivenCodevector) {
    const TwoStageData data = two_stage_data(2000);
    std::vector<float> codebook(13 * kDim, 0.0f);
    // A poor start: stage 1 only from a short run, so the refinement has work to do.
    const KmeansOptions opt{0, 2, 1.0e-6, 9u, nullptr};
    const double stagewise = msvq_train_stagewise(data.set(), codebook.data(), kLayout, opt);
    const std::vector<float> before = codebook;
    const double joint = msvq_refine_jointly(data.set(), codebook.data(), kLayout, 8);
    EXPECT_LE(joint, stagewise);
    EXPECT_NEAR(joint, msvq_distortion(data.set(), codebook.data(), kLayout), 1e-9);
    EXPECT_TRUE(std::equal(before.begin() + 8 * kDim, before.begin() + 9 * kDim,
                           codebook.begin() + 8 * kDim));
    for (int j = 0; j < 8; j++) {
        EXPECT_TRUE(std::is_sorted(codebook.begin() + j * kDim, codebook.begin() + (j + 1) * kDim));
    }
}

TEST(MsvqTraining, ZeroPassesChangeNothing) {
    const TwoStageData data = two_stage_data(200);
    std::vector<float> codebook(13 * kDim);
    for (size_t i = 0; i < codebook.size(); i++) codebook[i] = static_cast<float>(i % 7);
    const std::vector<float> before = codebook;
    msvq_refine_jointly(data.set(), codebook.data(), kLayout, 0);
    EXPECT_EQ(codebook, before);
}

}  // namespace
