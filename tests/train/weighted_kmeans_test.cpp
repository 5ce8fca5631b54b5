#include "weighted_kmeans.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

constexpr KmeansOptions kFree{0, 50, 1.0e-6, 7u, nullptr};

// count points of dim 2 scattered by +-spread around each centre, cycling through the centres.
std::vector<float> clustered(const std::vector<float>& centres, int count, float spread) {
    std::mt19937 rng(3);
    std::uniform_real_distribution<float> jitter(-spread, spread);
    std::vector<float> points;
    const int clusters = static_cast<int>(centres.size() / 2);
    for (int n = 0; n < count; n++) {
        for (int i = 0; i < 2; i++) points.push_back(centres[(n % clusters) * 2 + i] + jitter(rng));
    }
    return points;
}

void sort_ascending(float* v, int dim) { std::sort(v, v + dim); }

TEST(WeightedKmeans, FindsWellSeparatedClusters) {
    const std::vector<float> centres = {0.0f, 0.0f, 10.0f, 0.0f, 0.0f, 10.0f, 10.0f, 10.0f};
    const std::vector<float> points = clustered(centres, 400, 0.5f);
    const WeightedSet set{points.data(), nullptr, 400, 2};
    float codebook[8];
    const double error = kmeans_train(set, codebook, 4, kFree);
    EXPECT_LT(error, 0.2);  // the jitter's own variance is 2 * 0.25 / 3
    for (int c = 0; c < 4; c++) {
        float d;
        nearest_codevector(codebook, 4, &centres[c * 2], nullptr, 2, &d);
        EXPECT_LT(d, 0.05f) << "centre " << c;
    }
}

TEST(WeightedKmeans, CentroidIsTheWeightedMeanOfEachElement) {
    const float points[] = {0.0f, 0.0f, 4.0f, 4.0f};
    const float weights[] = {3.0f, 1.0f, 1.0f, 3.0f};
    const WeightedSet set{points, weights, 2, 2};
    float codebook[2];
    kmeans_train(set, codebook, 1, kFree);
    EXPECT_FLOAT_EQ(codebook[0], 1.0f);
    EXPECT_FLOAT_EQ(codebook[1], 3.0f);
}

TEST(WeightedKmeans, FixedCodevectorsStayAndTrainedOnesObeyTheConstraint) {
    const std::vector<float> points = clustered({5.0f, 1.0f, 1.0f, 5.0f, 8.0f, 2.0f}, 300, 1.0f);
    const WeightedSet set{points.data(), nullptr, 300, 2};
    float codebook[8] = {3.0f, -7.0f};
    KmeansOptions opt = kFree;
    opt.fixed = 1;
    opt.constraint = sort_ascending;
    kmeans_train(set, codebook, 4, opt);
    EXPECT_EQ(codebook[0], 3.0f);
    EXPECT_EQ(codebook[1], -7.0f);
    for (int j = 1; j < 4; j++) EXPECT_LE(codebook[j * 2], codebook[j * 2 + 1]) << j;
}

TEST(WeightedKmeans, MoreCodevectorsThanDistinctPointsStillCodeEveryPoint) {
    // Seeding and re-seeding of empty cells must reach every distinct point.
    std::vector<float> points;
    for (int n = 0; n < 40; n++) points.push_back(static_cast<float>(n % 5));
    const WeightedSet set{points.data(), nullptr, 40, 1};
    float codebook[8];
    EXPECT_EQ(kmeans_train(set, codebook, 8, kFree), 0.0);
}

TEST(WeightedKmeans, SameSeedSameCodebook) {
    const std::vector<float> points = clustered({0.0f, 0.0f, 3.0f, 1.0f, 1.0f, 3.0f}, 200, 2.0f);
    const WeightedSet set{points.data(), nullptr, 200, 2};
    float a[10];
    float b[10];
    kmeans_train(set, a, 5, kFree);
    kmeans_train(set, b, 5, kFree);
    EXPECT_TRUE(std::equal(a, a + 10, b));
}

TEST(WeightedKmeans, EmptySetLeavesTheCodebookAlone) {
    float codebook[2] = {1.5f, 2.5f};
    const WeightedSet set{nullptr, nullptr, 0, 1};
    EXPECT_EQ(kmeans_train(set, codebook, 2, kFree), 0.0);
    EXPECT_EQ(codebook[0], 1.5f);
    EXPECT_EQ(codebook[1], 2.5f);
}

TEST(NearestCodevector, WeightsChooseAndTiesGoToTheFirst) {
    const float codebook[] = {1.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f};
    const float x[] = {0.0f, 0.0f};
    struct Case {
        float w[2];
        int nearest;
    };
    for (const Case& c : {Case{{1.0f, 1.0f}, 0}, Case{{1.0f, 2.0f}, 0}, Case{{2.0f, 1.0f}, 1}}) {
        float d;
        EXPECT_EQ(nearest_codevector(codebook, 3, x, c.w, 2, &d), c.nearest);
        EXPECT_FLOAT_EQ(d, std::min(c.w[0], c.w[1]));
    }
}

}  // namespace
