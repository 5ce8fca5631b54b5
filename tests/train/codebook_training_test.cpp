#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>
#include <vector>

#include "frame_selection.h"
#include "harm_training.h"
#include "lsf_training.h"
#include "quoted_codevectors.h"

namespace {

constexpr int kStage2Offset = 128 * kLpcOrder;

// Frames like the analysis gives: ascending LSFs around a vowel with its weights, magnitudes
// near 1; every 7th frame is silent and every 11th unvoiced.
std::vector<TrainingFrame> synthetic_frames(int count) {
    std::mt19937 rng(5);
    std::normal_distribution<float> jitter(0.0f, 0.01f);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::vector<TrainingFrame> frames(count);
    for (int n = 0; n < count; n++) {
        TrainingFrame& f = frames[n];
        for (int i = 0; i < kLpcOrder; i++) {
            f.lsf[i] = 0.08f * (i + 1) + jitter(rng);
            f.lsf_weight[i] = 0.5f + unit(rng);
        }
        std::sort(f.lsf, f.lsf + kLpcOrder);
        for (float& m : f.harm_mag) m = 0.5f + unit(rng);
        f.silent = n % 7 == 0;
        f.voiced = n % 11 != 0;
    }
    return frames;
}

TEST(LsfCodebookTraining, KeepsTheQuotedVectorsAndStageOneOrder) {
    const std::vector<TrainingFrame> frames = synthetic_frames(700);
    static float codebook[kLsfCodebookSize];
    const LsfTrainingReport report = train_lsf_codebook(frames, codebook);
    EXPECT_EQ(report.frames, 600);  // 100 silent frames left out
    EXPECT_LE(report.joint_error, report.stagewise_error);
    EXPECT_NEAR(report.joint_error, lsf_weighted_error(frames, codebook), 1e-6);
    EXPECT_TRUE(std::equal(kLsfStage1FirstHz, kLsfStage1FirstHz + kLpcOrder, codebook));
    EXPECT_TRUE(
        std::equal(kLsfStage2FirstHz, kLsfStage2FirstHz + kLpcOrder, codebook + kStage2Offset));
    for (int v = 1; v < 128; v++) {
        const float* lsf = codebook + v * kLpcOrder;
        EXPECT_GT(lsf[0], 0.0f) << v;
        EXPECT_LT(lsf[kLpcOrder - 1], 4000.0f) << v;
        EXPECT_TRUE(std::is_sorted(lsf, lsf + kLpcOrder)) << v;
    }
}

TEST(LsfCodebookTraining, FramesWithValuesThatAreNotFiniteAreLeftOut) {
    std::vector<TrainingFrame> frames = synthetic_frames(300);
    frames[1].lsf[3] = std::numeric_limits<float>::quiet_NaN();
    frames[2].lsf_weight[0] = std::numeric_limits<float>::infinity();
    frames[3].harm_mag[5] = std::numeric_limits<float>::quiet_NaN();
    static float lsf[kLsfCodebookSize];
    static float harm[kHarmCodebookSize];
    EXPECT_EQ(train_lsf_codebook(frames, lsf).frames, 300 - 43 - 2);
    EXPECT_TRUE(all_finite(lsf, kLsfCodebookSize));
    EXPECT_EQ(train_harm_codebook(frames, harm).frames, 300 - 43 - 24 - 1);
    EXPECT_TRUE(all_finite(harm, kHarmCodebookSize));
}

TEST(LsfCodebookTraining, QuantizingATrainedFrameDistortsLittle) {
    const std::vector<TrainingFrame> frames = synthetic_frames(700);
    static float codebook[kLsfCodebookSize];
    train_lsf_codebook(frames, codebook);
    const std::vector<double> db = lsf_spectral_distortions(frames, codebook, 4000.0);
    ASSERT_EQ(db.size(), 600u);
    // 600 frames, 320 codevectors: the training frames are coded almost exactly.
    EXPECT_LT(*std::max_element(db.begin(), db.end()), 1.0);
}

TEST(HarmCodebookTraining, KeepsTheQuotedVectorAndLearnsFromVoicedFramesOnly) {
    std::vector<TrainingFrame> frames = synthetic_frames(770);
    // Unvoiced frames carry magnitudes far off; a codebook that learnt them would hold them.
    for (TrainingFrame& f : frames) {
        if (!f.voiced) std::fill_n(f.harm_mag, kHarmonics, 50.0f);
    }
    static float codebook[kHarmCodebookSize];
    const HarmTrainingReport report = train_harm_codebook(frames, codebook);
    EXPECT_EQ(report.frames, 770 - 110 - 60);
    EXPECT_NEAR(report.error, harm_weighted_error(frames, codebook), 1e-6);
    EXPECT_TRUE(std::equal(kHarmFirst, kHarmFirst + kHarmonics, codebook));
    EXPECT_LT(*std::max_element(codebook, codebook + kHarmCodebookSize), 1.6f);
    EXPECT_GT(*std::min_element(codebook, codebook + kHarmCodebookSize), 0.4f);
}

}  // namespace
