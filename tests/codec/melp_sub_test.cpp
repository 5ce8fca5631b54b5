#include "melp_sub.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "low_mips.h"

namespace {

const double kPi = std::acos(-1.0);

// A periodic signal with a pulse every period samples, slightly smoothed so that fractional
// refinements see a well-formed peak.
std::vector<float> pulse_train(int length, int period, float amplitude) {
    std::vector<float> x(static_cast<std::size_t>(length), 0.0f);
    for (int i = 0; i < length; i++) {
        const int phase = i % period;
        if (phase == 0) x[i] = amplitude;
        if (phase == 1 || phase == period - 1) x[i] = amplitude / 2;
    }
    return x;
}

std::vector<float> noise(int length, float amplitude, unsigned seed) {
    std::vector<float> x(static_cast<std::size_t>(length));
    for (float& v : x) {
        seed = seed * 1103515245u + 12345u;
        v = amplitude * (static_cast<float>((seed >> 8) & 0xffff) / 32768.0f - 1.0f);
    }
    return x;
}

TEST(DcBlock, RemovesAConstantAndPassesSpeechFrequencies) {
    float mem[kDcOrder] = {};
    std::vector<float> out(kFrameLength);
    const std::vector<float> dc(kFrameLength, 1000.0f);
    for (int frame = 0; frame < 20; frame++) dc_block(dc.data(), out.data(), mem, kFrameLength);
    // At least 27 dB down: below 1000 * 10^(-27/20).
    for (float v : out) EXPECT_LT(std::fabs(v), 44.7f);

    float sine_mem[kDcOrder] = {};
    std::vector<float> sine(kFrameLength);
    for (int frame = 0; frame < 10; frame++) {
        for (int i = 0; i < kFrameLength; i++) {
            sine[i] = 1000.0f * static_cast<float>(std::sin(2 * kPi * 1000.0 / 8000.0 *
                                                            (frame * kFrameLength + i)));
        }
        dc_block(sine.data(), out.data(), sine_mem, kFrameLength);
    }
    float peak = 0.0f;
    for (float v : out) peak = std::fmax(peak, std::fabs(v));
    EXPECT_NEAR(peak, 1000.0f, 30.0f);
}

TEST(DcBlock, SplitBlocksContinueTheFilterExactly) {
    const std::vector<float> x = noise(2 * kFrameLength, 3000.0f, 7);
    float whole_mem[kDcOrder] = {};
    std::vector<float> whole(2 * kFrameLength);
    // Longer than a frame: the scratch comes from the heap.
    dc_block(x.data(), whole.data(), whole_mem, 2 * kFrameLength);

    float split_mem[kDcOrder] = {};
    std::vector<float> split(2 * kFrameLength);
    dc_block(x.data(), split.data(), split_mem, kFrameLength);
    dc_block(x.data() + kFrameLength, split.data() + kFrameLength, split_mem, kFrameLength);
    for (int i = 0; i < 2 * kFrameLength; i++) EXPECT_FLOAT_EQ(split[i], whole[i]) << i;
    for (int k = 0; k < kDcOrder; k++) EXPECT_FLOAT_EQ(split_mem[k], whole_mem[k]);
}

TEST(FrameLogEnergy, CountsOnlyTheEvenSamplesAroundTheSilenceThreshold) {
    const double threshold = std::exp(13.0);
    std::vector<float> x(kFrameLength, 0.0f);
    for (int i = 1; i < kFrameLength; i += 2) x[i] = 30000.0f;  // odd samples do not count
    EXPECT_TRUE(std::isinf(frame_log_energy(x.data(), kFrameLength)));

    struct Case {
        double energy;
        bool passes;
    };
    for (const Case& c : {Case{threshold * 1.00001, true}, Case{threshold * 0.99999, false},
                          Case{threshold * 4.0, true}}) {
        const float even = static_cast<float>(std::sqrt(c.energy / (kFrameLength / 2)));
        for (int i = 0; i < kFrameLength; i += 2) x[i] = even;
        EXPECT_EQ(frame_log_energy(x.data(), kFrameLength) >= 13.0f, c.passes) << c.energy;
    }
    const float odd_length[3] = {2.0f, 100.0f, 3.0f};
    EXPECT_NEAR(frame_log_energy(odd_length, 3), std::log(13.0), 1e-6);
}

TEST(EnvelopeFilter, FollowsTheRecurrenceInPlaceAndApart) {
    const std::vector<float> x = {3.0f, -4.0f, 1.0f, 0.0f, -2.0f};
    const float prev = -1.0f;
    std::vector<float> apart = {0.5f, -0.25f, 0, 0, 0, 0, 0};  // two outputs in front
    std::vector<float> inplace = {0.5f, -0.25f, 3.0f, -4.0f, 1.0f, 0.0f, -2.0f};
    envelope_filter(x.data(), prev, apart.data() + 2, 5);
    envelope_filter(inplace.data() + 2, prev, inplace.data() + 2, 5);

    double y1 = -0.25, y2 = 0.5, last = std::fabs(prev);
    for (int i = 0; i < 5; i++) {
        const double y = std::fabs(x[i]) - last + 1.9266 * y1 - 0.9409 * y2;
        EXPECT_NEAR(apart[i + 2], y, 1e-4) << i;
        EXPECT_FLOAT_EQ(inplace[i + 2], apart[i + 2]) << i;
        last = std::fabs(x[i]);
        y2 = y1;
        y1 = apart[i + 2];
    }
}

TEST(Peakiness, IsHighForPulsesAndOneForAFlatSignal) {
    std::vector<float> impulse(160, 0.0f);
    impulse[80] = 5.0f;
    EXPECT_NEAR(peakiness(impulse.data(), 160), std::sqrt(160.0), 1e-4);
    const std::vector<float> flat(160, -2.0f);
    EXPECT_NEAR(peakiness(flat.data(), 160), 1.0, 1e-6);
    const std::vector<float> quiet(160, 0.00005f);  // magnitude sum 0.008
    EXPECT_EQ(peakiness(quiet.data(), 160), 0.0f);
}

TEST(GainMeasure, WindowSpansWholePeriodsCentredOnTheAnalysisPoint) {
    // A window of n samples centred on x sees ramp values -(n/2) .. n - n/2 - 1.
    std::vector<float> ramp(1001);
    for (int i = 0; i < 1001; i++) ramp[i] = static_cast<float>(i - 500);
    const float* centre = ramp.data() + 500;
    auto gain_of_window = [](int n) {
        double energy = 0.0;
        for (int i = -(n / 2); i < n - n / 2; i++) energy += static_cast<double>(i) * i;
        return 10.0 * std::log10(energy / n + 0.01);
    };
    struct Case {
        float len;
        float min_len;
        int window;
    };
    const Case cases[] = {
        {50.0f, 120.0f, 150},   // three periods
        {20.0f, 120.0f, 120},   // six periods
        {130.0f, 120.0f, 130},  // one period
        {119.2f, 0.0f, 119},    // unvoiced
        {400.0f, 120.0f, 200},  // beyond the longest window: halved
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(gain_measure(centre, c.len, c.min_len, 320), gain_of_window(c.window), 1e-3)
            << c.len;
    }
    const std::vector<float> silent(400, 0.0f);
    EXPECT_EQ(gain_measure(silent.data() + 200, 119.2f, 0.0f, 320), 0.0f);
    // A period of 0 must not loop forever.
    EXPECT_GE(gain_measure(centre, 0.0f, 120.0f, 320), 0.0f);
}

std::vector<float> harmonic_signal(float pitch, const std::vector<float>& amplitudes, int n) {
    std::vector<float> x(static_cast<std::size_t>(n), 0.0f);
    for (int i = 0; i < n; i++) {
        double sum = 0.0;
        for (std::size_t h = 0; h < amplitudes.size(); h++) {
            sum += amplitudes[h] * std::cos(2 * kPi * (h + 1) * i / pitch);
        }
        x[i] = static_cast<float>(sum);
    }
    return x;
}

TEST(HarmonicMagnitudes, MeasuresHarmonicsWithUnitRms) {
    const std::vector<float> x = harmonic_signal(50.0f, {1, 2, 1, 1, 1, 1, 1, 1, 1, 1}, 200);
    float mag[kHarmonics];
    harmonic_magnitudes(x.data(), mag, 50.0f, kHarmonics, 200);
    double square_sum = 0.0;
    for (float m : mag) square_sum += m * m;
    EXPECT_NEAR(square_sum / kHarmonics, 1.0, 1e-3);
    for (int h = 0; h < kHarmonics; h++) {
        if (h == 1) continue;
        EXPECT_NEAR(mag[1] / mag[h], 2.0, 0.3) << h;
    }
}

TEST(HarmonicMagnitudes, ShortPitchesMeasureFewerHarmonics) {
    const std::vector<float> x = harmonic_signal(30.0f, {1, 3, 1, 1, 1, 1, 1}, 200);
    float mag[kHarmonics];
    harmonic_magnitudes(x.data(), mag, 30.0f, kHarmonics, 200);
    double square_sum = 0.0;
    for (int h = 0; h < 7; h++) square_sum += mag[h] * mag[h];
    EXPECT_NEAR(square_sum / 7, 1.0, 1e-3);
    EXPECT_GT(mag[1], 2.0f * mag[0]);
    for (int h = 7; h < kHarmonics; h++) EXPECT_EQ(mag[h], 1.0f) << h;

    const std::vector<float> silent(200, 0.0f);
    harmonic_magnitudes(silent.data(), mag, 60.0f, kHarmonics, 200);
    for (float m : mag) EXPECT_NEAR(m, 0.0f, 1e-3);
}

class VoicingAnalysisTest : public ::testing::Test {
  protected:
    void SetUp() override { voicing_init(&mem_); }
    void TearDown() override {
        voicing_release(&mem_);
        set_low_mips(0);
    }

    // Runs frames of x (kAnalysisWindow samples each, the window advancing by a frame).
    void analyse(const std::vector<float>& x, float cand0, float cand1) {
        const float cand[kPitchCandidates] = {cand0, cand1};
        for (std::size_t start = 0; start + kAnalysisWindow <= x.size(); start += kFrameLength) {
            voicing_analysis(&mem_, x.data() + start + kAnalysisHalfWindow, cand, voicing_,
                             &sub_pitch_);
        }
    }

    VoicingMemory mem_{};
    float voicing_[kVoicingBands] = {};
    float sub_pitch_ = 0.0f;
};

TEST_F(VoicingAnalysisTest, PeriodicSignalIsVoicedAtItsPeriod) {
    analyse(pulse_train(kAnalysisWindow + 4 * kFrameLength, 40, 3000.0f), 41.0f, 75.0f);
    EXPECT_NEAR(sub_pitch_, 40.0f, 0.5f);
    for (int band = 0; band < kVoicingBands; band++) EXPECT_GT(voicing_[band], 0.8f) << band;
}

TEST_F(VoicingAnalysisTest, NoiseIsUnvoiced) {
    analyse(noise(kAnalysisWindow + 4 * kFrameLength, 3000.0f, 11), 50.0f, 50.0f);
    for (int band = 0; band < kVoicingBands; band++) EXPECT_LT(voicing_[band], 0.5f) << band;
}

TEST_F(VoicingAnalysisTest, LowMipsDerivesUpperBandsAndLeavesTheirMemories) {
    const std::vector<float> x = pulse_train(kAnalysisWindow + 4 * kFrameLength, 40, 3000.0f);
    analyse(x, 40.0f, 40.0f);
    const std::vector<float> upper_before(mem_.band_mem[1],
                                          mem_.band_mem[1] + 4 * kBandFilterOrder);
    const float env_before = mem_.env_prev[3];
    const float band0_before = mem_.band_mem[0][0];

    set_low_mips(1);
    analyse(x, 40.0f, 40.0f);
    EXPECT_FLOAT_EQ(voicing_[1], voicing_[0] - 0.1f);
    EXPECT_FLOAT_EQ(voicing_[2], voicing_[0] - 0.1f);
    EXPECT_FLOAT_EQ(voicing_[3], voicing_[0] - 0.2f);
    EXPECT_EQ(voicing_[4], 0.0f);
    for (int i = 0; i < 4 * kBandFilterOrder; i++) {
        EXPECT_EQ(mem_.band_mem[1][i], upper_before[i]) << i;
    }
    EXPECT_EQ(mem_.env_prev[3], env_before);
    EXPECT_NE(mem_.band_mem[0][0], band0_before);
}

}  // namespace

namespace {

// Band analysis of the windows starting at the given frames, either continuing from the last
// run's shared samples or made to filter every window whole.
struct BandRun {
    std::vector<float> voicing;
    std::vector<float> band_mem;
    float sub_pitch = 0.0f;
};

BandRun run_bands(const std::vector<float>& x, const std::vector<int>& frames, bool whole) {
    VoicingMemory mem{};
    voicing_init(&mem);
    const float cand[kPitchCandidates] = {43.0f, 44.0f};
    BandRun run;
    float voicing[kVoicingBands] = {};
    for (int frame : frames) {
        if (whole) {
            // A kept input that matches no window forces the full filter.
            for (int band = 0; band < kVoicingBands; band++)
                mem.band_input[band][kFrameLength] += 1;
        }
        voicing_analysis(&mem, x.data() + frame * kFrameLength + kAnalysisHalfWindow, cand, voicing,
                         &run.sub_pitch);
        run.voicing.insert(run.voicing.end(), voicing, voicing + kVoicingBands);
    }
    run.band_mem.assign(mem.band_mem[0], mem.band_mem[0] + kVoicingBands * kBandFilterOrder);
    voicing_release(&mem);
    return run;
}

}  // namespace

TEST(BandFilterReuse, SharedSamplesGiveTheSameResultsAsWholeWindows) {
    std::vector<float> x = pulse_train(kAnalysisWindow + 8 * kFrameLength, 43, 3000.0f);
    const std::vector<float> hiss = noise(static_cast<int>(x.size()), 500.0f, 5);
    for (std::size_t i = 0; i < x.size(); i++) x[i] += hiss[i];
    const struct {
        const char* name;
        std::vector<int> frames;
    } cases[] = {
        {"consecutive frames", {0, 1, 2, 3, 4, 5}},
        {"a frame left out, as in quiet frames", {0, 1, 3, 4}},
        {"the same window twice", {2, 2, 3}},
    };
    for (const auto& c : cases) {
        const BandRun reused = run_bands(x, c.frames, false);
        const BandRun whole = run_bands(x, c.frames, true);
        EXPECT_EQ(reused.voicing, whole.voicing) << c.name;
        EXPECT_EQ(reused.band_mem, whole.band_mem) << c.name;
        EXPECT_EQ(reused.sub_pitch, whole.sub_pitch) << c.name;
    }
}
