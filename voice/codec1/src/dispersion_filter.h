// Pulse dispersion: spreads each synthesized pitch pulse over the period.
#pragma once

#include "codec_state.h"

// kDispersionOrder + 1 taps with sum 1 and energy 1.
extern const float dispersion_filter[kDispersionOrder + 1];
