#include "vq_lib.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr float kFlat[2] = {1.0f, 1.0f};

// Two stages of two one-dimensional codevectors, padded to dimension 2: stage 1 holds 0.9 and
// 1.3, stage 2 holds 0.25 and -0.3. For the target 1.0 the best first stage (0.9, error 0.01)
// leads to 0.0225 at best, while 1.3 - 0.3 hits the target exactly.
constexpr float kTwoStage[] = {0.9f, 0.0f, 1.3f, 0.0f, 0.25f, 0.0f, -0.3f, 0.0f};
constexpr int kTwoStageLevels[] = {2, 2};

TEST(MsvqSearch, KeepsEnoughSurvivorsToFindThePathAGreedySearchMisses) {
    struct Case {
        int survivors;
        int codes[2];
        float error;
    };
    // Ten survivors exceed the inline working arrays and use the heap.
    for (const Case& c :
         {Case{1, {0, 0}, 0.0225f}, Case{2, {1, 1}, 0.0f}, Case{10, {1, 1}, 0.0f}}) {
        const float target[2] = {1.0f, 0.0f};
        float out[2] = {};
        int codes[2] = {-1, -1};
        const float error = msvq_search(kTwoStage, target, nullptr, kTwoStageLevels, c.survivors, 2,
                                        2, kFlat, out, codes, kMsvqTrackLimit);
        EXPECT_EQ(codes[0], c.codes[0]) << c.survivors;
        EXPECT_EQ(codes[1], c.codes[1]) << c.survivors;
        EXPECT_NEAR(error, c.error, 1e-6f) << c.survivors;
        EXPECT_NEAR(out[0], kTwoStage[2 * codes[0]] + kTwoStage[4 + 2 * codes[1]], 1e-6f);
        EXPECT_EQ(out[1], 0.0f);
    }
}

TEST(MsvqSearch, WeightsDecideWhichCoordinateMatters) {
    constexpr float cb[] = {0.0f, 1.0f, 1.0f, 0.0f};
    constexpr int levels[] = {2};
    struct Case {
        float w[2];
        int code;
        float error;
    };
    for (const Case& c :
         {Case{{1.0f, 4.0f}, 0, 1.0f}, Case{{4.0f, 1.0f}, 1, 1.0f}, Case{{3.0f, 0.5f}, 1, 0.5f}}) {
        const float target[2] = {1.0f, 1.0f};
        float out[2] = {};
        int code = -1;
        const float error =
            msvq_search(cb, target, nullptr, levels, 2, 1, 2, c.w, out, &code, kMsvqTrackLimit);
        EXPECT_EQ(code, c.code);
        EXPECT_FLOAT_EQ(error, c.error);
    }
}

TEST(MsvqSearch, QuantizesTheDifferenceFromAnEstimateAndWritesOverTheTarget) {
    const float estimate[2] = {0.5f, 0.0f};
    float target[2] = {1.5f, 0.0f};  // 1.0 away from the estimate
    int codes[2] = {};
    msvq_search(kTwoStage, target, estimate, kTwoStageLevels, 2, 2, 2, kFlat, target, codes,
                kMsvqTrackLimit);
    EXPECT_EQ(codes[0], 1);
    EXPECT_EQ(codes[1], 1);
    EXPECT_NEAR(target[0], 1.5f, 1e-6f);
}

TEST(MsvqSearch, ASingleSurvivorKeepsTheLaterOfEqualCandidates) {
    constexpr float cb[] = {1.0f, 1.0f, 5.0f};
    constexpr int levels[] = {3};
    const float target[1] = {2.0f};
    const float w[1] = {1.0f};
    float out[1] = {};
    int code = -1;
    msvq_search(cb, target, nullptr, levels, 1, 1, 1, w, out, &code, kMsvqTrackLimit);
    EXPECT_EQ(code, 1);
    msvq_search(cb, target, nullptr, levels, 2, 1, 1, w, out, &code, kMsvqTrackLimit);
    EXPECT_EQ(code, 0);  // both kept; the first slot wins the final tie
}

// Stage 1 errors arrive as 4.84, 4.0, 2.89, 1.0, 1.96 for the target 0. After three accepted
// candidates the slot to replace stops following the worst survivor, so 1.96 (-1.4) is
// rejected and its exact continuation 1.4 in stage 2 is never reached.
TEST(MsvqSearch, StopsTrackingTheWorstSurvivorAtTheLimit) {
    constexpr float cb[] = {2.2f, 2.0f, 1.7f, 1.0f, -1.4f, 1.4f, 0.05f};
    constexpr int levels[] = {5, 2};
    struct Case {
        int limit;
        int codes[2];
        float error;
    };
    for (const Case& c : {Case{3, {3, 1}, 1.1025f}, Case{kMsvqTrackLimit, {4, 0}, 0.0f}}) {
        const float target[1] = {0.0f};
        const float w[1] = {1.0f};
        float out[1] = {};
        int codes[2] = {-1, -1};
        const float error =
            msvq_search(cb, target, nullptr, levels, 3, 2, 1, w, out, codes, c.limit);
        EXPECT_EQ(codes[0], c.codes[0]) << c.limit;
        EXPECT_EQ(codes[1], c.codes[1]) << c.limit;
        EXPECT_NEAR(error, c.error, 1e-5f) << c.limit;
    }
}

TEST(MsvqSearch, NotANumberTargetStillGivesValidIndexes) {
    const float target[2] = {std::nanf(""), 0.0f};
    float out[2] = {};
    int codes[2] = {-1, -1};
    msvq_search(kTwoStage, target, nullptr, kTwoStageLevels, 2, 2, 2, kFlat, out, codes,
                kMsvqTrackLimit);
    EXPECT_EQ(codes[0], 0);
    EXPECT_EQ(codes[1], 0);
}

TEST(MsvqDecode, AddsOneCodevectorPerStageToTheEstimate) {
    const int codes[2] = {1, 0};
    float out[2] = {};
    msvq_decode(kTwoStage, out, nullptr, codes, kTwoStageLevels, 2, 2);
    EXPECT_FLOAT_EQ(out[0], 1.55f);
    const float estimate[2] = {0.25f, -1.0f};
    msvq_decode(kTwoStage, out, estimate, codes, kTwoStageLevels, 2, 2);
    EXPECT_FLOAT_EQ(out[0], 1.8f);
    EXPECT_FLOAT_EQ(out[1], -1.0f);
}

TEST(VqSearch, ReturnsTheFirstNearestCodevectorAndItsSquaredDistance) {
    constexpr float cb[] = {5.0f, 5.0f, 1.0f, 2.0f, 3.0f, 0.0f, 1.0f, 2.0f};
    float x[2] = {2.0f, 1.0f};
    int code = -1;
    const float distance = vq_search(cb, x, 4, 2, x, &code);
    EXPECT_EQ(code, 1);  // (1,2) and (3,0) are both 2 away; the later copy of (1,2) too
    EXPECT_FLOAT_EQ(distance, 2.0f);
    EXPECT_EQ(x[0], 1.0f);
    EXPECT_EQ(x[1], 2.0f);
}

TEST(HarmWeights, FollowThePerceptualCurveForASixtySampleFundamental) {
    const float expected[kHarmonics] = {1.15518f, 1.11348f, 1.05193f, 0.97894f, 0.90193f,
                                        0.82616f, 0.75478f, 0.68931f, 0.63023f, 0.57741f};
    float w[kHarmonics];
    harm_weights(w, kHarmWeightPitch, kHarmonics);
    for (int k = 0; k < kHarmonics; ++k) EXPECT_NEAR(w[k], expected[k], 1e-5f) << k;
}

TEST(HarmQuantize, WeightsTheMagnitudesAndTakesTheNearestWeightedCodevector) {
    float weights[kHarmonics];
    harm_weights(weights, kHarmWeightPitch, kHarmonics);
    std::vector<float> cb(3 * kHarmonics);
    for (int v = 0; v < 3; ++v) {
        for (int k = 0; k < kHarmonics; ++k) {
            cb[v * kHarmonics + k] = (0.5f + 0.5f * static_cast<float>(v)) * weights[k];
        }
    }
    float mag[kHarmonics];
    for (float& m : mag) m = 1.1f;  // nearest to the all-1.0 vector once weighted
    int code = -1;
    harm_quantize(mag, weights, cb.data(), 3, &code);
    EXPECT_EQ(code, 1);
    for (int k = 0; k < kHarmonics; ++k) EXPECT_FLOAT_EQ(mag[k], weights[k]);
}

TEST(LsfWeights, AreThePowerResponseToTheMinusPointThreeWithTheTopTwoReduced) {
    float a[kLpcOrder + 1] = {1.0f};
    float lsf[kLpcOrder + 1] = {};
    for (int i = 1; i <= kLpcOrder; ++i) lsf[i] = static_cast<float>(i) / 11.0f;
    float w[kLpcOrder + 1];
    w[0] = -5.0f;
    lsf_weights(w, lsf, a, kLpcOrder);
    EXPECT_EQ(w[0], -5.0f);
    for (int i = 1; i <= 8; ++i) EXPECT_FLOAT_EQ(w[i], 1.0f);
    EXPECT_FLOAT_EQ(w[9], 0.64f);
    EXPECT_FLOAT_EQ(w[10], 0.16f);

    a[1] = -0.5f;  // |A|^2 = 1.25 - cos(w), 1.25 at a quarter of the sample rate
    lsf[1] = 0.5f;
    lsf_weights(w, lsf, a, kLpcOrder);
    EXPECT_NEAR(w[1], std::pow(1.25f, -0.3f), 1e-5f);
}

TEST(LsfQuantize, ReplacesTheLsfsAndFillsTheStageIndexes) {
    // Two codevectors per stage: stage 1 a ramp or its double, later stages +-0.01.
    std::vector<float> cb;
    for (int v = 0; v < 2; ++v) {
        for (int i = 0; i < kLpcOrder; ++i) cb.push_back(0.05f * (i + 1) * (v + 1));
    }
    for (int s = 1; s < kLsfStages; ++s) {
        for (float sign : {1.0f, -1.0f}) {
            for (int i = 0; i < kLpcOrder; ++i) cb.push_back(sign * 0.01f);
        }
    }
    const int levels[kLsfStages] = {2, 2, 2, 2};
    const int bits[kLsfStages] = {1, 1, 1, 1};
    VqDescription desc{};
    vq_description_create(&desc, kLsfStages, kLsfSurvivors, kLpcOrder, levels, bits, cb.data(),
                          "test", 1);
    FrameParams params{};
    for (int i = 1; i <= kLpcOrder; ++i) params.lsf[i] = 0.1f * i - 0.01f;  // double ramp - 0.01
    float a[kLpcOrder + 1] = {1.0f};
    lsf_quantize(&params, a, &desc);
    EXPECT_EQ(desc.indexes[0], 1);
    int minus = 0;
    for (int s = 1; s < kLsfStages; ++s) minus += desc.indexes[s];
    EXPECT_EQ(minus, 2);  // two of -0.01 and one +0.01
    for (int i = 1; i <= kLpcOrder; ++i) EXPECT_NEAR(params.lsf[i], 0.1f * i - 0.01f, 1e-6f);
    EXPECT_EQ(params.lsf[0], 0.0f);
    vq_description_release(&desc);
}

TEST(VqDescription, FrameParamsPointAtTheDescriptionsLists) {
    const int lsf_levels[kLsfStages] = {128, 64, 64, 64};
    const int lsf_bits[kLsfStages] = {7, 6, 6, 6};
    const int harm_levels[1] = {kHarmLevels};
    const int harm_bits[1] = {8};
    VqDescription lsf{};
    VqDescription harm{};
    vq_description_create(&lsf, kLsfStages, kLsfSurvivors, kLpcOrder, lsf_levels, lsf_bits, nullptr,
                          "test", 1);
    vq_description_create(&harm, 1, 1, kHarmonics, harm_levels, harm_bits, nullptr, "test", 4);
    FrameParams params{};
    frame_params_attach(&params, &lsf, &harm);
    EXPECT_EQ(params.lsf_codes, lsf.indexes);
    EXPECT_EQ(params.harm_code, harm.indexes);
    EXPECT_EQ(params.lsf_stage_count, kLsfStages);
    EXPECT_EQ(params.lsf_stage_bits[3], 6);
    EXPECT_EQ(params.lsf_stage_levels[0], 128);
    vq_description_release(&harm);
    vq_description_release(&lsf);
    EXPECT_EQ(lsf.levels, nullptr);
    EXPECT_EQ(lsf.indexes, nullptr);
    EXPECT_EQ(lsf.bits, nullptr);
    vq_description_release(&lsf);  // releasing twice is harmless
}

}  // namespace
