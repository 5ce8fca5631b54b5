#include "codec_state.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

namespace {

bool all_equal(const float* x, int n, float value) {
    for (int i = 0; i < n; i++) {
        if (x[i] != value) return false;
    }
    return true;
}

// Dirties every field so that a reset has something to undo.
void scribble(CodecState* block) {
    CodecState* link = block->prev;
    std::memset(static_cast<void*>(block), 0x5a, sizeof(CodecState));
    block->prev = link;
}

void expect_reset_values(const CodecState& state) {
    const CodecState& prev = *state.prev;
    EXPECT_EQ(prev.gain[0], 0.0f);
    EXPECT_EQ(prev.gain[1], 0.0f);
    EXPECT_EQ(prev.pitch, 50.0f);
    EXPECT_EQ(prev.jitter, 0.0f);
    EXPECT_TRUE(all_equal(prev.voicing, kVoicingBands, 0.0f));
    EXPECT_TRUE(all_equal(prev.harm_mag, kHarmonics, 1.0f));
    // Evenly spaced k/11, accumulated step by step.
    float expected = 0.0f;
    EXPECT_EQ(prev.lsf[0], 0.0f);
    for (int k = 1; k <= kLpcOrder; k++) {
        expected += 1.0f / 11.0f;
        EXPECT_EQ(prev.lsf[k], expected) << "lsf " << k;
        EXPECT_NEAR(prev.lsf[k], k / 11.0, 1e-6);
    }

    EXPECT_TRUE(all_equal(state.prev_pulse_mix, kMixTaps, 0.0f));
    for (int n = 0; n < kMixTaps; n++) {
        EXPECT_EQ(state.prev_noise_mix[n], n == 16 ? 1.0f : 0.0f) << "tap " << n;
    }
    EXPECT_EQ(state.last_tilt, 0.0f);
    EXPECT_EQ(state.last_scale, 0.0f);
    EXPECT_EQ(state.pending, 0);
    EXPECT_EQ(state.noise_level, 10.0f);
    EXPECT_EQ(state.first_frame, 1);
    EXPECT_TRUE(all_equal(state.overflow, kOverflowSize, 0.0f));
    EXPECT_TRUE(all_equal(state.pulse_hist, kMixOrder, 0.0f));
    EXPECT_TRUE(all_equal(state.noise_hist, kMixOrder, 0.0f));
    EXPECT_TRUE(all_equal(state.lpc_hist, kLpcOrder, 0.0f));
    EXPECT_TRUE(all_equal(state.ase_hist, kLpcOrder, 0.0f));
    EXPECT_TRUE(all_equal(state.tilt_hist, 1, 0.0f));
    EXPECT_TRUE(all_equal(state.disp_hist, kDispersionOrder, 0.0f));
    EXPECT_TRUE(all_equal(state.period_buf, kPeriodHistory + kMaxPeriod, 0.0f));
    EXPECT_TRUE(all_equal(state.noise_buf, kNoiseHistory + kMaxPeriod, 0.0f));
    EXPECT_TRUE(all_equal(state.harm_buf, kMaxPeriod, 0.0f));
    EXPECT_TRUE(all_equal(state.refl_work, kReflWorkSize, 0.0f));
    // The current block's own parameters start at zero too.
    EXPECT_EQ(state.pitch, 0.0f);
    EXPECT_EQ(state.chan_word, nullptr);
    EXPECT_EQ(state.harm_code, nullptr);
}

TEST(CodecStateTest, CreateLinksTwoDistinctBlocksAndResetsThem) {
    CodecStatePtr state(codec_state_create());
    ASSERT_NE(state, nullptr);
    ASSERT_NE(state->prev, nullptr);
    EXPECT_NE(state->prev, state.get());
    expect_reset_values(*state);
}

TEST(CodecStateTest, ResetRestoresEveryStartValueAndKeepsTheLink) {
    CodecStatePtr state(codec_state_create());
    ASSERT_NE(state, nullptr);
    CodecState* prev = state->prev;
    scribble(state.get());
    scribble(prev);

    codec_state_reset(state.get());

    EXPECT_EQ(state->prev, prev);
    expect_reset_values(*state);
}

TEST(CodecStateTest, ResetLeavesThePreviousBlocksSignalFieldsAlone) {
    CodecStatePtr state(codec_state_create());
    ASSERT_NE(state, nullptr);
    CodecState* prev = state->prev;
    prev->pending = 321;
    prev->noise_level = 42.0f;
    prev->lsf_stage_count = 7;
    prev->overflow[5] = 3.0f;

    codec_state_reset(state.get());

    EXPECT_EQ(prev->pending, 321);
    EXPECT_EQ(prev->noise_level, 42.0f);
    EXPECT_EQ(prev->lsf_stage_count, 7);
    EXPECT_EQ(prev->overflow[5], 3.0f);
}

TEST(CodecStateTest, DestroyAcceptsNull) { codec_state_destroy(nullptr); }

}  // namespace
