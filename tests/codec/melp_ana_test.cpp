#include "melp_ana.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "codebooks.h"
#include "codec_state.h"
#include "frame_bits.h"
#include "low_mips.h"

// Fixture codebooks in place of the trained tables, in their stored units: vector 0 of the
// first two LSF stages and of the harmonic codebook as trained, the rest drawn at random
// (stage 1 ascending Hz values, stages 2 to 4 corrections of up to 150 Hz).
float lsf_codebook[kLsfCodebookSize];
float harm_codebook[kHarmCodebookSize];

namespace {

const double kPi = std::acos(-1.0);

const float kStage1Hz[kLpcOrder] = {355.243f, 492.66f,  635.386f, 980.348f, 1837.26f,
                                    2145.0f,  2413.63f, 2740.71f, 3093.75f, 3368.61f};
const float kStage2Hz[kLpcOrder] = {-1.08348f, -11.5784f, 2.30632f,  -13.9963f, -69.4563f,
                                    37.7664f,  -72.5551f, -159.216f, -339.819f, -152.119f};
const float kHarm0[kHarmonics] = {0.822998f, 1.4963f,   0.584847f, 1.31351f, 0.846008f,
                                  0.614041f, 0.615298f, 0.881819f, 1.22733f, 0.902116f};
constexpr int kStage1Vectors = 128;

// Filled before any test starts the encoder, which converts the tables once.
const bool codebooks_filled = [] {
    std::mt19937 rng(5);
    std::uniform_real_distribution<float> stage1(150.0f, 3700.0f);
    std::uniform_real_distribution<float> correction(-150.0f, 150.0f);
    std::uniform_real_distribution<float> magnitude(0.3f, 1.8f);
    for (int v = 0; v < kStage1Vectors; v++) {
        float* vector = lsf_codebook + v * kLpcOrder;
        for (int i = 0; i < kLpcOrder; i++) vector[i] = v == 0 ? kStage1Hz[i] : stage1(rng);
        std::sort(vector, vector + kLpcOrder);
    }
    for (int i = kStage1Vectors * kLpcOrder; i < kLsfCodebookSize; i++) {
        lsf_codebook[i] = correction(rng);
    }
    for (int i = 0; i < kLpcOrder; i++) lsf_codebook[kStage1Vectors * kLpcOrder + i] = kStage2Hz[i];
    for (int i = 0; i < kHarmCodebookSize; i++) {
        harm_codebook[i] = i < kHarmonics ? kHarm0[i] : magnitude(rng);
    }
    return true;
}();
constexpr int kVowelPeriod = 50;
constexpr double kFormantHz[] = {500.0, 1500.0, 2500.0};

// A steady vowel: a pulse train of period samples through three formant resonators.
std::vector<float> vowel(int length, double rms, int period = kVowelPeriod) {
    std::vector<double> x(static_cast<std::size_t>(length), 0.0);
    for (int i = 0; i < length; i += period) x[i] = 1.0;
    for (double hz : kFormantHz) {
        const double r = std::exp(-kPi * 100.0 / 8000.0);
        const double c1 = 2.0 * r * std::cos(2.0 * kPi * hz / 8000.0);
        double y1 = 0.0, y2 = 0.0;
        for (double& v : x) {
            const double y = v + c1 * y1 - r * r * y2;
            y2 = y1;
            y1 = y;
            v = y;
        }
    }
    double energy = 0.0;
    for (double v : x) energy += v * v;
    const double scale = rms / std::sqrt(energy / length);
    std::vector<float> out(x.size());
    for (std::size_t i = 0; i < x.size(); i++) out[i] = static_cast<float>(x[i] * scale);
    return out;
}

// Field bit b (0..53 of the frame's field list) of frame f, read back from the payload.
int field_bit(const VoicePacket& packet, int frame, int b) {
    int j = 0;
    while (bit_order[j] != b) j++;
    const int n = kBitsPerFrame * frame + j;
    return (packet.payload[n / 8] >> (n % 8)) & 1;
}

int field(const VoicePacket& packet, int frame, int first, int width) {
    int value = 0;
    for (int i = 0; i < width; i++) value |= field_bit(packet, frame, first + i) << i;
    return value;
}

constexpr int kSecondGainField = 0;
constexpr int kSyncField = 5;
constexpr int kFirstGainField = 6;
constexpr int kPitchField = 9;

class EncoderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        encoder_startup();
        params_ = codec_state_create();
        ASSERT_NE(params_, nullptr);
    }
    void TearDown() override {
        codec_state_destroy(params_);
        encoder_shutdown();
        set_low_mips(0);
    }

    // Codes consecutive frames of x through analyze_frame, checking each with inspect.
    template <typename Inspect>
    void code_frames(const std::vector<float>& x, Inspect inspect) {
        ChannelWords words = {};
        for (std::size_t f = 0; (f + 1) * kFrameLength <= x.size(); f++) {
            ChannelWord* word = words;
            int bit = 0;
            analyze_frame(params_, x.data() + f * kFrameLength, &word, &bit);
            EXPECT_EQ((word - words) * 8 + bit, kBitsPerFrame);
            inspect(static_cast<int>(f), *params_);
        }
    }

    CodecState* params_ = nullptr;
};

TEST_F(EncoderTest, DigitalSilenceGivesUnvoicedFramesAtTheLowestGains) {
    const std::vector<int16_t> silence(kSuperframeSamples, 0);
    VoicePacket settle{};
    // The highpass memory outlives restarts; let it forget earlier tests' signals.
    encode_superframe(&settle, params_, silence.data());
    for (int round = 0; round < 2; round++) {
        const int sync_before = sync_state();
        VoicePacket packet{};
        encode_superframe(&packet, params_, silence.data());
        for (int f = 0; f < kFramesPerSuperframe; f++) {
            EXPECT_EQ(field(packet, f, kPitchField, 7), 0) << f;  // the unvoiced pitch code
            EXPECT_EQ(field(packet, f, kSecondGainField, 5), 0) << f;
            EXPECT_LE(field(packet, f, kFirstGainField, 3), 1) << f;  // mean of 10 dB or 10 dB
            EXPECT_EQ(field_bit(packet, f, kSyncField), (sync_before + f + 1) % 2) << f;
        }
        EXPECT_EQ(params_->unvoiced, 1);
        EXPECT_FLOAT_EQ(params_->gain[0], 10.0f);
        EXPECT_FLOAT_EQ(params_->gain[1], 10.0f);
        EXPECT_EQ(sync_state(), (sync_before + kFramesPerSuperframe) % 2);
    }
}

TEST_F(EncoderTest, SuperframeFillsExactlyThePayload) {
    const std::vector<float> x = vowel(kSuperframeSamples, 3000.0);
    std::vector<int16_t> pcm(x.begin(), x.end());
    VoicePacket packets[3];
    std::memset(packets, 0x5a, sizeof(packets));
    encode_superframe(&packets[1], params_, pcm.data());

    const auto* bytes = reinterpret_cast<const uint8_t*>(packets);
    const std::size_t payload_start = sizeof(VoicePacket) + offsetof(VoicePacket, payload);
    int changed = 0;
    for (std::size_t i = 0; i < sizeof(packets); i++) {
        const bool in_payload = i >= payload_start && i < payload_start + kPayloadBytes;
        if (in_payload) {
            changed += bytes[i] != 0x5a;
        } else {
            EXPECT_EQ(bytes[i], 0x5a) << i;
        }
    }
    EXPECT_GT(changed, kPayloadBytes / 2);
}

TEST_F(EncoderTest, VowelIsVoicedAtItsPitchWithPlausibleLsfs) {
    int voiced = 0;
    code_frames(vowel(4 * kSuperframeSamples, 3000.0), [&](int frame, const FrameParams& p) {
        if (frame < 4) return;  // filters and pitch memory settle
        EXPECT_EQ(p.unvoiced, 0) << frame;
        voiced += p.unvoiced == 0;
        EXPECT_NEAR(p.pitch, kVowelPeriod, 0.03 * kVowelPeriod) << frame;
        EXPECT_EQ(p.voicing[0], 1.0f) << frame;
        EXPECT_GT(p.gain[1], 50.0f) << frame;
        EXPECT_EQ(p.lsf[0], 0.0f);
        EXPECT_GT(p.lsf[1], 0.0f);
        EXPECT_LT(p.lsf[kLpcOrder], 1.0f);
        for (int i = 1; i < kLpcOrder; i++) {
            EXPECT_GE(p.lsf[i + 1] - p.lsf[i], 0.99f * 0.0125f) << frame << " " << i;
        }
        // Each formant lies between two close LSFs.
        for (double hz : kFormantHz) {
            const double w = hz / 4000.0;
            int nearest = 1;
            for (int i = 2; i <= kLpcOrder; i++) {
                if (std::fabs(p.lsf[i] - w) < std::fabs(p.lsf[nearest] - w)) nearest = i;
            }
            EXPECT_NEAR(p.lsf[nearest], w, 0.04) << frame << " " << hz;
        }
    });
    EXPECT_EQ(voiced, 4 * kFramesPerSuperframe - 4);
}

TEST_F(EncoderTest, RestartZeroesTheHistoryAndKeepsTheCodebooksConverted) {
    code_frames(vowel(kSuperframeSamples, 3000.0, 70), [](int, const FrameParams&) {});
    const EncoderState* state = encoder_state();
    ASSERT_NE(state, nullptr);
    EXPECT_NEAR(state->pitch_avg.avg, 70.0f, 2.0f);

    ASSERT_TRUE(codebooks_filled);
    const float weights[kHarmonics] = {1.15518f, 1.11348f, 1.05193f, 0.97894f, 0.90193f,
                                       0.82616f, 0.75478f, 0.68931f, 0.63023f, 0.57741f};
    for (int round = 0; round < 3; round++) {
        encoder_shutdown();
        EXPECT_EQ(encoder_state(), nullptr);
        encoder_startup();
        state = encoder_state();
        ASSERT_NE(state, nullptr);
        for (float s : state->speech) EXPECT_EQ(s, 0.0f);
        EXPECT_EQ(state->pitch_avg.avg, 50.0f);
        EXPECT_EQ(state->frame_end.estimate[0], 50.0f);
        EXPECT_EQ(state->frame_end.estimate[1], 50.0f);
        for (int i = 0; i < kLpcOrder; i++) {
            EXPECT_NEAR(lsf_codebook[i], kStage1Hz[i] / 4000.0f, 1e-6) << round << " " << i;
            EXPECT_NEAR(lsf_codebook[kStage1Vectors * kLpcOrder + i], kStage2Hz[i] / 4000.0f, 1e-6);
            EXPECT_NEAR(harm_codebook[i], kHarm0[i] * weights[i], 1e-4) << round << " " << i;
        }
    }
}

TEST_F(EncoderTest, TrainingAnalysisOfSilenceAndOfAVowel) {
    TrainingFrame out{};
    const std::vector<float> silence(kFrameLength, 0.0f);
    // The highpass keeps ringing for a few frames after earlier tests' signals.
    for (int f = 0; f < 24; f++) analyze_frame_unquantized(silence.data(), &out);
    EXPECT_EQ(out.silent, 1);
    EXPECT_EQ(out.voiced, 0);
    for (float m : out.harm_mag) EXPECT_EQ(m, 1.0f);

    const std::vector<float> x = vowel(2 * kSuperframeSamples, 3000.0);
    for (int f = 0; f < 2 * kFramesPerSuperframe; f++) {
        analyze_frame_unquantized(x.data() + f * kFrameLength, &out);
    }
    EXPECT_EQ(out.silent, 0);
    EXPECT_EQ(out.voiced, 1);
    bool measured = false;
    for (float m : out.harm_mag) measured |= m != 1.0f;
    EXPECT_TRUE(measured);
    for (int i = 0; i < kLpcOrder; i++) {
        EXPECT_GT(out.lsf_weight[i], 0.0f) << i;
        EXPECT_TRUE(std::isfinite(out.lsf_weight[i])) << i;
        if (i == 0) continue;
        EXPECT_GE(out.lsf[i] - out.lsf[i - 1], 0.99f * 0.0125f) << i;
    }
    EXPECT_EQ(encoder_state()->frame_end.estimate[0], encoder_state()->frame_end.estimate[1]);
}

TEST_F(EncoderTest, LowMipsSkipsTheHarmonicAnalysis) {
    const std::vector<float> x = vowel(2 * kSuperframeSamples, 3000.0);
    set_low_mips(1);
    TrainingFrame out{};
    for (int f = 0; f < 2 * kFramesPerSuperframe; f++) {
        analyze_frame_unquantized(x.data() + f * kFrameLength, &out);
        if (f < 4) continue;
        EXPECT_EQ(out.voiced, 1) << f;
        for (float m : out.harm_mag) EXPECT_EQ(m, 1.0f) << f;
    }
}

TEST(FinalPitch, PeriodFortyFoundFromASubPitchOfEighty) {
    FinalPitch state{};
    final_pitch_init(&state);
    std::vector<float> x(kPitchSpan + 8 * kFrameLength, 0.0f);
    for (std::size_t i = 0; i < x.size(); i += 40) x[i] = 1000.0f;
    float pitch = 0.0f;
    float corr = 0.0f;
    // A few frames, so that the lowpass memory holds the same signal.
    for (int f = 0; f < 8; f++) {
        const float* centre = x.data() + f * kFrameLength + kPitchMax;
        pitch = final_pitch(&state, centre, centre, 80.0f, 50.0f, &corr);
    }
    EXPECT_NEAR(pitch, 40.0f, 1.0f);
    EXPECT_GT(corr, 0.8f);
    final_pitch_release(&state);
}

}  // namespace
