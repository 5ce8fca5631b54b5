#include "pred_to_refl.h"

#include <gtest/gtest.h>

#include "lpc_lib.h"
#include "melp_types.h"

namespace {

TEST(PredToReflTest, UndoesTheStepUpRecursion) {
    const float refl[kLpcOrder + 1] = {0.0f,  -0.9f, 0.7f,  -0.5f, 0.3f,  -0.2f,
                                       0.15f, -0.1f, 0.05f, 0.02f, -0.01f};
    float a[kLpcOrder + 1] = {1.0f};
    refl_to_pred(refl, a, kLpcOrder);
    float k[kLpcOrder + 1] = {};
    k[0] = 123.0f;
    pred_to_refl(a, k, kLpcOrder);
    EXPECT_EQ(k[0], 123.0f);
    for (int i = 1; i <= kLpcOrder; i++) EXPECT_NEAR(k[i], refl[i], 1e-5) << "k " << i;
}

TEST(PredToReflTest, FirstOrderIsTheCoefficientItself) {
    const float a[2] = {1.0f, 0.4f};
    float k[2] = {};
    pred_to_refl(a, k, 1);
    EXPECT_FLOAT_EQ(k[1], 0.4f);
}

}  // namespace
