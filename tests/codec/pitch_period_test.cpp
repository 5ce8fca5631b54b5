#include "pitch_period.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "low_mips.h"

namespace {

constexpr float kFormantLsfs[kLpcOrder + 1] = {0.0f,  0.06f, 0.1f, 0.2f,  0.25f, 0.4f,
                                               0.45f, 0.6f,  0.7f, 0.85f, 0.9f};

// A decoder in the middle of a steady voiced stretch: both blocks carry the same parameters,
// the pulse passes the mixing unchanged and no noise is mixed in, so a period is determined
// by its parameters alone.
class PitchPeriodTest : public ::testing::Test {
  protected:
    void SetUp() override {
        set_low_mips(0);
        state_.reset(codec_state_create());
        ASSERT_NE(state_, nullptr);
        CodecState* s = state_.get();
        for (CodecState* block : {s, s->prev}) {
            block->pitch = 60.0f;
            block->jitter = 0.0f;
            block->gain[0] = block->gain[1] = 50.0f;
            for (int k = 0; k <= kLpcOrder; k++) block->lsf[k] = kFormantLsfs[k];
            for (float& m : block->harm_mag) m = 1.0f;
        }
        s->noise_level = 20.0f;
        s->last_scale = 1.0f;
        frame_ = FrameSynthValues{};
        frame_.pulse_mix[0] = 1.0f;
        for (float& tap : s->prev_pulse_mix) tap = 0.0f;
        for (float& tap : s->prev_noise_mix) tap = 0.0f;
        s->prev_pulse_mix[0] = 1.0f;
        for (float& v : s->overflow) v = kSentinel;
        for (float& v : out_) v = kSentinel;
    }
    void TearDown() override { set_low_mips(0); }

    int run_period(int start) {
        state_->pending = start;
        synth_period(state_.get(), frame_, out_);
        return state_->pending - start;
    }

    static constexpr float kSentinel = std::numeric_limits<float>::quiet_NaN();
    CodecStatePtr state_;
    FrameSynthValues frame_;
    float out_[kFrameLength];
};

TEST_F(PitchPeriodTest, PeriodsEndingAtTheFrameEndLeaveNothingOver) {
    int pending = 0;
    for (int i = 0; i < 3; i++) pending += run_period(pending);
    EXPECT_EQ(pending, kFrameLength);
    for (float v : out_) EXPECT_TRUE(std::isfinite(v));
    for (float v : state_->overflow) EXPECT_TRUE(std::isnan(v));
}

TEST_F(PitchPeriodTest, APeriodPastTheFrameEndGoesToOverflow) {
    EXPECT_EQ(run_period(150), 60);
    EXPECT_EQ(state_->pending, 210);
    for (int i = 0; i < 150; i++) EXPECT_TRUE(std::isnan(out_[i]));
    for (int i = 150; i < kFrameLength; i++) EXPECT_TRUE(std::isfinite(out_[i]));
    for (int i = 0; i < 30; i++) EXPECT_TRUE(std::isfinite(state_->overflow[i]));
    for (int i = 30; i < kOverflowSize; i++) EXPECT_TRUE(std::isnan(state_->overflow[i]));
}

TEST_F(PitchPeriodTest, LengthsAreLimitedTo20Through160) {
    const struct {
        float pitch;
        int bound;
    } cases[] = {{20.0f, 20}, {160.0f, 160}};
    for (const auto& c : cases) {
        state_->pitch = state_->prev->pitch = c.pitch;
        // Far more jitter than the quantizer allows pushes the length past both limits.
        state_->jitter = state_->prev->jitter = 1.0f;
        int at_bound = 0;
        for (int i = 0; i < 200; i++) {
            const int length = run_period(0);
            EXPECT_GE(length, 20);
            EXPECT_LE(length, 160);
            at_bound += length == c.bound ? 1 : 0;
        }
        EXPECT_GT(at_bound, 20) << "pitch " << c.pitch;
    }
}

TEST_F(PitchPeriodTest, GainJumpHoldsTheOldPitchWhileTheGainIsStillOld) {
    const struct {
        const char* name;
        float new_gain;
        int expected_length;
    } cases[] = {
        // Old 20 dB at the period's start: the parameters stay at the previous frame's.
        {"jump of 30 dB", 50.0f, 100},
        // A sixth into the frame: 5/6 of 100 plus 1/6 of 40.
        {"jump of 6 dB follows time", 26.0f, 90},
    };
    for (const auto& c : cases) {
        state_->prev->pitch = 100.0f;
        state_->pitch = 40.0f;
        state_->prev->gain[1] = 20.0f;
        state_->gain[0] = 20.0f;
        state_->gain[1] = c.new_gain;
        EXPECT_EQ(run_period(30), c.expected_length) << c.name;
    }
}

TEST_F(PitchPeriodTest, LowMipsPulseIsOneImpulseAtTenWithoutDispersion) {
    set_low_mips(1);
    state_->pitch = state_->prev->pitch = 20.0f;
    ASSERT_EQ(run_period(0), 20);
    // The last 32 mixing inputs end with the 20-sample period; its impulse sits at index 10.
    for (int i = 0; i < kMixOrder; i++) {
        EXPECT_NEAR(state_->pulse_hist[i], i == 22 ? 1000.0 * std::sqrt(20.0) : 0.0, 1e-3)
            << "input " << i;
    }
    for (float v : state_->disp_hist) EXPECT_EQ(v, 0.0f);

    set_low_mips(0);
    run_period(0);
    double dispersion_energy = 0.0;
    for (float v : state_->disp_hist) dispersion_energy += static_cast<double>(v) * v;
    EXPECT_GT(dispersion_energy, 0.0);
}

TEST_F(PitchPeriodTest, EnhancementIsOffNearTheNoiseAndOnForLoudSpeech) {
    set_low_mips(1);
    state_->pitch = state_->prev->pitch = 20.0f;
    const double pulse = 1000.0 * std::sqrt(20.0);
    const struct {
        const char* name;
        float gain;
        bool shaped;
    } cases[] = {{"at noise + 12 dB", 32.0f, false}, {"at noise + 30 dB", 50.0f, true}};
    for (const auto& c : cases) {
        for (float& v : state_->ase_hist) v = 0.0f;
        state_->tilt_hist[0] = 0.0f;
        state_->gain[0] = state_->gain[1] = state_->prev->gain[1] = c.gain;
        state_->last_tilt = frame_.tilt = -0.4f;
        ASSERT_EQ(run_period(0), 20);
        // Unshaped, the pole filter's last outputs are the bare impulse and zeros.
        double tail = 0.0;
        for (int i = 1; i < kLpcOrder; i++) tail += std::fabs(state_->ase_hist[i]);
        if (c.shaped) {
            EXPECT_GT(tail, 1.0) << c.name;
        } else {
            EXPECT_NEAR(state_->ase_hist[0], pulse, 1e-3) << c.name;
            EXPECT_EQ(tail, 0.0) << c.name;
        }
    }
}

}  // namespace
