// Test helper: the decoder and encoder tables, started once for a whole test program in the
// library's order and stopped at its end.
#pragma once

#include <gtest/gtest.h>

#include "melp_ana.h"
#include "melp_syn.h"

class CodecEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        synth_startup();
        encoder_startup();
    }
    void TearDown() override {
        synth_shutdown();
        encoder_shutdown();
    }
};

// Include in one file of a test program only.
inline const ::testing::Environment* const codec_environment =
    ::testing::AddGlobalTestEnvironment(new CodecEnvironment);
