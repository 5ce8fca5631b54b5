// The codevectors the coder's codebooks begin with; training keeps them as they are.
#pragma once

#include "melp_types.h"

constexpr float kLsfStage1FirstHz[kLpcOrder] = {355.243f, 492.66f,  635.386f, 980.348f, 1837.26f,
                                                2145.0f,  2413.63f, 2740.71f, 3093.75f, 3368.61f};
constexpr float kLsfStage2FirstHz[kLpcOrder] = {-1.08348f, -11.5784f, 2.30632f,  -13.9963f,
                                                -69.4563f, 37.7664f,  -72.5551f, -159.216f,
                                                -339.819f, -152.119f};
constexpr float kHarmFirst[kHarmonics] = {0.822998f, 1.4963f,   0.584847f, 1.31351f, 0.846008f,
                                          0.614041f, 0.615298f, 0.881819f, 1.22733f, 0.902116f};
