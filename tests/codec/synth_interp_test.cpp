#include "synth_interp.h"

#include <gtest/gtest.h>

namespace {

TEST(InterpVectorsTest, BlendsFromFirstToSecond) {
    const float a[3] = {0.0f, 10.0f, -4.0f};
    const float b[3] = {1.0f, 20.0f, 4.0f};
    const struct {
        float x;
        float expected[3];
    } cases[] = {
        {0.0f, {0.0f, 10.0f, -4.0f}},
        {1.0f, {1.0f, 20.0f, 4.0f}},
        {0.25f, {0.25f, 12.5f, -2.0f}},
    };
    for (const auto& c : cases) {
        float out[3];
        interp_vectors(a, b, c.x, out, 3);
        for (int i = 0; i < 3; i++) EXPECT_FLOAT_EQ(out[i], c.expected[i]) << "x " << c.x;
    }
}

TEST(InterpVectorsTest, OutputMayBeAnInput) {
    float a[2] = {2.0f, 4.0f};
    const float b[2] = {4.0f, 8.0f};
    interp_vectors(a, b, 0.5f, a, 2);
    EXPECT_FLOAT_EQ(a[0], 3.0f);
    EXPECT_FLOAT_EQ(a[1], 6.0f);
}

TEST(BoundedRampTest, FlatOutsideLinearInside) {
    const struct {
        float x;
        float expected;
    } cases[] = {
        {-100.0f, 0.0f}, {22.0f, 0.0f}, {31.0f, 0.5f}, {40.0f, 1.0f}, {90.0f, 1.0f},
    };
    for (const auto& c : cases) {
        EXPECT_FLOAT_EQ(bounded_ramp(c.x, 22.0f, 40.0f, 0.0f, 1.0f), c.expected) << "x " << c.x;
    }
}

}  // namespace
